#include "fakewindow.h"
#include "printcommand.h"

#include <QTest>

#include <array>
#include <stdexcept>

namespace moxon::test {

namespace {

constexpr std::array kSheetControls = {Control::frmMoxon, Control::Frame1, Control::Frame2,
                                       Control::optFT,    Control::optIN,  Control::optM,
                                       Control::optMM};

QStringList backgroundLines(const QString &colour)
{
    QStringList lines;
    for (const Control control : kSheetControls) {
        lines.append(QStringLiteral("background %1=%2").arg(controlName(control), colour));
    }
    return lines;
}

// What the window looks like at one moment: the seven backgrounds, the Calculate button,
// the width and the results.
struct WindowLook
{
    QList<ColourNumber> backgrounds;
    bool calculateVisible = true;
    int outerWidth = 0; // twips
    QStringList results;
};

// A fake that also remembers how the window looked when the confirmation was asked and when
// the page went to the printer, and can make the print throw.
class SnapshotToolkit : public FakeToolkit
{
public:
    int messageBox(const QString &text, const QString &title, MessageStyle style) override
    {
        if (title == PrintCommand::confirmTitle()) {
            atConfirm = look();
        }
        return FakeToolkit::messageBox(text, title, style);
    }

    PrintOutcome printImage() override
    {
        atPrint = look();
        const PrintOutcome outcome = FakeToolkit::printImage();
        if (throwOnPrint) {
            throw std::runtime_error("printer went away");
        }
        return outcome;
    }

    [[nodiscard]] WindowLook look() const
    {
        WindowLook current;
        for (const Control control : kSheetControls) {
            current.backgrounds.append(background(control));
        }
        current.calculateVisible = isVisible(Control::btnCalculate);
        current.outerWidth = outerWidth();
        current.results = results();
        return current;
    }

    std::optional<WindowLook> atConfirm;
    std::optional<WindowLook> atPrint;
    bool throwOnPrint = false;
};

// The window's handlers on the snapshot fake, wired the way the real window wires them.
struct SnapshotWindow
{
    SnapshotWindow()
        : form(toolkit, LocaleNumbers(QLocale(QLocale::English, QLocale::UnitedStates)))
    {
        toolkit.onPress(Control::btnCalculate, [this] { form.btnCalculate_Click(); });
        toolkit.onPress(Control::btnPrint, [this] { form.btnPrint_Click(); });
        form.Form_Load();
        toolkit.clearLog();
    }

    SnapshotToolkit toolkit;
    MoxonCommands form;
};

QStringList resultsAt(const QString &frequency)
{
    FakeWindow window;
    window.load();
    window.toolkit.type(Control::txtFreq, frequency);
    window.toolkit.press(Control::btnCalculate);
    return window.toolkit.results();
}

void verifyRestored(const SnapshotToolkit &toolkit)
{
    const WindowLook after = toolkit.look();
    for (const ColourNumber colour : after.backgrounds) {
        QCOMPARE(colour, kButtonFace);
    }
    QVERIFY(after.calculateVisible);
    QCOMPARE(after.outerWidth, kDesignOuterWidth);
}

} // namespace

class PrintCommandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void logsEveryStepInOrder_data();
    void logsEveryStepInOrder();
    void showsTheSheetWhileAskingAndPrinting();
    void invalidFrequencyWarnsFirstAndKeepsPreviousResults();
    void changedFrequencyIsWhatIsPrinted();
    void throwingPrintStillRestoresTheWindow();
};

void PrintCommandTest::logsEveryStepInOrder_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<bool>("printed");
    QTest::addColumn<QStringList>("report");

    const int printed = static_cast<int>(PrintOutcome::Printed);
    const int noPrinter = static_cast<int>(PrintOutcome::NoPrinter);
    const int failed = static_cast<int>(PrintOutcome::Failed);

    QTest::newRow("ok, printed") << kAnswerOk << printed << true << QStringList();
    QTest::newRow("ok, no default printer")
        << kAnswerOk << noPrinter << true
        << QStringList{QStringLiteral("msgbox 48 Print: No default printer is set up. Nothing "
                                      "was printed.")};
    QTest::newRow("ok, print failed")
        << kAnswerOk << failed << true
        << QStringList{QStringLiteral("msgbox 48 Print: Printing failed. Nothing was printed.")};
    QTest::newRow("cancel") << kAnswerCancel << printed << false << QStringList();
    QTest::newRow("cancel without a printer says nothing")
        << kAnswerCancel << noPrinter << false << QStringList();
    QTest::newRow("box closed otherwise") << 0 << printed << false << QStringList();
}

