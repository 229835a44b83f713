#include "dialogs.h"
#include "filedialoganswer.h"
#include "frmmoxon.h"
#include "testsuite.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace moxon::test {

namespace {

// How the stand-in user closes the next modal box or dialog.
enum class Reply
{
    Ok,
    Cancel,
    Escape,
    ChooseFile,   // Save As: take `path`
    CancelDialog, // Save As: cancel
};

struct ScriptedReply
{
    Reply reply = Reply::Ok;
    QString path = QString();
};

struct SeenBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    Qt::TextFormat format = Qt::AutoText;
};

// Answers the window's modal boxes and dialogs without a person: it looks for the active modal
// widget while the box's own event loop runs, notes what it shows and closes it as scripted.
// Boxes beyond the script are answered OK.
class ModalAnswerer : public QObject
{
public:
    explicit ModalAnswerer(QList<ScriptedReply> script = {})
        : m_script(std::move(script))
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
        m_timer.start(5);
    }

    QList<SeenBox> boxes;
    QStringList dialogSelections; // the path each Save As offered when it opened
    QStringList dialogFilters;

private:
    ScriptedReply next() { return m_script.isEmpty() ? ScriptedReply{} : m_script.takeFirst(); }

    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal); box && box->isVisible()) {
            boxes.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                          box->standardButton(box->defaultButton()), box->textFormat()});
            const ScriptedReply reply = next();
            QAbstractButton *button =
                box->button(reply.reply == Reply::Cancel ? QMessageBox::Cancel : QMessageBox::Ok);
            if (reply.reply == Reply::Escape || !button) {
                // A script that asks for a button the box lacks closes it as a user would.
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                button->click();
            }
        } else if (auto *dialog = qobject_cast<QFileDialog *>(modal);
                   dialog && dialog->isVisible()) {
            // The file name box as the user sees it when the dialog opens.
            const auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            const bool named = name && !name->text().isEmpty();
            dialogSelections.append(named ? QDir(dialog->directory()).filePath(name->text())
                                          : QString());
            dialogFilters.append(dialog->nameFilters().join(u';'));
            const ScriptedReply reply = next();
            if (reply.reply == Reply::ChooseFile) {
                moxon::test::chooseFile(dialog, reply.path);
            } else {
                dialog->reject();
            }
        }
    }

    QList<ScriptedReply> m_script;
    QTimer m_timer;
};

template<typename T = QWidget> T *widget(const frmMoxon &window, const char *name)
{
    auto *found = qobject_cast<T *>(window.control(QString::fromLatin1(name)));
    if (!found) {
        qFatal("no control %s of the expected kind", name);
    }
    return found;
}

QStringList results(const frmMoxon &window)
{
    QStringList texts;
    for (const char *name : {"txtA", "txtB", "txtC", "txtD", "txtE"}) {
        texts << widget<QLineEdit>(window, name)->text();
    }
    return texts;
}

QStringList unitLabels(const frmMoxon &window)
{
    QStringList texts;
    for (const char *name : {"lblA", "lblB", "lblC", "lblD", "lblE"}) {
        texts << widget<QLabel>(window, name)->text();
    }
    return texts;
}

// The text a control shows: a box's text, a caption, a frame's title or the chosen entry.
QString shownText(QWidget *control)
{
    if (auto *box = qobject_cast<QLineEdit *>(control)) {
        return box->text();
    }
    if (auto *label = qobject_cast<QLabel *>(control)) {
        return label->text();
    }
    if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        return button->text();
    }
    if (auto *frame = qobject_cast<QGroupBox *>(control)) {
        return frame->title();
    }
    if (auto *list = qobject_cast<QComboBox *>(control)) {
        return list->currentText();
    }
    return QStringLiteral("<no text>");
}

