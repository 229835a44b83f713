#include "eventlog.h"
#include "fakecheckview.h"
#include "testsuite.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include <cmath>
#include <stdexcept>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(moxon::FeedLine)

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

const QString kStartUpDesign = u"design in 29.17"_s;
const QString kFrequencyError =
    u"message input error Invalid Entry: Frequency must be a numeric value greater than 0."_s;
const QString kThickWire = u"message warning Warning: Wire diameter greater than 1E-2 "
                           "wavelengths, results uncertain."_s;
const QString kAskPrint = u"confirm question Confirm Print: Printing will be done with the "
                          "color scheme as shown."_s;

// A view that remembers what the window showed when the page went to the printer, and can
// make printing throw as a broken driver would.
class SnapshotView : public FakeView
{
public:
    PrintOutcome printSheet() override
    {
        const PrintOutcome outcome = FakeView::printSheet();
        sheetAtPrint = sheet;
        designAtPrint = design;
        if (throwOnPrint) {
            throw std::runtime_error("printer went away");
        }
        return outcome;
    }

    bool throwOnPrint = false;
    bool sheetAtPrint = false;
    std::optional<ShownDesign> designAtPrint;
};

} // namespace

class TestSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUp();
    void calculate_data();
    void calculate();
    void unitStaysSetWhenRejected();
    void unitOptionsRecalculate_data();
    void unitOptionsRecalculate();
    void print_data();
    void print();
    void printShowsWhatWasCalculated_data();
    void printShowsWhatWasCalculated();
    void checkRequest_data();
    void checkRequest();
    void close();
    void installationIsTheSessions();
    void feedLineRunsNothingAndIsKept_data();
    void feedLineRunsNothingAndIsKept();
    void checkIsToldInOrder_data();
    void checkIsToldInOrder();
    void checkIsSupersededAndCancelled();
    void refusedCheckRunsNothing();
};

void TestSession::startUp()
{
    FakeView view;
    Session session(view, LocaleNumbers(kUs));
    session.formLoad();

    QCOMPARE(eventLog(view.events), (QStringList{u"wire #12 AWG"_s, kStartUpDesign}));
    QVERIFY(view.design);
    QCOMPARE(view.design->texts,
             (std::array{u"29.17"_s, u"4.05"_s, u"1.17"_s, u"5.56"_s, u"10.78"_s}));
    QCOMPARE(session.state().displayUnits, DisplayUnit::Inch);
    QCOMPARE(session.state().shown, view.design);
}

void TestSession::calculate_data()
{
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("wire");
    QTest::addColumn<WireUnit>("wireUnit");
    QTest::addColumn<CalculateOutcome>("outcome");
    QTest::addColumn<QStringList>("log");

    const QString gaugeError = u"message input error Invalid Entry: AWG wire size must be an "
                               "integer value between 0 and 40."_s;
    QTest::newRow("frequency error, then its focus")
        << u"abc"_s << u"#12"_s << WireUnit::Gauge << CalculateOutcome::Rejected
        << QStringList{kFrequencyError, u"focus frequency"_s};
    QTest::newRow("shorthand shown before the error")
        << u"146"_s << u"#41"_s << WireUnit::Millimetre << CalculateOutcome::Rejected
        << QStringList{u"wire 41 AWG"_s, gaugeError, u"focus wire size"_s};
    QTest::newRow("wire size error")
        << u"146"_s << u"0"_s << WireUnit::Inch << CalculateOutcome::Rejected
        << QStringList{u"message input error Invalid Entry: Wire size must be a numeric value "
                       "greater than 0."_s,
                       u"focus wire size"_s};
    QTest::newRow("out of range: the gauge's # back first, then the frequency")
        << u"1E-310"_s << u"#12"_s << WireUnit::Inch << CalculateOutcome::Rejected
        << QStringList{u"wire #12 AWG"_s,
                       u"message input error Invalid Entry: Frequency and wire size are outside "
                       "the range that can be computed."_s,
                       u"focus frequency"_s};
    QTest::newRow("shorthand shown before the design")
        << u"146"_s << u"#14"_s << WireUnit::Millimetre << CalculateOutcome::Shown
        << QStringList{u"wire #14 AWG"_s, u"design in 29.21"_s};
    QTest::newRow("warning, then the design")
        << u"1000"_s << u"0.5"_s << WireUnit::Inch << CalculateOutcome::Shown
        << QStringList{kThickWire, u"design in 4.15"_s};
}