void PrintCommandTest::logsEveryStepInOrder()
{
    QFETCH(int, answer);
    QFETCH(int, outcome);
    QFETCH(bool, printed);
    QFETCH(QStringList, report);

    // What the Calculate command alone logs on this window, so the print's log can be checked
    // to the line without restating the results.
    FakeWindow reference;
    reference.load();
    reference.toolkit.press(Control::btnCalculate);
    const QStringList calculation = reference.toolkit.log();

    SnapshotWindow window;
    window.toolkit.answerMessages({answer});
    window.toolkit.setPrintOutcome(static_cast<PrintOutcome>(outcome));
    window.toolkit.press(Control::btnPrint);

    QStringList expected{QStringLiteral("press btnPrint")};
    expected += calculation;
    expected += backgroundLines(QStringLiteral("ffffff"));
    expected += QStringList{
        QStringLiteral("hide btnCalculate"), QStringLiteral("width 8010"),
        QStringLiteral("msgbox 1 Confirm Print: Printing will be done with the color scheme as "
                       "shown.")};
    if (printed) {
        expected.append(QStringLiteral("print"));
    }
    expected += backgroundLines(QStringLiteral("8000000f"));
    expected += QStringList{QStringLiteral("show btnCalculate"), QStringLiteral("width 10050")};
    expected += report;
    QCOMPARE(window.toolkit.log(), expected);

    const bool pageOut = printed && static_cast<PrintOutcome>(outcome) == PrintOutcome::Printed;
    QCOMPARE(window.toolkit.printCount(), pageOut ? 1 : 0);
    verifyRestored(window.toolkit);
}

void PrintCommandTest::showsTheSheetWhileAskingAndPrinting()
{
    SnapshotWindow window;
    window.toolkit.press(Control::btnPrint);

    QVERIFY(window.toolkit.atConfirm.has_value());
    QVERIFY(window.toolkit.atPrint.has_value());
    for (const WindowLook &look : {*window.toolkit.atConfirm, *window.toolkit.atPrint}) {
        QCOMPARE(look.backgrounds, QList<ColourNumber>(kSheetControls.size(), kWhite));
        QVERIFY(!look.calculateVisible);
        QCOMPARE(look.outerWidth, kSheetOuterWidth);
    }
    verifyRestored(window.toolkit);
}

void PrintCommandTest::invalidFrequencyWarnsFirstAndKeepsPreviousResults()
{
    SnapshotWindow window;
    const QStringList before = window.toolkit.results();
    QVERIFY(!before.first().isEmpty());
    window.toolkit.type(Control::txtFreq, QStringLiteral("14x"));
    window.toolkit.press(Control::btnPrint);

    const QList<RecordedMessage> messages = window.toolkit.messages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.at(0).title, QStringLiteral("Invalid Entry"));
    QCOMPARE(messages.at(0).style, MessageStyle::Exclamation);
    QCOMPARE(messages.at(1).title, QStringLiteral("Confirm Print"));
    QCOMPARE(messages.at(1).style, MessageStyle::OkCancel);

    QVERIFY(window.toolkit.atPrint.has_value());
    QCOMPARE(window.toolkit.atPrint->results, before);
    QCOMPARE(window.toolkit.text(Control::txtFreq), QStringLiteral("14x"));
    QCOMPARE(window.toolkit.printCount(), 1);
    verifyRestored(window.toolkit);
}

void PrintCommandTest::changedFrequencyIsWhatIsPrinted()
{
    SnapshotWindow window;
    const QStringList before = window.toolkit.results();
    window.toolkit.type(Control::txtFreq, QStringLiteral("50.1"));
    window.toolkit.press(Control::btnPrint);

    const QStringList expected = resultsAt(QStringLiteral("50.1"));
    QVERIFY(expected != before);
    QVERIFY(window.toolkit.atPrint.has_value());
    QCOMPARE(window.toolkit.atPrint->results, expected);
    QCOMPARE(window.toolkit.messages().size(), 1); // only the confirmation
}

void PrintCommandTest::throwingPrintStillRestoresTheWindow()
{
    SnapshotWindow window;
    window.toolkit.throwOnPrint = true;
    window.toolkit.press(Control::btnPrint);

    verifyRestored(window.toolkit);
    const QList<RecordedMessage> messages = window.toolkit.messages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.last().title, QStringLiteral("Print"));
    QCOMPARE(messages.last().text, QStringLiteral("Printing failed. Nothing was printed."));
    QCOMPARE(messages.last().style, MessageStyle::Exclamation);
}

} // namespace moxon::test

QTEST_GUILESS_MAIN(moxon::test::PrintCommandTest)
#include "tst_printcommand.moc"
