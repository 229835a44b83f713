#include "captionface.h"
#include "frmmoxon.h"
#include "startoptions.h"
#include "testsuite.h"
#include "translation.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLegend>
#include <QMenu>
#include <QRawFont>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <optional>

// The language of the windows: chosen on the command line or in the diagram's menu, never
// from the system; remembered for the next start; switched at once, in the main window and in
// the design check, and back to the very pixels of Chinese.

Q_DECLARE_METATYPE(moxon::UiLanguage)
Q_DECLARE_METATYPE(std::optional<moxon::UiLanguage>)

namespace moxon::test {

namespace {

using namespace Qt::StringLiterals;

bool hasChinese(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3000 && u <= 0x303F) ||
               (u >= 0xFF00 && u <= 0xFFEF);
    });
}

// Every text a widget shows, with the font it shows it in.
QList<std::pair<QString, QFont>> shownTexts(const QWidget &window)
{
    QList<std::pair<QString, QFont>> texts{{window.windowTitle(), window.font()}};
    for (const QWidget *widget : window.findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(&window)) {
            continue;
        }
        texts.append({widget->toolTip(), widget->font()});
        if (const auto *label = qobject_cast<const QLabel *>(widget)) {
            texts.append({label->text(), label->font()});
        } else if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
            texts.append({button->text(), button->font()});
        } else if (const auto *frame = qobject_cast<const QGroupBox *>(widget)) {
            texts.append({frame->title(), frame->font()});
        } else if (const auto *list = qobject_cast<const QComboBox *>(widget)) {
            for (int i = 0; i < list->count(); ++i) {
                texts.append({list->itemText(i), list->font()});
                texts.append({list->itemData(i, Qt::ToolTipRole).toString(), list->font()});
            }
        } else if (const auto *view = qobject_cast<const QChartView *>(widget)) {
            texts.append({view->accessibleName(), view->font()});
            texts.append({view->chart()->title(), view->chart()->titleFont()});
            for (const QAbstractSeries *series : view->chart()->series()) {
                texts.append({series->name(), view->chart()->legend()->font()});
            }
        }
    }
    for (const QAction *action : window.actions()) {
        texts.append({action->text(), window.font()});
    }
    return texts;
}

QStringList chineseTexts(const QWidget &window)
{
    QStringList found;
    for (const auto &[text, font] : shownTexts(window)) {
        if (hasChinese(text)) {
            found.append(text);
        }
    }
    return found;
}

// Opens the diagram's menu as a right click does and picks `language` from its choice of
// language; returns the language the menu showed as chosen, as its name.
QString chooseInMenu(QWidget &diagram, UiLanguage language)
{
    QString checked;
    QTimer::singleShot(0, &diagram, [&checked, language] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        if (const auto *languages = menu->findChild<QMenu *>(u"languageMenu"_s)) {
            for (QAction *choice : languages->actions()) {
                if (choice->isChecked()) {
                    checked = choice->objectName();
                }
            }
            for (QAction *choice : languages->actions()) {
                if (choice->objectName() == uiLanguageName(language)) {
                    choice->trigger();
                }
            }
        }
        menu->close();
    });
    const QPoint at = diagram.rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, diagram.mapToGlobal(at));
    QApplication::sendEvent(&diagram, &event);
    return checked;
}

