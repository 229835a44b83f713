#include "antennadiagram.h"
#include "frame.h"
#include "frmmoxon.h"
#include "testsuite.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTest>

Q_DECLARE_METATYPE(moxon::UiLanguage)

// Every caption and text of the window shows whole, in Chinese and in English: measured in its
// control's font, it fits the room its control draws it in and stays clear of every other
// control. CTest runs this at the scale factors 1, 1.5 and 2 (QT_SCALE_FACTOR), where glyphs
// are drawn at other sizes and hinted otherwise.

namespace moxon::test {

namespace {

// The style options the widgets themselves draw with; their initStyleOption is protected, but
// a pointer to it, taken through a derived class, is an ordinary member pointer of the base.
struct LineEditOptions : QLineEdit
{
    using QLineEdit::initStyleOption;
};
struct PushButtonOptions : QPushButton
{
    using QPushButton::initStyleOption;
};
struct RadioButtonOptions : QRadioButton
{
    using QRadioButton::initStyleOption;
};
struct ComboBoxOptions : QComboBox
{
    using QComboBox::initStyleOption;
};

// Where a control's caption or text goes, in the control's coordinates.
struct Placement
{
    QRect room; // what the control draws its text in
    QRect text; // the text, measured in the control's font
};

QRect centredIn(const QRect &room, const QSize &size, Qt::Alignment alignment)
{
    return QStyle::alignedRect(Qt::LeftToRight, alignment, size, room);
}

// Empty `text` for a control without a caption or text.
Placement place(const QWidget *control)
{
    const QFontMetrics metrics = control->fontMetrics();
    const QStyle *style = control->style();
    if (const auto *frame = dynamic_cast<const Frame *>(control)) {
        return {frame->rect(), frame->captionRect()};
    }
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect room = label->contentsRect();
        return {room, metrics.boundingRect(room, flags, label->text())};
    }
    if (const auto *option = qobject_cast<const QRadioButton *>(control)) {
        QStyleOptionButton options;
        (option->*&RadioButtonOptions::initStyleOption)(&options);
        const QRect room = style->subElementRect(QStyle::SE_RadioButtonContents, &options, option) &
                           option->rect();
        return {room, centredIn(room, metrics.size(Qt::TextShowMnemonic, option->text()),
                                Qt::AlignLeft | Qt::AlignVCenter)};
    }
    if (const auto *button = qobject_cast<const QPushButton *>(control)) {
        QStyleOptionButton options;
        (button->*&PushButtonOptions::initStyleOption)(&options);
        const QRect room = style->subElementRect(QStyle::SE_PushButtonContents, &options, button);
        return {room, centredIn(room, metrics.size(Qt::TextShowMnemonic, button->text()),
                                Qt::AlignCenter)};
    }
    if (const auto *box = qobject_cast<const QLineEdit *>(control)) {
        QStyleOptionFrame options;
        (box->*&LineEditOptions::initStyleOption)(&options);
        // The line edit keeps a margin of 2 pixels left and right and 1 above and below its
        // text inside the style's contents (qlineedit.cpp).
        const QRect room = style->subElementRect(QStyle::SE_LineEditContents, &options, box)
                               .marginsRemoved(box->textMargins())
                               .adjusted(2, 1, -2, -1);
        return {room, centredIn(room, metrics.size(0, box->text()), box->alignment())};
    }
    if (const auto *list = qobject_cast<const QComboBox *>(control)) {
        QStyleOptionComboBox options;
        (list->*&ComboBoxOptions::initStyleOption)(&options);
        const QRect room = style->subControlRect(QStyle::CC_ComboBox, &options,
                                                 QStyle::SC_ComboBoxEditField, list);
        // The widest entry, whichever the user picks.
        QSize widest;
        for (int i = 0; i < list->count(); ++i) {
            widest = widest.expandedTo(metrics.size(0, list->itemText(i)));
        }
        return {room, centredIn(room, widest, Qt::AlignLeft | Qt::AlignVCenter)};
    }
    return {};
}

QString describe(const QRect &rect)
{
    return QStringLiteral("%1,%2 %3x%4")
        .arg(rect.x())
        .arg(rect.y())
        .arg(rect.width())
        .arg(rect.height());
}

QList<QWidget *> designControls(const frmMoxon &window)
{
    QList<QWidget *> controls;
    for (QWidget *child : window.findChildren<QWidget *>()) {
        if (!child->objectName().isEmpty() && window.control(child->objectName()) == child) {
            controls.append(child);
        }
    }
    return controls;
}

} // namespace

class TestCaptionFit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // The run's scale factor is really in force, or the three runs test one thing.
        const frmMoxon window;
        const double factor = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                                  ? QString::fromLocal8Bit(qgetenv("QT_SCALE_FACTOR")).toDouble()
                                  : 1.0;
        QCOMPARE(window.devicePixelRatioF(), factor);
        QCOMPARE(window.logicalDpiX(), 96);
    }

    void captionShowsWhole_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<UiLanguage>("language");
        for (const UiLanguage language : {UiLanguage::Chinese, UiLanguage::English}) {
            const frmMoxon window(language);
            QCOMPARE(window.language(), language);
            for (const QWidget *control : designControls(window)) {
                if (!place(control).text.isEmpty()) {
                    QTest::addRow("%s %s", qPrintable(control->objectName()),
                                  qPrintable(uiLanguageName(language)))
                        << control->objectName() << language;
                }
            }
        }
    }
    void captionShowsWhole()
    {
        QFETCH(QString, control);
        QFETCH(UiLanguage, language);
        frmMoxon window(language);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QWidget *shown = window.control(control);
        const Placement placement = place(shown);
        QVERIFY2(placement.room.contains(placement.text) && shown->rect().contains(placement.room),
                 qPrintable(QStringLiteral("text %1 outside its room %2 in %3")
                                .arg(describe(placement.text), describe(placement.room),
                                     describe(shown->rect()))));

        // Clear of every other control, except a frame or the picture that it lies on whole.
        const QRect text(shown->mapTo(&window, placement.text.topLeft()), placement.text.size());
        for (const QWidget *other : designControls(window)) {
            if (other == shown || other->isAncestorOf(shown) || !other->isVisible()) {
                continue;
            }
            const QRect area(other->mapTo(&window, QPoint(0, 0)), other->size());
            const bool background = (qobject_cast<const QGroupBox *>(other) ||
                                     qobject_cast<const AntennaDiagram *>(other)) &&
                                    area.contains(text);
            QVERIFY2(background || !area.intersects(text),
                     qPrintable(QStringLiteral("text %1 runs into %2 at %3")
                                    .arg(describe(text), other->objectName(), describe(area))));
        }
    }
};

} // namespace moxon::test

MOXON_TEST_MAIN(moxon::test::TestCaptionFit)

#include "tst_captionfit.moc"