// Replaces a box's text the way a user does: select everything, type over it.
void retype(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

void clickOption(frmMoxon &window, const char *name)
{
    auto *option = widget<QRadioButton>(window, name);
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
}

int twips(int value)
{
    return qRound(value / 15.0);
} // at the tests' 96 dpi

const QStringList kStartupInches = {QStringLiteral("29.17"), QStringLiteral("4.05"),
                                    QStringLiteral("1.17"), QStringLiteral("5.56"),
                                    QStringLiteral("10.78")};

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The tests close many windows; none of them may end the test program.
        QApplication::setQuitOnLastWindowClosed(false);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        frmMoxon probe;
        QCOMPARE(probe.logicalDpiX(), 96); // the twips below assume 15 to the pixel
    }

    void startupShowsTheDesign_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        const QList<std::pair<const char *, QString>> rows = {
            {"Label1", QStringLiteral("工作频率")},
            {"txtFreq", QStringLiteral("146")},
            {"Label8", QStringLiteral("MHz")},
            {"Label2", QStringLiteral("线材尺寸")},
            {"txtWD", QStringLiteral("#12")},
            {"cboDiaUnits", QStringLiteral("AWG")},
            {"btnCalculate", QStringLiteral("&计     算")},
            {"Label9", QStringLiteral("A")},
            {"Label10", QStringLiteral("B")},
            {"Label11", QStringLiteral("C")},
            {"Label12", QStringLiteral("D")},
            {"Label13", QStringLiteral("E")},
            {"Label14", QStringLiteral(" 馈电点")},
            {"Label15", QStringLiteral("驱动      单元")},
            {"Label16", QStringLiteral("反射 单元")},
            {"Label3", QStringLiteral("A")},
            {"Label4", QStringLiteral("B")},
            {"Label5", QStringLiteral("C")},
            {"Label6", QStringLiteral("D")},
            {"Label7", QStringLiteral("E")},
            {"txtA", kStartupInches[0]},
            {"txtB", kStartupInches[1]},
            {"txtC", kStartupInches[2]},
            {"txtD", kStartupInches[3]},
            {"txtE", kStartupInches[4]},
            {"lblA", QStringLiteral("in")},
            {"lblB", QStringLiteral("in")},
            {"lblC", QStringLiteral("in")},
            {"lblD", QStringLiteral("in")},
            {"lblE", QStringLiteral("in")},
            {"Frame1", QString()},
            {"Frame2", QStringLiteral("单         位")},
            {"optFT", QStringLiteral("英 尺")},
            {"optIN", QStringLiteral("英  吋")},
            {"optM", QStringLiteral("米")},
            {"optMM", QStringLiteral("毫  米")},
            {"Frame3", QString()},
            {"btnModel", QStringLiteral("&导出仿真文件")},
            {"Frame4", QStringLiteral("仿真软件")},
            {"optEZNEC", QStringLiteral("EZNEC")},
            {"optNEC", QStringLiteral("NEC")},
            {"Frame5", QStringLiteral("极化方式")},
            {"optHorz", QStringLiteral("水平")},
            {"optVert", QStringLiteral("垂直")},
            {"Frame6", QStringLiteral("辐射方向")},
            {"optXaxis", QStringLiteral("在 X 轴上")},
            {"optYaxis", QStringLiteral("在 Y 轴上")},
            {"btnPrint", QStringLiteral("&打印")},
            {"btnClose", QStringLiteral("退出")},
        };
        for (const auto &[control, text] : rows) {
            QTest::newRow(control) << QString::fromLatin1(control) << text;
        }
    }
    void startupShowsTheDesign()
    {
        QFETCH(QString, control);
        QFETCH(QString, text);
        ModalAnswerer answerer;
        const frmMoxon window;
        QWidget *shown = window.control(control);
        QVERIFY(shown);
        QCOMPARE(shownText(shown), text);
        QVERIFY(answerer.boxes.isEmpty());
    }

    void startupSelections_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("selected");
        for (const char *name : {"optIN", "optEZNEC", "optHorz", "optXaxis"}) {
            QTest::newRow(name) << QString::fromLatin1(name) << true;
        }
        for (const char *name : {"optFT", "optM", "optMM", "optNEC", "optVert", "optYaxis"}) {
            QTest::newRow(name) << QString::fromLatin1(name) << false;
        }
    }
    void startupSelections()
    {
        QFETCH(QString, option);
        QFETCH(bool, selected);
        const frmMoxon window;
        QCOMPARE(qobject_cast<QRadioButton *>(window.control(option))->isChecked(), selected);
    }

    void startupWindow()
    {
        ModalAnswerer answerer;
        frmMoxon window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Moxon 方框天线计算器"));
        QTRY_VERIFY(!window.windowIcon().isNull()); // set once the window has been painted
        QCOMPARE(window.session().state().displayUnits, DisplayUnit::Inch);
        auto *units = widget<QComboBox>(window, "cboDiaUnits");
        QCOMPARE(units->count(), 3);
        QCOMPARE(units->itemText(0), QStringLiteral("in"));
        QCOMPARE(units->itemText(1), QStringLiteral("mm"));
        QCOMPARE(units->currentIndex(), 2);
        QCOMPARE(window.focusWidget(), window.control(QStringLiteral("txtFreq")));
        QVERIFY(widget<QPushButton>(window, "btnCalculate")->isDefault());
        QTest::qWait(20);
        QVERIFY(answerer.boxes.isEmpty());
    }

    // Enter in either input box presses btnCalculate: a valid input shows new results, an
    // invalid one the input message with the focus back in its box.
    void enterRunsCalculate_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("messageText");
        QTest::addColumn<QString>("wireSize");
        QTest::addColumn<QString>("resultA"); // in millimetres

        const QString frequencyMessage =
            QStringLiteral("Frequency must be a numeric value greater than 0.");
        QTest::newRow("Return in txtFreq") << u"txtFreq"_s << u"14.15"_s << int(Qt::Key_Return)
                                           << QString() << u"#12"_s << u"7721.8"_s;
        QTest::newRow("keypad Enter in txtFreq") << u"txtFreq"_s << u"14.15"_s << int(Qt::Key_Enter)
                                                 << QString() << u"#12"_s << u"7721.8"_s;
        QTest::newRow("Return in txtFreq, invalid")
            << u"txtFreq"_s << u"abc"_s << int(Qt::Key_Return) << frequencyMessage << u"#12"_s
            << u"741.0"_s;
        QTest::newRow("Return in txtWD, gauge without #")
            << u"txtWD"_s << u"12"_s << int(Qt::Key_Return) << QString() << u"#12"_s << u"741.0"_s;
        QTest::newRow("keypad Enter in txtWD, invalid gauge")
            << u"txtWD"_s << u"#41"_s << int(Qt::Key_Enter)
            << u"AWG wire size must be an integer value between 0 and 40."_s << u"41"_s
            << u"741.0"_s;
    }
    void enterRunsCalculate()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, messageText);
        QFETCH(QString, wireSize);
        QFETCH(QString, resultA);

        ModalAnswerer answerer;
        frmMoxon window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        clickOption(window, "optMM");
        QCOMPARE(widget<QLineEdit>(window, "txtA")->text(), QStringLiteral("741.0"));

        auto *input = qobject_cast<QLineEdit *>(window.control(box));
        retype(input, typed);
        const Qt::KeyboardModifiers modifiers =
            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(input, Qt::Key(key), modifiers);

        QCOMPARE(widget<QLineEdit>(window, "txtA")->text(), resultA);
        QCOMPARE(widget<QLineEdit>(window, "txtWD")->text(), wireSize);
        if (messageText.isEmpty()) {
            QVERIFY(answerer.boxes.isEmpty());
        } else {
            QCOMPARE(answerer.boxes.size(), 1);
            QCOMPARE(answerer.boxes[0].title, QStringLiteral("Invalid Entry"));
            QCOMPARE(answerer.boxes[0].text, messageText);
            QCOMPARE(window.focusWidget(), input);
        }
        QVERIFY(window.isVisible());
    }

    // Return on a focused command button presses that button, not the default one.
    void returnOnAButtonPressesIt()
    {
        ModalAnswerer answerer({{Reply::Ok}, {Reply::Cancel}});
        frmMoxon window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        retype(widget<QLineEdit>(window, "txtWD"), QStringLiteral("#41"));
        auto *print = widget<QPushButton>(window, "btnPrint");
        print->setFocus();
        QTest::keyClick(print, Qt::Key_Return);
        // The print command calculates first, then asks; Cancel brings the window back.
        QCOMPARE(answerer.boxes.size(), 2);
        QCOMPARE(answerer.boxes[1].title, confirmPrintMessage().title);
        QCOMPARE(window.width(), twips(9960));
        QVERIFY(widget<QPushButton>(window, "btnCalculate")->isVisible());
    }

    void escapeEndsWithoutQuestion_data()
    {
        QTest::addColumn<QString>("focus");
        for (const char *name :
             {"txtFreq", "txtWD", "cboDiaUnits", "btnCalculate", "optIN", "btnModel"}) {
            QTest::newRow(name) << QString::fromLatin1(name);
        }
    }
    void escapeEndsWithoutQuestion()
    {
        QFETCH(QString, focus);
        ModalAnswerer answerer;
        frmMoxon window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget *focused = window.control(focus);
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QTest::qWait(20);
        QVERIFY(answerer.boxes.isEmpty());
    }

    void closeButtonAndTitleBarClose()
    {
        ModalAnswerer answerer;
        frmMoxon byButton;
        byButton.show();
        QTest::mouseClick(widget<QPushButton>(byButton, "btnClose"), Qt::LeftButton);
        QVERIFY(!byButton.isVisible());

        frmMoxon byTitleBar;
        byTitleBar.show();
        QVERIFY(byTitleBar.close()); // what the window manager's close asks for
        QVERIFY(!byTitleBar.isVisible());
        QVERIFY(answerer.boxes.isEmpty());
    }

    // A unit option recalculates from the inputs as they stand, never converting the shown
    // numbers: an edited frequency shows only after the option, and inches come back exact.
    void editedFrequencyShowsAfterUnitOption()
    {
        ModalAnswerer answerer;
        frmMoxon window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        retype(widget<QLineEdit>(window, "txtFreq"), QStringLiteral("14.15"));
        QCOMPARE(results(window), kStartupInches);

        clickOption(window, "optMM");
        QCOMPARE(widget<QLineEdit>(window, "txtA")->text(), QStringLiteral("7721.8"));
        QCOMPARE(unitLabels(window), QStringList(5, QStringLiteral("mm")));
        auto *unit = widget<QLabel>(window, "lblA");
        QVERIFY(unit->width() >= unit->sizeHint().width()); // the unit label grew with its text

        retype(widget<QLineEdit>(window, "txtFreq"), QStringLiteral("146"));
        clickOption(window, "optIN");
        QCOMPARE(results(window), kStartupInches);
        QVERIFY(answerer.boxes.isEmpty());
    }

    void unitOptionsShowTheirUnit_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("unit");
        QTest::newRow("optFT") << u"optFT"_s
                               << QStringList{u"2.431"_s, u"0.337"_s, u"0.098"_s, u"0.463"_s,
                                              u"0.898"_s}
                               << u"ft"_s;
        QTest::newRow("optM") << u"optM"_s
                              << QStringList{u"0.7410"_s, u"0.1028"_s, u"0.0298"_s, u"0.1412"_s,
                                             u"0.2738"_s}
                              << u"m"_s;
        QTest::newRow("optMM") << u"optMM"_s
                               << QStringList{u"741.0"_s, u"102.8"_s, u"29.8"_s, u"141.2"_s,
                                              u"273.8"_s}
                               << u"mm"_s;
    }
    void unitOptionsShowTheirUnit()
    {
        QFETCH(QString, option);
        QFETCH(QStringList, expected);
        QFETCH(QString, unit);
        frmMoxon window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        clickOption(window, option.toLatin1().constData());
        QCOMPARE(results(window), expected);
        QCOMPARE(unitLabels(window), QStringList(5, unit));
        QCOMPARE(unitText(window.session().state().displayUnits), unit);
        clickOption(window, "optIN");
        QCOMPARE(results(window), kStartupInches);
    }

    // The model options change nothing in the window until the next export.
    void modelOptionsChangeNothingShown()
    {
        frmMoxon window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const char *name : {"optNEC", "optVert", "optYaxis"}) {
            clickOption(window, name);
            QVERIFY(widget<QRadioButton>(window, name)->isChecked());
        }
        QVERIFY(!widget<QRadioButton>(window, "optEZNEC")->isChecked());
        QVERIFY(widget<QRadioButton>(window, "optIN")->isChecked());
        QCOMPARE(results(window), kStartupInches);
        QCOMPARE(widget<QLineEdit>(window, "txtWD")->text(), QStringLiteral("#12"));
    }

    void resultBoxesRejectTyping_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("shown");
        const QStringList names = {u"txtA"_s, u"txtB"_s, u"txtC"_s, u"txtD"_s, u"txtE"_s};
        for (int i = 0; i < names.size(); ++i) {
            QTest::newRow(qPrintable(names[i])) << names[i] << kStartupInches[i];
        }
    }
    void resultBoxesRejectTyping()
    {
        QFETCH(QString, box);
        QFETCH(QString, shown);
        frmMoxon window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *result = qobject_cast<QLineEdit *>(window.control(box));
        QTest::mouseClick(result, Qt::LeftButton);
        QCOMPARE(window.focusWidget(), result);
        QTest::keyClicks(result, QStringLiteral("99"));
        QTest::keyClick(result, Qt::Key_Backspace);
        QTest::keyClick(result, Qt::Key_Delete);
        QApplication::clipboard()->setText(QStringLiteral("123"));
        QTest::keyClick(result, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(result, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(result->text(), shown);

        // Selectable and copyable all the same.
        QTest::keyClick(result, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(result, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), shown);
        QCOMPARE(result->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    }

    void wireUnitListTakesNoTextOfItsOwn()
    {
        frmMoxon window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *units = widget<QComboBox>(window, "cboDiaUnits");
        QVERIFY(!units->isEditable());
        QVERIFY(!units->lineEdit());
        units->setFocus();
        QTest::keyClicks(units, QStringLiteral("xyz"));
        QCOMPARE(units->currentText(), QStringLiteral("AWG"));
        QCOMPARE(units->count(), 3);
    }

    void windowCannotBeResized()
    {
        frmMoxon window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QSize design(twips(9960), twips(5640));
        QCOMPARE(window.size(), design);
        QCOMPARE(window.minimumSize(), design);
        QCOMPARE(window.maximumSize(), design);
        window.resize(900, 700);
        QCOMPARE(window.size(), design);
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void controlsSitAtTheirTwips_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("twipsRect"); // in the client area; empty size: not checked
        const QList<std::pair<const char *, QRect>> rows = {
            {"Frame1", {120, 120, 7695, 5415}},       {"txtFreq", {1200, 480, 855, 315}},
            {"txtWD", {3840, 480, 855, 315}},         {"cboDiaUnits", {4800, 480, 0, 0}},
            {"btnCalculate", {6240, 450, 1200, 375}}, {"Label8", {2160, 540, 495, 255}},
            {"Image1", {240, 1110, 5670, 4260}},      {"Label9", {2415, 1620, 0, 0}},
            {"Label13", {5385, 3375, 0, 0}},          {"Label15", {750, 2730, 660, 0}},
            {"txtA", {6360, 1200, 960, 285}},         {"txtC", {6360, 2400, 960, 285}},
            {"txtE", {6360, 3600, 960, 285}},         {"lblE", {7380, 3660, 0, 0}},
            {"Frame2", {6120, 4050, 1455, 1320}},     {"optMM", {6360, 5010, 0, 240}},
            {"Frame3", {8040, 120, 1815, 3855}},      {"btnModel", {8280, 450, 1335, 375}},
            {"Frame6", {8280, 2880, 1335, 855}},      {"optYaxis", {8400, 3360, 0, 255}},
            {"btnPrint", {8400, 4320, 1095, 495}},    {"btnClose", {8400, 5040, 1095, 495}},
        };
        for (const auto &[control, rect] : rows) {
            QTest::newRow(control) << QString::fromLatin1(control) << rect;
        }
    }
    void controlsSitAtTheirTwips()
    {
        QFETCH(QString, control);
        QFETCH(QRect, twipsRect);
        frmMoxon window;
        QWidget *shown = window.control(control);
        QCOMPARE(shown->mapTo(&window, QPoint(0, 0)),
                 QPoint(twips(twipsRect.left()), twips(twipsRect.top())));
        if (twipsRect.width() > 0) {
            QCOMPARE(shown->width(), twips(twipsRect.width()));
        }
        if (twipsRect.height() > 0) {
            QCOMPARE(shown->height(), twips(twipsRect.height()));
        }
    }

    // The ten letter labels in the bold of the caption face; every other control in its regular.
    void letterLabelsAreBold_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("bold");
        for (const char *name : {"Label3", "Label4", "Label5", "Label6", "Label7", "Label9",
                                 "Label10", "Label11", "Label12", "Label13"}) {
            QTest::newRow(name) << QString::fromLatin1(name) << true;
        }
        for (const char *name : {"Label1", "Label14", "Label15", "lblA"}) {
            QTest::newRow(name) << QString::fromLatin1(name) << false;
        }
    }
    void letterLabelsAreBold()
    {
        QFETCH(QString, label);
        QFETCH(bool, bold);
        const frmMoxon window;
        const QFont font = window.control(label)->font();
        QCOMPARE(font.bold(), bold);
        if (bold) {
            QCOMPARE(font.pointSizeF(), 8.25);
            QCOMPARE(font.family(), QString::fromUtf16(kCaptionFamily));
        }
        QVERIFY(!window.control(label)->autoFillBackground());
    }

    void tabOrder()
    {
        const frmMoxon window;
        const QStringList expected = {
            u"txtFreq"_s,  u"txtWD"_s,   u"cboDiaUnits"_s, u"btnCalculate"_s, u"optFT"_s,
            u"optIN"_s,    u"optM"_s,    u"optMM"_s,       u"btnModel"_s,     u"optEZNEC"_s,
            u"optNEC"_s,   u"optHorz"_s, u"optVert"_s,     u"optXaxis"_s,     u"optYaxis"_s,
            u"btnPrint"_s, u"btnClose"_s};
        QWidget *start = window.control(QStringLiteral("txtFreq"));
        QStringList stops;
        QWidget *current = start;
        do {
            if ((current->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
                window.isAncestorOf(current)) {
                stops << current->objectName();
            }
            current = current->nextInFocusChain();
        } while (current != start && stops.size() < 100);
        QCOMPARE(stops, expected);
    }

    void messageBoxStyles_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("reply");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("buttons");
        const int ok = QMessageBox::Ok;
        const int okCancel = QMessageBox::Ok | QMessageBox::Cancel;
        const int notice = int(MessageKind::Notice);
        const int question = int(MessageKind::Question);
        QTest::newRow("notice OK") << notice << int(Reply::Ok) << true << int(QMessageBox::NoIcon)
                                   << ok;
        QTest::newRow("notice Esc") << notice << int(Reply::Escape) << true
                                    << int(QMessageBox::NoIcon) << ok;
        QTest::newRow("question OK") << question << int(Reply::Ok) << true
                                     << int(QMessageBox::NoIcon) << okCancel;
        QTest::newRow("question Cancel") << question << int(Reply::Cancel) << false
                                         << int(QMessageBox::NoIcon) << okCancel;
        QTest::newRow("question Esc") << question << int(Reply::Escape) << false
                                      << int(QMessageBox::NoIcon) << okCancel;
        QTest::newRow("input error") << int(MessageKind::InputError) << int(Reply::Ok) << true
                                     << int(QMessageBox::Warning) << ok;
        QTest::newRow("failure") << int(MessageKind::Failure) << int(Reply::Ok) << true
                                 << int(QMessageBox::Warning) << ok;
        QTest::newRow("warning") << int(MessageKind::Warning) << int(Reply::Ok) << true
                                 << int(QMessageBox::Information) << ok;
    }
    void messageBoxStyles()
    {
        QFETCH(int, kind);
        QFETCH(int, reply);
        QFETCH(bool, answer);
        QFETCH(int, icon);
        QFETCH(int, buttons);
        frmMoxon window;
        ModalAnswerer answerer({{Reply(reply)}});
        const QString text = QStringLiteral("Model written to file '<b>/tmp/a&b.nec</b>'.");
        QCOMPARE(showMessageBox({MessageKind(kind), QStringLiteral("Title"), text}, &window),
                 answer);
        QCOMPARE(answerer.boxes.size(), 1);
        const SeenBox &box = answerer.boxes.first();
        QCOMPARE(box.title, QStringLiteral("Title"));
        QCOMPARE(box.text, text);
        QCOMPARE(box.format, Qt::PlainText); // a file name is never read as markup
        QCOMPARE(int(box.icon), icon);
        QCOMPARE(int(box.buttons), buttons);
        QCOMPARE(box.defaultButton, QMessageBox::Ok);
    }

    // What the user types reaches the calculation, and what it writes back shows at once.
    void typedInputsReachTheCalculation()
    {
        frmMoxon window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ModalAnswerer answerer;
        retype(widget<QLineEdit>(window, "txtWD"), QStringLiteral("14"));
        QTest::mouseClick(widget<QPushButton>(window, "btnCalculate"), Qt::LeftButton);
        QCOMPARE(widget<QLineEdit>(window, "txtWD")->text(), QStringLiteral("#14"));
        QVERIFY(answerer.boxes.isEmpty());
        QVERIFY(results(window) != kStartupInches);
        const QStringList gauge14 = results(window);

        retype(widget<QLineEdit>(window, "txtFreq"), QStringLiteral("0"));
        QTest::mouseClick(widget<QPushButton>(window, "btnCalculate"), Qt::LeftButton);
        QCOMPARE(answerer.boxes.size(), 1);
        QCOMPARE(answerer.boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(results(window), gauge14);
        QCOMPARE(window.focusWidget(), window.control(QStringLiteral("txtFreq")));
    }

    void sheetLookAndBack()
    {
        frmMoxon window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        DesignView &view = window;
        const QColor designWindow = window.palette().color(QPalette::Window);

        view.showSheet(true);
        QCOMPARE(window.width(), twips(kSheetOuterWidth - 90));
        QCOMPARE(window.minimumWidth(), window.maximumWidth());
        QVERIFY(!widget(window, "btnCalculate")->isVisible());
        // The sheet is white inside Frame2 too, between and beside its options.
        const QImage sheetImage = window.grab().toImage();
        for (const QPoint twipsPoint :
             {QPoint(6200, 5320), QPoint(7400, 4400), QPoint(200, 5450)}) {
            QCOMPARE(sheetImage.pixelColor(twips(twipsPoint.x()), twips(twipsPoint.y())),
                     QColor(Qt::white));
        }

        view.showSheet(false);
        QCOMPARE(window.width(), twips(9960));
        QVERIFY(widget(window, "btnCalculate")->isVisible());
        for (const char *name : {"frmMoxon", "Frame1", "Frame2", "optFT", "optIN", "optM", "optMM"}) {
            QWidget *shown = widget(window, name);
            QCOMPARE(shown->palette().color(QPalette::Window), designWindow);
            QVERIFY(!shown->testAttribute(Qt::WA_SetPalette));
        }
    }

    void saveAsOffersTheLastPath()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString first = folder.filePath(QStringLiteral("first.nec"));
        frmMoxon window;
        DesignView &view = window;
        ModalAnswerer answerer(
            {{Reply::ChooseFile, first}, {Reply::CancelDialog}, {Reply::CancelDialog}});

        QCOMPARE(view.askSavePath(ModelFormat::Nec), std::optional<QString>(first));
        QCOMPARE(view.askSavePath(ModelFormat::Eznec), std::nullopt);
        QCOMPARE(view.askSavePath(ModelFormat::Nec), std::nullopt);

        QCOMPARE(answerer.dialogSelections.size(), 3);
        QCOMPARE(answerer.dialogSelections[0], QString()); // no file name at first
        QCOMPARE(answerer.dialogSelections[1], first);
        QCOMPARE(answerer.dialogSelections[2], first); // a cancel forgets nothing
        QCOMPARE(answerer.dialogFilters[0], QStringLiteral("NEC files (*.nec)"));
        QCOMPARE(answerer.dialogFilters[1], QStringLiteral("EZNEC files (*.ez)"));
        QVERIFY(!QFileInfo::exists(first)); // the dialog only names the file
    }

    // The model button runs the export through the real Save As dialog and message box.
    void modelButtonExportsTheChosenFile()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("startup.nec"));
        frmMoxon window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        clickOption(window, "optNEC");
        ModalAnswerer answerer({{Reply::ChooseFile, path}, {Reply::Ok}});
        QTest::mouseClick(widget<QPushButton>(window, "btnModel"), Qt::LeftButton);

        QCOMPARE(answerer.dialogFilters, QStringList{QStringLiteral("NEC files (*.nec)")});
        QCOMPARE(answerer.boxes.size(), 1);
        QCOMPARE(answerer.boxes[0].title, QStringLiteral("Model Generated"));
        QVERIFY(answerer.boxes[0].text.startsWith(QStringLiteral("Model written to file '") + path +
                                                  u'\''));
        QFile deck(path);
        QVERIFY(deck.open(QIODevice::ReadOnly));
        QVERIFY(deck.readAll().contains("GW"));
    }

    void fileFilter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("EZNEC") << u"EZNEC files (*.ez)|*.ez"_s << u"EZNEC files (*.ez)"_s;
        QTest::newRow("NEC") << u"NEC files (*.nec)|*.nec"_s << u"NEC files (*.nec)"_s;
        QTest::newRow("pattern not shown") << u"Models|*.nec"_s << u"Models (*.nec)"_s;
        QTest::newRow("no bar") << u"Models (*.nec)"_s << u"Models (*.nec)"_s;
    }
    void fileFilter()
    {
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        QCOMPARE(qtFileFilter(filter), expected);
    }
};

} // namespace moxon::test

MOXON_TEST_MAIN(moxon::test::TestWindow)
#include "tst_window.moc"