void TestSession::calculate()
{
    QFETCH(QString, freq);
    QFETCH(QString, wire);
    QFETCH(WireUnit, wireUnit);
    QFETCH(CalculateOutcome, outcome);
    QFETCH(QStringList, log);

    FakeWindow window;
    const std::optional<ShownDesign> before = window.view.design;
    QCOMPARE(window.enter(freq, wire, wireUnit).session.calculate(), outcome);
    QCOMPARE(eventLog(window.view.events), log);
    if (outcome == CalculateOutcome::Rejected) {
        // The last good design stays, in the window and as the one an export would build.
        QCOMPARE(window.view.design, before);
        QCOMPARE(window.session.state().shown, before);
    }
}

void TestSession::unitStaysSetWhenRejected()
{
    FakeWindow window;
    const std::optional<ShownDesign> before = window.view.design;
    window.session.setFrequencyText(u"abc"_s);
    QCOMPARE(window.session.selectDisplayUnit(DisplayUnit::Millimetre), CalculateOutcome::Rejected);

    QCOMPARE(window.session.state().displayUnits, DisplayUnit::Millimetre);
    QCOMPARE(eventLog(window.view.events), (QStringList{kFrequencyError, u"focus frequency"_s}));
    QCOMPARE(window.view.design, before);

    // Once the input is mended, the next Calculate shows the unit picked while it was wrong.
    window.view.clear();
    window.session.setFrequencyText(u"146"_s);
    QCOMPARE(window.session.calculate(), CalculateOutcome::Shown);
    QCOMPARE(eventLog(window.view.events), QStringList{u"design mm 741.0"_s});
}

void TestSession::unitOptionsRecalculate_data()
{
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("wire");
    QTest::addColumn<WireUnit>("wireUnit");
    QTest::addColumn<QList<DisplayUnit>>("picks");
    QTest::addColumn<QStringList>("log");

    // Shown numbers converted from unit to unit would drift by their rounding; recalculated
    // ones come out the same every round.
    const QList<DisplayUnit> round = {DisplayUnit::Millimetre, DisplayUnit::Feet,
                                      DisplayUnit::Metre, DisplayUnit::Inch};
    const QStringList shown = {u"design mm 741.0"_s, u"design ft 2.431"_s, u"design m 0.7410"_s,
                               kStartUpDesign};
    QTest::newRow("two rounds through every unit")
        << u"146"_s << u"#12"_s << WireUnit::Gauge << round + round << shown + shown;
    QTest::newRow("an edited frequency shows on the next pick")
        << u"14.15"_s << u"#12"_s << WireUnit::Gauge << QList{DisplayUnit::Millimetre}
        << QStringList{u"design mm 7721.8"_s};
    QTest::newRow("the warning comes with every pick")
        << u"1000"_s << u"0.5"_s << WireUnit::Inch
        << QList{DisplayUnit::Feet, DisplayUnit::Millimetre, DisplayUnit::Metre}
        << QStringList{kThickWire,           u"design ft 0.346"_s, kThickWire,
                       u"design mm 105.3"_s, kThickWire,           u"design m 0.1053"_s};
}

void TestSession::unitOptionsRecalculate()
{
    QFETCH(QString, freq);
    QFETCH(QString, wire);
    QFETCH(WireUnit, wireUnit);
    QFETCH(QList<DisplayUnit>, picks);
    QFETCH(QStringList, log);

    FakeWindow window;
    window.enter(freq, wire, wireUnit);
    for (const DisplayUnit unit : picks) {
        QCOMPARE(window.session.selectDisplayUnit(unit), CalculateOutcome::Shown);
        QCOMPARE(window.session.state().displayUnits, unit);
    }
    QCOMPARE(eventLog(window.view.events), log);
}

void TestSession::print_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<PrintOutcome>("printer");
    QTest::addColumn<PrintOutcome>("outcome");
    QTest::addColumn<QStringList>("log");

    const QStringList asked = {kStartUpDesign, u"sheet on"_s, kAskPrint};
    QTest::newRow("ok, printed") << true << PrintOutcome::Printed << PrintOutcome::Printed
                                 << asked + QStringList{u"print"_s, u"sheet off"_s};
    QTest::newRow("ok, no default printer")
        << true << PrintOutcome::NoPrinter << PrintOutcome::NoPrinter
        << asked + QStringList{u"print"_s, u"sheet off"_s,
                               u"message failure Print: No default printer is set up. Nothing "
                               "was printed."_s};
    QTest::newRow("ok, print failed")
        << true << PrintOutcome::Failed << PrintOutcome::Failed
        << asked + QStringList{u"print"_s, u"sheet off"_s,
                               u"message failure Print: Printing failed. Nothing was printed."_s};
    QTest::newRow("cancel") << false << PrintOutcome::Printed << PrintOutcome::Cancelled
                            << asked + QStringList{u"sheet off"_s};
    QTest::newRow("cancel without a printer says nothing")
        << false << PrintOutcome::NoPrinter << PrintOutcome::Cancelled
        << asked + QStringList{u"sheet off"_s};
}

