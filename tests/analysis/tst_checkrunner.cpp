#include "checkreport.h"
#include "checkrunner.h"
#include "standinprocesses.h"
#include "testsuite.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

QString standIn(const QString &name)
{
    return QStringLiteral(MOXON_STANDIN_DIR "/") + name;
}

CheckRequest startupRequest()
{
    QFile deck(QStringLiteral(MOXON_TEST_DATA_DIR "/startup.nec"));
    if (!deck.open(QIODevice::ReadOnly)) {
        qFatal("missing test data startup.nec");
    }
    CheckRequest request;
    request.deck = deck.readAll();
    request.frequencyMhz = 146;
    // The replaying stand-in knows the 41-point sweep only.
    request.sweep = SweepMode::Full;
    return request;
}

} // namespace

class TestCheckRunner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void failures_data();
    void failures();
    void noNec2cOnPath();
    void backgroundCheckMatchesWaitedOne();
    void newerStartSupersedes();
    void failureOrder_data();
    void failureOrder();

private:
    QTemporaryDir m_folder;
    QString m_pids;
};

void TestCheckRunner::init()
{
    QVERIFY(m_folder.isValid());
    m_pids = m_folder.filePath(
        u"pids-%1"_s.arg(QString::fromUtf8(QTest::currentDataTag())).replace(u' ', u'-'));
    qputenv("MOXON_STANDIN_PIDS", QFile::encodeName(m_pids));
}

void TestCheckRunner::failures_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<EngineFailure>("failure");
    QTest::addColumn<QString>("message");

    QTest::newRow("not there") << u"/nonexistent/nec2c"_s << 10'000 << EngineFailure::Missing
                               << u"install the Debian package nec2c"_s;
    QTest::newRow("deck error") << standIn(u"reject.sh"_s) << 10'000 << EngineFailure::DeckError
                                << u"nec2c did not accept the deck (exit status 255): NO SEGMENT "
                                   "HAS AN ITAG OF 2"_s;
    QTest::newRow("crash") << standIn(u"crash.sh"_s) << 10'000 << EngineFailure::Crashed
                           << u"nec2c crashed"_s;
    QTest::newRow("unreadable output")
        << standIn(u"garbage.sh"_s) << 10'000 << EngineFailure::Unreadable
        << u"nec2c printed an output that cannot be read"_s;
    QTest::newRow("no resistance")
        << standIn(u"degenerate.sh"_s) << 10'000 << EngineFailure::UnsoundResult
        << u"feed-point resistance of -2.1e-05 ohm at 146 MHz"_s;
    QTest::newRow("no answer") << standIn(u"hang.sh"_s) << 300 << EngineFailure::TimedOut
                               << u"nec2c did not answer within 0.3 s and was ended."_s;
}

void TestCheckRunner::failures()
{
    QFETCH(QString, engine);
    QFETCH(int, timeoutMs);
    QFETCH(EngineFailure, failure);
    QFETCH(QString, message);
    const CheckOptions options{engine, timeoutMs};
    EngineScheduler scheduler(1);

    // Waited for, as the command line does.
    const CheckReport report = checkDeck(startupRequest(), scheduler, options);
    QCOMPARE(report.failure, failure);
    QVERIFY2(report.message.contains(message), qPrintable(report.message));

    // In the background, as the window does: the same sentence, and nothing else reported.
    CheckRunner runner(scheduler, options);
    QSignalSpy failed(&runner, &CheckRunner::failed);
    QSignalSpy figures(&runner, &CheckRunner::figuresReady);
    const quint64 sequence = runner.start(startupRequest());
    QVERIFY(runner.isRunning());
    QVERIFY(failed.wait(5000));
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().at(0).value<quint64>(), sequence);
    QCOMPARE(failed.first().at(1).value<EngineFailure>(), failure);
    QCOMPARE(failed.first().at(2).toString(), report.message);
    QCOMPARE(figures.size(), 0);
    QVERIFY(!runner.isRunning());

    // An engine that never answered is ended with everything it started.
    const QList<qint64> pids = notedNumbers(m_pids);
    // On one core the sweep waits for the figures run, waited for or not: one engine run
    // each time, of two processes.
    QCOMPARE(pids.size(), failure == EngineFailure::TimedOut ? 2 + 2 : 0);
    QTRY_VERIFY2_WITH_TIMEOUT(stillRunning(pids).isEmpty(), qPrintable(stillRunning(pids)), 2000);
}

