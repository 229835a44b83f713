#include "checkwindow.h"
#include "fakecheckcommands.h"
#include "testsuite.h"

#include <QAction>
#include <QApplication>
#include <QStandardPaths>
#include <QTest>

using namespace moxon;
using moxon::test::FakeCheckCommands;
using namespace Qt::StringLiterals;

namespace {

QAction *action(const CheckWindow &window, const QString &name)
{
    return window.findChild<QAction *>(name);
}

} // namespace

// The check window's build sheet commands: offered once the check has its curve, and handing
// the session what the window computed of the design it shows.
class TestCheckSheet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void printsWhatTheCheckComputed_data();
    void printsWhatTheCheckComputed();
};

void TestCheckSheet::printsWhatTheCheckComputed_data()
{
    QTest::addColumn<bool>("fitted");     // the sweep comes with a dense curve from its fit
    QTest::addColumn<bool>("tolerances"); // the tolerances were computed before the print

    QTest::newRow("fitted, without tolerances") << true << false;
    QTest::newRow("every point by nec2c, with tolerances") << false << true;
}

void TestCheckSheet::printsWhatTheCheckComputed()
{
    QFETCH(bool, fitted);
    QFETCH(bool, tolerances);

    FakeCheckCommands commands;
    CheckWindow window(commands);
    window.show();
    CheckRequest request;
    request.frequencyMhz = 146;
    window.showCheckedDesign(request, CheckedDesign::Formula);
    window.showAnalysisStarted(AnalysisKind::Check);
    QAction *print = action(window, u"printBuildSheet"_s);
    QAction *save = action(window, u"saveBuildSheet"_s);
    QVERIFY(print && save);

    DesignFigures figures;
    figures.frequencyMhz = 146;
    figures.swr = 1.2;
    window.showAnalysisProgress(CheckProgress(figures));
    // The figures alone: the dip is not known before the curve is whole.
    QVERIFY(!print->isEnabled() && !save->isEnabled());
    print->trigger();
    QVERIFY(commands.asked.isEmpty());

    SweepOutcome sweep;
    sweep.points = {{145, {50, -10}, 1.2}, {146, {50, 0}, 1}, {147, {50, 10}, 1.2}};
    if (fitted) {
        sweep.curve = {{145, {50, -10}, 1.2},
                       {145.5, {50, -5}, 1.1},
                       {146, {50, 0}, 1},
                       {146.5, {50, 5}, 1.1},
                       {147, {50, 10}, 1.2}};
    }
    window.showAnalysisResult(sweep);
    if (tolerances) {
        ToleranceResult result;
        result.dimensions = {37.5, 5.2, 7.0, 14.2};
        window.showAnalysisResult(result, TuneSetup{});
    }
    QVERIFY(print->isEnabled() && save->isEnabled());
    print->trigger();
    QCOMPARE(commands.asked, QStringList{u"print build sheet"_s});
    const SheetPredictions &handed = commands.lastPredictions;
    QCOMPARE(handed.figures.swr, 1.2);
    QCOMPARE(handed.curve.size(), fitted ? 5 : 3);
    QCOMPARE(handed.tolerances.has_value(), tolerances);

    // A new design: nothing to print until its check has its curve.
    window.showCheckedDesign(request, CheckedDesign::Formula);
    QVERIFY(!print->isEnabled() && !save->isEnabled());
}

MOXON_TEST_MAIN(TestCheckSheet)
#include "tst_checksheet.moc"