void TestSession::print()
{
    QFETCH(bool, answer);
    QFETCH(PrintOutcome, printer);
    QFETCH(PrintOutcome, outcome);
    QFETCH(QStringList, log);

    FakeWindow window;
    window.view.confirmAnswers = {answer};
    window.view.printOutcome = printer;
    QCOMPARE(window.session.print(), outcome);
    QCOMPARE(eventLog(window.view.events), log);
    QVERIFY(!window.view.sheet);
}

void TestSession::printShowsWhatWasCalculated_data()
{
    QTest::addColumn<QString>("freq");
    QTest::addColumn<bool>("throwOnPrint");
    QTest::addColumn<PrintOutcome>("outcome");
    QTest::addColumn<QString>("designAtPrint");
    QTest::addColumn<QStringList>("log");

    const QStringList printed = {u"sheet on"_s, kAskPrint, u"print"_s, u"sheet off"_s};
    // A rejected input leaves the last good results on the sheet, with its message first.
    QTest::newRow("invalid frequency")
        << u"14x"_s << false << PrintOutcome::Printed << kStartUpDesign
        << QStringList{kFrequencyError, u"focus frequency"_s} + printed;
    QTest::newRow("changed frequency")
        << u"50.1"_s << false << PrintOutcome::Printed << u"design in 85.45"_s
        << QStringList{u"design in 85.45"_s} + printed;
    // A print that throws must not leave the window as the sheet, and counts as failed.
    QTest::newRow("print throws")
        << u"146"_s << true << PrintOutcome::Failed << kStartUpDesign
        << QStringList{kStartUpDesign} + printed +
               QStringList{u"message failure Print: Printing failed. Nothing was printed."_s};
}

void TestSession::printShowsWhatWasCalculated()
{
    QFETCH(QString, freq);
    QFETCH(bool, throwOnPrint);
    QFETCH(PrintOutcome, outcome);
    QFETCH(QString, designAtPrint);
    QFETCH(QStringList, log);

    SnapshotView view;
    Session session(view, LocaleNumbers(kUs));
    session.formLoad();
    view.clear();
    view.throwOnPrint = throwOnPrint;
    session.setFrequencyText(freq);
    QCOMPARE(session.print(), outcome);

    QCOMPARE(eventLog(view.events), log);
    QVERIFY(view.sheetAtPrint);
    QVERIFY(view.designAtPrint);
    QCOMPARE(describe(*view.designAtPrint), designAtPrint);
    QVERIFY(!view.sheet);
}

void TestSession::checkRequest_data()
{
    QTest::addColumn<QString>("wire");
    QTest::addColumn<int>("wireUnit");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("caution");

    QTest::newRow("gauge 14") << u"#14"_s << int(WireUnit::Gauge)
                              << u"146 MHz，线材 #14 AWG，水平极化，波束沿 X 轴"_s << QString()
                              << QString();
    QTest::newRow("tubing past the kernel's guideline")
        << u"20"_s << int(WireUnit::Millimetre) << u"146 MHz，线材 20 mm，水平极化，波束沿 X 轴"_s
        << QString() << u"only 1.7 times the radius of the 20 mm wire"_s;
    QTest::newRow("radius below single precision")
        << u"1E-40"_s << int(WireUnit::Millimetre)
        << u"146 MHz，线材 1E-40 mm，水平极化，波束沿 X 轴"_s
        << u"the deck could not be written: The wire size 1E-40 mm is not a size"_s << QString();
}

void TestSession::checkRequest()
{
    QFETCH(QString, wire);
    QFETCH(int, wireUnit);
    QFETCH(QString, header);
    QFETCH(QString, refusal);
    QFETCH(QString, caution);

    FakeView view;
    const TestSettings settings;
    Session session(view, LocaleNumbers(kUs));
    QVERIFY(!session.checkRequest());
    session.formLoad();
    session.setWireSizeText(wire);
    session.setWireUnit(WireUnit(wireUnit));
    QCOMPARE(session.calculate(), CalculateOutcome::Shown);
    // An edit that Calculate rejects leaves the request naming the design that was accepted.
    session.setWireSizeText(u"abc"_s);
    QCOMPARE(session.calculate(), CalculateOutcome::Rejected);

    const std::optional<CheckRequest> request = session.checkRequest();
    QVERIFY(request);
    QCOMPARE(request->header, header);
    QCOMPARE(request->frequencyMhz, 146.0);
    QVERIFY2(refusal.isEmpty() ? request->refusal.isEmpty() : request->refusal.contains(refusal),
             qPrintable(request->refusal));
    QVERIFY2(caution.isEmpty() ? request->caution.isEmpty() : request->caution.contains(caution),
             qPrintable(request->caution));
    QCOMPARE(request->deck.isEmpty(), !refusal.isEmpty());
}