void TestCheckRunner::noNec2cOnPath()
{
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m_folder.path()));
    EngineScheduler scheduler;
    const CheckReport report = checkDeck(startupRequest(), scheduler);
    CheckRunner runner(scheduler);
    QSignalSpy failed(&runner, &CheckRunner::failed);
    runner.start(startupRequest());
    const bool reported = failed.wait(5000);
    qputenv("PATH", path);

    QCOMPARE(report.failure, EngineFailure::Missing);
    QCOMPARE(report.message, u"nec2c was not found on PATH; install the Debian package nec2c "
                             "(apt-get install nec2c)."_s);
    QVERIFY(reported);
    QCOMPARE(failed.first().at(1).value<EngineFailure>(), EngineFailure::Missing);
    QCOMPARE(failed.first().at(2).toString(), report.message);
}

void TestCheckRunner::backgroundCheckMatchesWaitedOne()
{
    const CheckOptions options{standIn(u"replay.sh"_s), 10'000};
    EngineScheduler scheduler(1);
    const CheckReport report = checkDeck(startupRequest(), scheduler, options);
    QVERIFY2(report.ok(), qPrintable(report.message));

    CheckRunner runner(scheduler, options);
    QList<QString> events;
    connect(&runner, &CheckRunner::figuresReady, this,
            [&](quint64, const DesignFigures &) { events.append(u"figures"_s); });
    connect(&runner, &CheckRunner::sweepUpdated, this,
            [&](quint64, const QList<SweepPoint> &sweep) {
                events.append(u"slice of %1"_s.arg(sweep.size()));
            });
    QSignalSpy figures(&runner, &CheckRunner::figuresReady);
    QSignalSpy finished(&runner, &CheckRunner::sweepFinished);
    const quint64 sequence = runner.start(startupRequest());
    QVERIFY(finished.wait(5000));
    QCOMPARE(events, (QList<QString>{u"figures"_s, u"slice of 41"_s}));
    QVERIFY(!runner.isRunning());

    QCOMPARE(figures.first().at(0).value<quint64>(), sequence);
    const auto shown = figures.first().at(1).value<DesignFigures>();
    QCOMPARE(shown.feed.resistance, report.figures.feed.resistance);
    QCOMPARE(shown.feed.reactance, report.figures.feed.reactance);
    QCOMPARE(shown.swr, report.figures.swr);
    QCOMPARE(shown.forwardGain, report.figures.forwardGain);
    QCOMPARE(shown.frontToBack, report.figures.frontToBack);
    QCOMPARE(shown.beamwidth, report.figures.beamwidth);
    QCOMPARE(shown.azimuth.size(), report.figures.azimuth.size());

    QCOMPARE(finished.first().at(0).value<quint64>(), sequence);
    const auto outcome = finished.first().at(1).value<SweepOutcome>();
    const QList<SweepPoint> &sweep = outcome.points;
    QCOMPARE(sweep.size(), report.sweep.size());
    for (qsizetype i = 0; i < sweep.size(); ++i) {
        QCOMPARE(sweep.at(i).frequencyMhz, report.sweep.at(i).frequencyMhz);
        QCOMPARE(sweep.at(i).swr, report.sweep.at(i).swr);
    }
    // A full sweep: every point the engine's, no fit.
    QCOMPARE(outcome.engineFrequenciesMhz.size(), sweep.size());
    QVERIFY(outcome.curve.isEmpty() && !outcome.fitAgreementOhm);
    const Bandwidth &band = outcome.bandwidth;
    QCOMPARE(band.lowerMhz, report.bandwidth.lowerMhz);
    QCOMPARE(band.upperMhz, report.bandwidth.upperMhz);
    QCOMPARE(band.reachesUpper, true);
}

void TestCheckRunner::newerStartSupersedes()
{
    EngineScheduler scheduler(2);
    auto runner =
        std::make_unique<CheckRunner>(scheduler, CheckOptions{standIn(u"hang.sh"_s), 10'000});
    QSignalSpy failed(runner.get(), &CheckRunner::failed);
    QSignalSpy figures(runner.get(), &CheckRunner::figuresReady);

    // On two slots a slice runs beside the figures run: two engine runs of two processes.
    const quint64 first = runner->start(startupRequest());
    QTRY_COMPARE(notedNumbers(m_pids).size(), 4);
    const QList<qint64> firstRun = notedNumbers(m_pids);
    const quint64 second = runner->start(startupRequest());
    QVERIFY(second > first);
    // Ended before start() returned: each engine waited for, its own children killed with it
    // (they may take a moment to die: nobody waits for them).
    QTRY_VERIFY2_WITH_TIMEOUT(stillRunning(firstRun).isEmpty(), qPrintable(stillRunning(firstRun)),
                              2000);
    QTRY_COMPARE(notedNumbers(m_pids).size(), 8);
    QVERIFY(runner->isRunning());

    // The runner goes away with a run in flight: its engine goes with it.
    const QList<qint64> secondRun = notedNumbers(m_pids).mid(4);
    runner.reset();
    QTRY_VERIFY2_WITH_TIMEOUT(stillRunning(secondRun).isEmpty(),
                              qPrintable(stillRunning(secondRun)), 2000);
    QTest::qWait(50);
    QCOMPARE(failed.size(), 0);
    QCOMPARE(figures.size(), 0);
}

void TestCheckRunner::failureOrder_data()
{
    QTest::addColumn<QString>("waits");   // the kind of run held back until the test lets it end
    QTest::addColumn<QString>("answers"); // what the figures run answers
    QTest::addColumn<EngineFailure>("failure");
    QTest::addColumn<QString>("message");

    const QString noResistance = u"feed-point resistance of -2.1e-05 ohm at 146 MHz"_s;
    // Figures no antenna has are what the check is about, whichever run ends first.
    QTest::newRow("slice fails, then figures of no antenna")
        << u"figures"_s << u"degenerate"_s << EngineFailure::UnsoundResult << noResistance;
    QTest::newRow("figures of no antenna, slice still running")
        << u"sweep"_s << u"degenerate"_s << EngineFailure::UnsoundResult << noResistance;
    // Sound figures: the slice's failure is told once they are read.
    QTest::newRow("slice fails, then sound figures")
        << u"figures"_s << u"sound"_s << EngineFailure::Crashed << u"nec2c crashed"_s;
}

void TestCheckRunner::failureOrder()
{
    QFETCH(QString, waits);
    QFETCH(QString, answers);
    QFETCH(EngineFailure, failure);
    QFETCH(QString, message);
    const QString release = m_folder.filePath(
        u"release-%1"_s.arg(QString::fromUtf8(QTest::currentDataTag())).replace(u' ', u'-'));
    qputenv("MOXON_STANDIN_WAITS", waits.toUtf8());
    qputenv("MOXON_STANDIN_FIGURES", answers.toUtf8());
    qputenv("MOXON_STANDIN_RELEASE", QFile::encodeName(release));

    // Two slots in free space: a slice runs beside the figures run.
    EngineScheduler scheduler(2);
    CheckRunner runner(scheduler, CheckOptions{standIn(u"ordered.sh"_s), 60'000});
    QSignalSpy failed(&runner, &CheckRunner::failed);
    runner.start(startupRequest());
    if (waits == u"figures") {
        // The slice has run and its end has been taken in: the scheduler gives a slot back
        // only as the run's end is delivered, in this thread.
        QTRY_VERIFY_WITH_TIMEOUT(notedNumbers(m_pids).size() >= 2 && scheduler.running() < 2,
                                 30'000);
        // Nothing is told while the figures run is out.
        QTest::qWait(100);
        QCOMPARE(failed.size(), 0);
        QVERIFY(runner.isRunning());
        QVERIFY(QFile(release).open(QIODevice::WriteOnly));
    }
    QVERIFY(failed.wait(30'000));
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().at(1).value<EngineFailure>(), failure);
    const QString told = failed.first().at(2).toString();
    QVERIFY2(told.contains(message), qPrintable(told));
    QVERIFY(!runner.isRunning());
    // The run held back is ended with the check, not left waiting.
    const QList<qint64> pids = notedNumbers(m_pids);
    QTRY_VERIFY2_WITH_TIMEOUT(stillRunning(pids).isEmpty(), qPrintable(stillRunning(pids)), 5000);
    QTest::qWait(50);
    QCOMPARE(failed.size(), 1);
}

MOXON_TEST_GUILESS_MAIN(TestCheckRunner)
#include "tst_checkrunner.moc"
