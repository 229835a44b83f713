// The tolerances and the trim of the shown design as the session runs them for the check window,
// with the real nec2c: what the window is told, in order, and what each analysis takes as built.

#include "fakecheckview.h"
#include "fakeview.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

// The session's window and its check window, 146 MHz in inches as the program starts.
struct Windows
{
    Windows()
    {
        window.session.setCheckView(&checks);
        checks.events.clear();
    }

    FakeWindow window{QLocale(QLocale::English, QLocale::UnitedStates)};
    FakeCheckView checks;
};

} // namespace

class TestBuildAnalyses : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings(u"moxon"_s, u"moxon"_s).remove(u"designCheck"_s); // free space, perfect wire
    }

    void trim_data();
    void trim();
    void tolerancesOfTheDesignShown();
    void voidedAndCancelled_data();
    void voidedAndCancelled();
};

void TestBuildAnalyses::trim_data()
{
    QTest::addColumn<QByteArray>("file"); // written as the measurement; empty: the dip typed
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("message"); // how the failure's sentence starts

    const QStringList trimmed{u"trim started"_s, u"measurement"_s, u"trim result"_s};
    const QStringList refused{u"trim started"_s, u"trim ended failed"_s};
    QTest::newRow("the dip typed") << QByteArray() << trimmed << QString();
    // Impedances normalised to 50 ohms, as version 1 writes Z: a dip near 144.2 MHz.
    QTest::newRow("a Touchstone file") << QByteArray("! analyser\n# MHz Z RI R 50\n"
                                                     "142 0.4 -0.8\n143 0.6 -0.4\n144 0.96 -0.04\n"
                                                     "145 1.2 0.3\n146 1.4 0.6\n")
                                       << trimmed << QString();
    QTest::newRow("a broken file") << QByteArray("# MHz S RI R 50\n144 0.1 0.2\n145 0.1\n")
                                   << refused << u"measured.s1p line 3: "_s;
    QTest::newRow("a file without a dip")
        << QByteArray("# MHz Z RI R 50\n142 0.4 -0.8\n143 0.6 -0.4\n144 0.96 -0.04\n") << refused
        << u"measured.s1p has no SWR dip inside its range"_s;
}

void TestBuildAnalyses::trim()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, events);
    QFETCH(QString, message);

    QTemporaryDir folder;
    MeasuredAntenna measured{QString(), 144.2, 0};
    if (!file.isEmpty()) {
        measured.file = folder.filePath(u"measured.s1p"_s);
        QFile written(measured.file);
        QVERIFY(written.open(QIODevice::WriteOnly));
        written.write(file);
    }
    Windows windows;
    FakeCheckView &checks = windows.checks;
    windows.window.session.startTrim(measured);
    QTRY_VERIFY_WITH_TIMEOUT(checks.ended(AnalysisKind::Trim), 30'000);
    QCOMPARE(checks.outline(), events);
    if (!message.isEmpty()) {
        QVERIFY2(checks.lastMessage.startsWith(message), qPrintable(checks.lastMessage));
        QVERIFY(!checks.trim);
        return;
    }
    // The measurement as read, then the trim of it to the design frequency.
    QCOMPARE(checks.measurement->source, file.isEmpty() ? QString() : u"measured.s1p"_s);
    QCOMPARE(checks.measurement->curve.size(), file.isEmpty() ? 0 : 5);
    QCOMPARE(checks.trim->measuredDipMhz, checks.measurement->dipMhz);
    QVERIFY(std::fabs(checks.trim->measuredDipMhz - 144.2) < 0.5);
    QCOMPARE(checks.trim->targetMhz, 146.0);
    QVERIFY(checks.trim->scale > 1); // it dips low: longer than its model
    QVERIFY(checks.trim->fieldTrim.has_value());
    QVERIFY(std::fabs(checks.trim->fieldTrim->antenna.predictedDipMhz / 146 - 1) < 0.0025);
}

void TestBuildAnalyses::tolerancesOfTheDesignShown()
{
    Windows windows;
    Session &session = windows.window.session;
    FakeCheckView &checks = windows.checks;

    // Of the formula's design, with the default cut error.
    session.startTolerances(std::nullopt);
    QTRY_VERIFY_WITH_TIMEOUT(checks.ended(AnalysisKind::Tolerances), 30'000);
    QCOMPARE(checks.outline(), (QStringList{u"tolerances started"_s, u"tolerances result"_s}));
    const TuneDimensions formula = checks.tolerances->dimensions;
    QCOMPARE(formula, session.builtSetup()->formula);
    QCOMPARE(checks.tolerances->cutError, kDefaultCutErrorOfA * formula.a);

    // A tuning voids them; once it is done, the tuned design is the one analysed.
    session.startTuning(TuneGoal::FrontToBack);
    QCOMPARE(checks.outline().mid(2),
             (QStringList{u"tolerances ended voided"_s, u"tuning started"_s}));
    QTRY_VERIFY_WITH_TIMEOUT(checks.result.has_value(), 30'000);
    checks.events.clear();
    session.startTolerances(0.1);
    QTRY_VERIFY_WITH_TIMEOUT(checks.ended(AnalysisKind::Tolerances), 30'000);
    QCOMPARE(checks.outline(), (QStringList{u"tolerances started"_s, u"tolerances result"_s}));
    QCOMPARE(checks.tolerances->dimensions, checks.result->tuned);
    QVERIFY(!(checks.tolerances->dimensions == formula));
    QCOMPARE(checks.tolerances->cutError, 0.1);
}

void TestBuildAnalyses::voidedAndCancelled_data()
{
    QTest::addColumn<int>("analysis"); // AnalysisKind
    QTest::addColumn<bool>("cancel");  // else the installation changes
    QTest::addColumn<QStringList>("events");

    QTest::newRow("tolerances cancelled")
        << int(AnalysisKind::Tolerances) << true
        << QStringList{u"tolerances started"_s, u"tolerances ended cancelled"_s};
    QTest::newRow("a trim voided by the installation")
        << int(AnalysisKind::Trim) << false
        << QStringList{u"trim started"_s, u"measurement"_s, u"trim ended voided"_s,
                       u"check formula"_s};
}

void TestBuildAnalyses::voidedAndCancelled()
{
    QFETCH(int, analysis);
    QFETCH(bool, cancel);
    QFETCH(QStringList, events);

    Windows windows;
    Session &session = windows.window.session;
    if (AnalysisKind(analysis) == AnalysisKind::Tolerances) {
        session.startTolerances(std::nullopt);
    } else {
        session.startTrim(MeasuredAntenna{QString(), 145, 0});
    }
    QVERIFY(session.isRunning(AnalysisKind(analysis)));
    if (cancel) {
        session.cancelAnalysis(AnalysisKind(analysis));
    } else {
        session.setInstallation(Installation{20, {GroundKind::Perfect, 0, 0}, {}});
    }
    QVERIFY(!session.isRunning(AnalysisKind(analysis)));
    // Nothing it finds after that is shown.
    QTest::qWait(1500);
    QCOMPARE(windows.checks.outline(), events);
    QSettings(u"moxon"_s, u"moxon"_s).remove(u"designCheck"_s);
}

QTEST_GUILESS_MAIN(TestBuildAnalyses)
#include "tst_buildanalyses.moc"