void TestSession::close()
{
    FakeWindow window;
    window.session.close();
    QCOMPARE(eventLog(window.view.events), QStringList{u"close"_s});
    QVERIFY(window.view.closed);
}

void TestSession::installationIsTheSessions()
{
    // Kept apart from the user's own settings.
    QStandardPaths::setTestModeEnabled(true);
    QSettings(u"moxon"_s, u"moxon"_s).remove(u"designCheck"_s);
    const Installation overGround{10, {GroundKind::Real, 13, 0.005}, copper(), {}};
    {
        FakeWindow window;
        FakeCheckView checks;
        window.session.setCheckView(&checks);
        QVERIFY(window.session.installation().isDefault()); // free space, perfect wire
        // Shown with the main window's unit, and checked anew there.
        window.session.setInstallation(overGround);
        QCOMPARE(checks.installation, overGround);
        QCOMPARE(checks.scale.unit, u"in"_s);
        QCOMPARE(checks.outline(), QStringList{u"check formula"_s});
        QCOMPARE(checks.lastRequest.installation, overGround);
        // The same installation again changes nothing and runs nothing.
        window.session.setInstallation(overGround);
        QCOMPARE(checks.outline().size(), 1);
        // A closed check window runs nothing.
        checks.shown = false;
        window.session.setInstallation(Installation{});
        QCOMPARE(checks.outline().size(), 1);
        window.session.setInstallation(overGround);
    }
    // The next session starts where the last one left the installation.
    FakeWindow again;
    QCOMPARE(again.session.installation(), overGround);
    QCOMPARE(again.session.checkRequest()->installation, overGround);
    QSettings(u"moxon"_s, u"moxon"_s).remove(u"designCheck"_s);
}

void TestSession::feedLineRunsNothingAndIsKept_data()
{
    QTest::addColumn<FeedLine>("line");
    QTest::newRow("25 m of a table's cable") << FeedLine{cableOf(*cablePreset(u"RG-213")), 25};
    QTest::newRow("12.5 m of a line of one's own")
        << FeedLine{customCable(75, 0.8, 3.1, 14.15), 12.5};
}

// The feed line is arithmetic on the check's curve: choosing it, or another, tells the view
// the installation and runs no engine; the next session starts with it. A stored line that
// does not read is no line.
void TestSession::feedLineRunsNothingAndIsKept()
{
    QFETCH(FeedLine, line);
    QStandardPaths::setTestModeEnabled(true);
    QSettings(u"moxon"_s, u"moxon"_s).remove(u"designCheck"_s);
    Installation withLine{10, {GroundKind::Real, 13, 0.005}, copper()};
    {
        FakeWindow window;
        FakeCheckView checks;
        window.session.setCheckView(&checks);
        window.session.setInstallation(withLine);
        QCOMPARE(checks.outline(), QStringList{u"check formula"_s});
        withLine.feedLine = line;
        window.session.setInstallation(withLine);
        QCOMPARE(checks.installation, withLine);
        QCOMPARE(checks.outline(), QStringList{u"check formula"_s});
        // The antenna changed with the line: checked anew.
        withLine.heightMetres = 12;
        window.session.setInstallation(withLine);
        QCOMPARE(checks.outline().size(), 2);
    }
    FakeWindow again;
    QCOMPARE(again.session.installation(), withLine);
    {
        QSettings stored(u"moxon"_s, u"moxon"_s);
        stored.setValue(u"designCheck/feedLineVelocity"_s, 1.5);
        stored.setValue(u"designCheck/feedLine"_s, u"custom"_s);
    }
    FakeWindow broken;
    QVERIFY(!broken.session.installation().feedLine.has_value());
    QCOMPARE(broken.session.installation().heightMetres, 12.0);
    QSettings(u"moxon"_s, u"moxon"_s).remove(u"designCheck"_s);
}

void TestSession::checkIsToldInOrder_data()
{
    QTest::addColumn<bool>("overGround");
    QTest::addColumn<int>("figures"); // how often the figures come

    QTest::newRow("free space: the figures once") << false << 1;
    // First from the run that finds the take-off angle, then with the azimuth cut there.
    QTest::newRow("over ground: the figures twice") << true << 2;
}