// The window as it shows when active, its text cursor steady in txtFreq; empty if it never
// becomes active.
QImage grabbed(QWidget &window)
{
    window.activateWindow();
    if (!QTest::qWaitFor([&window] { return window.isActiveWindow(); })) {
        return {};
    }
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QString labelText(const QWidget &window, const QString &name)
{
    const auto *label = window.findChild<QLabel *>(name);
    return label != nullptr ? label->text() : u"(no label %1)"_s.arg(name);
}

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The choice and the check's installation are kept apart from the user's settings.
        QStandardPaths::setTestModeEnabled(true);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // As the program runs: the caption face is the application's font.
        QApplication::setFont(CaptionFace::captionFont());
        // A text cursor that does not blink, so that two grabs of one window are alike.
        QApplication::setCursorFlashTime(0);
    }
    void init() { QSettings(u"moxon"_s, u"moxon"_s).clear(); }

    void startOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<std::optional<UiLanguage>>("expected");
        QTest::addColumn<bool>("check");
        QTest::addColumn<QString>("refusal");
        const std::optional<UiLanguage> chinese = UiLanguage::Chinese;
        const std::optional<UiLanguage> english = UiLanguage::English;
        const std::optional<UiLanguage> none;
        QTest::newRow("nothing given or stored: Chinese")
            << QStringList{} << QString() << chinese << false << QString();
        QTest::newRow("the stored choice")
            << QStringList{} << u"en"_s << english << false << QString();
        QTest::newRow("stored text that names no language")
            << QStringList{} << u"fr"_s << chinese << false << QString();
        QTest::newRow("--language en over a stored Chinese")
            << QStringList{u"--language"_s, u"en"_s} << u"zh"_s << english << false << QString();
        QTest::newRow("--language=zh over a stored English")
            << QStringList{u"--language=zh"_s} << u"en"_s << chinese << false << QString();
        QTest::newRow("--check in the stored language")
            << QStringList{u"--check"_s} << u"en"_s << english << true << QString();
        QTest::newRow("--check with --language")
            << QStringList{u"--language"_s, u"zh"_s, u"--check"_s} << u"en"_s << chinese << true
            << QString();
        QTest::newRow("a language the window does not have")
            << QStringList{u"--language"_s, u"fr"_s} << QString() << none << false
            << u"--language takes en or zh, not 'fr'."_s;
        QTest::newRow("--language without its value")
            << QStringList{u"--language"_s} << QString() << none << false
            << u"Missing value after '--language'."_s;
        QTest::newRow("an option the program does not take")
            << QStringList{u"--lang"_s, u"en"_s} << QString() << none << false
            << u"Unknown option 'lang'."_s;
        QTest::newRow("an argument the program does not take")
            << QStringList{u"design.nec"_s} << QString() << none << false
            << u"unexpected argument 'design.nec'."_s;
    }
    void startOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, stored);
        QFETCH(std::optional<UiLanguage>, expected);
        QFETCH(bool, check);
        QFETCH(QString, refusal);
        if (!stored.isEmpty()) {
            QSettings(u"moxon"_s, u"moxon"_s).setValue(u"window/language"_s, stored);
        }
        QString said;
        const std::optional<StartOptions> options =
            moxon::startOptions(QStringList{u"moxon"_s} + arguments, said);
        QCOMPARE(options.has_value(), expected.has_value());
        if (options) {
            QCOMPARE(options->language, *expected);
            QCOMPARE(options->check, check);
        }
        QCOMPARE(said, refusal);
    }

    // The menu's choice: every text of the window at once, the same window as one started in
    // that language, remembered for the next start; and back to Chinese pixel for pixel.
    void menuSwitchesAtOnceAndBack()
    {
        frmMoxon window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage chinese = grabbed(window);
        QVERIFY(!chinese.isNull());
        // Chinese is the sources' own text: no translator stands between.
        QCOMPARE(QCoreApplication::translate("moxon::frmMoxon", "退出"), u"退出"_s);
        QWidget *diagram = window.control(u"Image1"_s);
        QVERIFY(diagram != nullptr);

        QCOMPARE(chooseInMenu(*diagram, UiLanguage::English), u"zh"_s);
        QTRY_COMPARE(window.windowTitle(), u"Moxon Rectangle Calculator"_s);
        QCOMPARE(window.language(), UiLanguage::English);
        QCOMPARE(qobject_cast<QAbstractButton *>(window.control(u"btnCalculate"_s))->text(),
                 u"&Calculate"_s);
        QCOMPARE(qobject_cast<QGroupBox *>(window.control(u"Frame2"_s))->title(), u"Units"_s);
        QCOMPARE(qobject_cast<QLabel *>(window.control(u"Label16"_s))->text(), u"Reflector"_s);
        QCOMPARE(diagram->toolTip(), u"Click for the design check (Ctrl+D)"_s);
        QCOMPARE(chineseTexts(window), QStringList());
        QCOMPARE(QCoreApplication::translate("moxon::frmMoxon", "退出"), u"Exit"_s);
        QCOMPARE(storedUiLanguage(), UiLanguage::English);

        // A restart: the program's start finds English without being told.
        QString refusal;
        QCOMPARE(moxon::startOptions({u"moxon"_s}, refusal).value_or(StartOptions{}).language,
                 UiLanguage::English);
        {
            frmMoxon restarted(UiLanguage::English);
            restarted.show();
            QVERIFY(QTest::qWaitForWindowExposed(&restarted));
            QCOMPARE(restarted.windowTitle(), window.windowTitle());
            QCOMPARE(grabbed(restarted), grabbed(window));
        }

        QCOMPARE(chooseInMenu(*diagram, UiLanguage::Chinese), u"en"_s);
        QTRY_COMPARE(window.windowTitle(), u"Moxon 方框天线计算器"_s);
        QCOMPARE(window.language(), UiLanguage::Chinese);
        QCOMPARE(grabbed(window), chinese);
        QCOMPARE(storedUiLanguage(), UiLanguage::Chinese);
        QCOMPARE(QCoreApplication::translate("moxon::frmMoxon", "退出"), u"退出"_s);
    }

    // The design check follows the main window's language while it is open: its header, its
    // captions, figures, charts and menu, with every character in the caption face.
    void checkWindowFollows()
    {
        frmMoxon window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.openCheck();
        QWidget *check = window.findChild<QWidget *>(u"CheckWindow"_s);
        QVERIFY2(check != nullptr, "the check module did not load");
        QTRY_VERIFY_WITH_TIMEOUT(labelText(*check, u"status"_s).startsWith(u"nec2c 已算完"_s),
                                 20'000);
        const QString chineseHeader = labelText(*check, u"header"_s);
        QCOMPARE(chineseHeader, u"146 MHz，线材 #12 AWG，水平极化，波束沿 X 轴"_s);

        QVERIFY(window.setLanguage(UiLanguage::English));
        QTRY_COMPARE(check->windowTitle(), u"Design Check — 146 MHz"_s);
        QCOMPARE(labelText(*check, u"header"_s),
                 u"146 MHz, wire #12 AWG, horizontal polarization, beam along the X axis"_s);
        QVERIFY2(labelText(*check, u"status"_s)
                     .startsWith(u"nec2c is done: the design frequency and "_s),
                 qPrintable(labelText(*check, u"status"_s)));
        QVERIFY2(labelText(*check, u"bandwidth"_s).contains(u"MHz (≥ "_s),
                 qPrintable(labelText(*check, u"bandwidth"_s)));
        QStringList actions;
        for (const QAction *action : check->actions()) {
            actions.append(action->text());
        }
        QCOMPARE(actions, (QStringList{u"Save Image…"_s, u"Export Data…"_s, u"Print Build Sheet"_s,
                                       u"Save Build Sheet as PDF…"_s}));
        QCOMPARE(chineseTexts(*check), QStringList());
        for (const auto &[text, font] : shownTexts(*check)) {
            const QRawFont face = QRawFont::fromFont(font);
            QCOMPARE(face.familyName(), QString::fromUtf16(kCaptionFamily));
            for (const char32_t character : text.toUcs4()) {
                QVERIFY2(character == u'\n' || face.supportsCharacter(character),
                         qPrintable(u"U+%1 of \"%2\" is not in the face"_s
                                        .arg(uint(character), 4, 16, QLatin1Char('0'))
                                        .arg(text)));
            }
        }

        QVERIFY(window.setLanguage(UiLanguage::Chinese));
        QTRY_COMPARE(labelText(*check, u"header"_s), chineseHeader);
        QVERIFY(check->windowTitle().startsWith(u"设计检查"_s));
        QVERIFY(labelText(*check, u"status"_s).startsWith(u"nec2c 已算完"_s));
        // A switch but the menu's is for the run: nothing is stored.
        QCOMPARE(QSettings(u"moxon"_s, u"moxon"_s).contains(u"window/language"_s), false);
    }

private:
    CaptionFace m_face; // the application's font while the tests run
};

} // namespace moxon::test

MOXON_TEST_MAIN(moxon::test::TestLanguage)

#include "tst_language.moc"