void TestSession::checkIsToldInOrder()
{
    QFETCH(bool, overGround);
    QFETCH(int, figures);

    QStandardPaths::setTestModeEnabled(true);
    FakeWindow window;
    FakeCheckView checks;
    window.session.setCheckView(&checks);
    window.session.setInstallation(
        overGround ? Installation{10, {GroundKind::Perfect, 0, 0}, {}, {}} : Installation{});
    QSettings(u"moxon"_s, u"moxon"_s).remove(u"designCheck"_s);
    QTRY_VERIFY_WITH_TIMEOUT(!window.session.isRunning(AnalysisKind::Check), 30'000);
    checks.events.clear();
    window.session.checkShownDesign();
    QVERIFY(window.session.isRunning(AnalysisKind::Check));
    QTRY_VERIFY_WITH_TIMEOUT(checks.ended(AnalysisKind::Check), 30'000);

    // The design, the start, the engine's steps as they come, then the whole curve last.
    const QStringList &events = checks.events;
    QCOMPARE(events.first(2), (QStringList{u"check formula"_s, u"check started"_s}));
    QCOMPARE(events.last(), u"check result"_s);
    const QStringList steps = events.mid(2, events.size() - 3);
    QCOMPARE(steps.count(u"check figures"_s), figures);
    QCOMPARE(steps.count(u"check sweep"_s), steps.size() - figures);
    QVERIFY(steps.size() > figures);
    if (overGround) {
        // The sweep waits for the run that finds the take-off angle.
        QCOMPARE(steps.first(), u"check figures"_s);
        QVERIFY(checks.checkFigures->takeoff.has_value());
    }
    QVERIFY(!checks.checkFigures->azimuth.isEmpty());
    QCOMPARE(checks.checkFigures->frequencyMhz, 146.0);
    // Each sweep told is the engine's points so far: the curve's own engine frequencies.
    QCOMPARE(checks.checkResult->points.size(), kSweepPoints);
    for (const SweepPoint &point : std::as_const(checks.checkSweep)) {
        QVERIFY(checks.checkResult->engineFrequenciesMhz.contains(point.frequencyMhz));
    }
}

void TestSession::checkIsSupersededAndCancelled()
{
    FakeWindow window;
    FakeCheckView checks;
    window.session.setCheckView(&checks);
    window.session.checkShownDesign();
    // A new design supersedes the check in flight: nothing of the old one is told after.
    window.enter(u"50.1"_s, u"#12"_s, WireUnit::Gauge);
    QCOMPARE(window.session.calculate(), CalculateOutcome::Shown);
    QTRY_VERIFY_WITH_TIMEOUT(checks.ended(AnalysisKind::Check), 30'000);
    QCOMPARE(checks.events.first(4), (QStringList{u"check formula"_s, u"check started"_s,
                                                  u"check formula"_s, u"check started"_s}));
    QCOMPARE(checks.events.last(), u"check result"_s);
    QCOMPARE(checks.lastRequest.frequencyMhz, 50.1);
    QCOMPARE(checks.checkFigures->frequencyMhz, 50.1);
    for (const SweepPoint &point : std::as_const(checks.checkResult->points)) {
        QVERIFY(std::fabs(point.frequencyMhz / 50.1 - 1) < 0.06);
    }

    // Cancelled, as closing the window does: told once, and nothing of it after.
    checks.events.clear();
    window.session.checkShownDesign();
    window.session.cancelAnalysis(AnalysisKind::Check);
    QVERIFY(!window.session.isRunning(AnalysisKind::Check));
    window.session.cancelAnalysis(AnalysisKind::Check);
    QTest::qWait(1500);
    QCOMPARE(checks.events,
             (QStringList{u"check formula"_s, u"check started"_s, u"check ended cancelled"_s}));
}

void TestSession::refusedCheckRunsNothing()
{
    // No engine to run: a refusal that ran one would say that nec2c is missing.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    FakeWindow window;
    FakeCheckView checks;
    window.session.setCheckView(&checks);
    window.enter(u"146"_s, u"1E-40"_s, WireUnit::Millimetre);
    QCOMPARE(window.session.calculate(), CalculateOutcome::Shown);
    QTRY_VERIFY(checks.ended(AnalysisKind::Check));
    qputenv("PATH", path);
    QCOMPARE(checks.events,
             (QStringList{u"check formula"_s, u"check started"_s, u"check ended failed"_s}));
    QVERIFY(!checks.lastRequest.refusal.isEmpty());
    QCOMPARE(checks.lastMessage, checks.lastRequest.refusal);
}

MOXON_TEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
