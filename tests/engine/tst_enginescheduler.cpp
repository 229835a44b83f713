#include "enginescheduler.h"
#include "nec2crunner.h"
#include "standinprocesses.h"
#include "testsuite.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>
#include <vector>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

QString standIn(const QString &name)
{
    return QStringLiteral(MOXON_STANDIN_DIR "/") + name;
}

} // namespace

class TestEngineScheduler : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void neverMoreThanSlots_data();
    void neverMoreThanSlots();
    void endAllLeavesNothing();
    void endAllWhileAFolderIsMade();
    void abortedWaiterGivesUpItsPlace();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QByteArray m_tmp;
};

void TestEngineScheduler::init()
{
    // Every run's working folder goes under a folder of this test's own, so that what is left
    // behind can be counted.
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    QVERIFY(QDir(m_folder->path()).mkpath(u"tmp"_s));
    QVERIFY(QDir(m_folder->path()).mkpath(u"runs"_s));
    m_tmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(m_folder->filePath(u"tmp"_s)));
    qputenv("MOXON_STANDIN_RUNS", QFile::encodeName(m_folder->filePath(u"runs"_s)));
    qputenv("MOXON_STANDIN_PIDS", QFile::encodeName(m_folder->filePath(u"pids"_s)));
}

void TestEngineScheduler::cleanup()
{
    qputenv("TMPDIR", m_tmp);
    m_folder.reset();
}

void TestEngineScheduler::neverMoreThanSlots_data()
{
    QTest::addColumn<int>("slots");
    QTest::addColumn<int>("runs");
    QTest::newRow("one slot, three runs") << 1 << 3;
    QTest::newRow("two slots, six runs") << 2 << 6;
    QTest::newRow("three slots, five runs") << 3 << 5;
}

void TestEngineScheduler::neverMoreThanSlots()
{
    QFETCH(int, slots);
    QFETCH(int, runs);
    EngineScheduler scheduler(slots);
    std::vector<std::unique_ptr<Nec2cRunner>> runners;
    int finished = 0;
    for (int i = 0; i < runs; ++i) {
        runners.push_back(std::make_unique<Nec2cRunner>(scheduler, standIn(u"slow.sh"_s)));
        connect(runners.back().get(), &Nec2cRunner::finished, this, [&finished] { ++finished; });
        runners.back()->start("deck\n");
    }
    QTRY_COMPARE_WITH_TIMEOUT(finished, runs, 20'000);
    for (const auto &runner : runners) {
        QCOMPARE(runner->result().failure, EngineFailure::None);
    }
    // What the stand-ins themselves saw running, not the scheduler's own count.
    const QList<qint64> counts = notedNumbers(m_folder->filePath(u"runs/counts"_s));
    QCOMPARE(counts.size(), runs);
    QVERIFY2(
        *std::max_element(counts.cbegin(), counts.cend()) <= slots,
        qPrintable(u"%1 engines at once"_s.arg(*std::max_element(counts.cbegin(), counts.cend()))));
    QCOMPARE(scheduler.peakRunning(), std::min(slots, runs));
    QCOMPARE(scheduler.running(), 0);
    QVERIFY(QDir(m_folder->filePath(u"tmp"_s)).isEmpty());
}

void TestEngineScheduler::endAllLeavesNothing()
{
    // Two hang, a third waits for a slot: ending all ends both groups (each engine with the
    // child it started), removes their folders and never starts the third.
    auto scheduler = std::make_unique<EngineScheduler>(2);
    std::vector<std::unique_ptr<Nec2cRunner>> runners;
    for (int i = 0; i < 3; ++i) {
        runners.push_back(std::make_unique<Nec2cRunner>(*scheduler, standIn(u"hang.sh"_s)));
        runners.back()->start("deck\n");
    }
    const QString pids = m_folder->filePath(u"pids"_s);
    QTRY_COMPARE(notedNumbers(pids).size(), 4);
    QCOMPARE(scheduler->running(), 2);
    const QDir tmp(m_folder->filePath(u"tmp"_s));
    QCOMPARE(tmp.entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 3);

    // From another thread, as a signal handler's would.
    std::unique_ptr<QThread> ender(QThread::create([&scheduler] { scheduler->endAll(); }));
    ender->start();
    QVERIFY(ender->wait(1000));
    QVERIFY(scheduler->isClosed());
    QTRY_VERIFY_WITH_TIMEOUT(allEnded(notedNumbers(pids)), kEndedWaitMs);
    // The waiting run's folder too: a program that exits now leaves none.
    QVERIFY2(tmp.isEmpty(), qPrintable(tmp.entryList().join(u' ')));
    QTest::qWait(100);
    QCOMPARE(notedNumbers(pids).size(), 4);

    // A run asked for afterwards is refused at once.
    Nec2cRunner late(*scheduler, standIn(u"hang.sh"_s));
    QSignalSpy finished(&late, &Nec2cRunner::finished);
    late.start("deck\n");
    QVERIFY(finished.wait(1000));
    QCOMPARE(late.result().failure, EngineFailure::NotRun);
    runners.clear();
    QVERIFY(tmp.isEmpty());
}

// A signal can come while a runner on another thread is making its working folder or writing
// its deck: whatever the moment, nothing is left once endAll() returns, as a program exiting
// then would leave it.
void TestEngineScheduler::endAllWhileAFolderIsMade()
{
    const QDir tmp(m_folder->filePath(u"tmp"_s));
    for (int round = 0; round < 30; ++round) {
        EngineScheduler scheduler(1);
        Nec2cRunner holder(scheduler, standIn(u"hang.sh"_s)); // holds the one slot
        holder.start("deck\n");
        std::atomic<bool> stop = false;
        std::unique_ptr<QThread> starter(QThread::create([&scheduler, &stop] {
            // Each start gives up the last one's place and folder and makes a new folder.
            Nec2cRunner runner(scheduler, standIn(u"hang.sh"_s));
            while (!stop) {
                runner.start("deck\n");
            }
        }));
        starter->start();
        QThread::usleep(200 + 97 * round); // a different moment each round
        scheduler.endAll();
        const QStringList left = tmp.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        stop = true;
        QVERIFY(starter->wait(5000));
        QVERIFY2(left.isEmpty(), qPrintable(u"round %1: %2"_s.arg(round).arg(left.join(u' '))));
    }
}

void TestEngineScheduler::abortedWaiterGivesUpItsPlace()
{
    EngineScheduler scheduler(1);
    Nec2cRunner first(scheduler, standIn(u"slow.sh"_s));
    Nec2cRunner waiting(scheduler, standIn(u"hang.sh"_s));
    Nec2cRunner third(scheduler, standIn(u"slow.sh"_s));
    QSignalSpy thirdDone(&third, &Nec2cRunner::finished);
    first.start("deck\n");
    waiting.start("deck\n");
    third.start("deck\n");
    waiting.abort();
    QVERIFY(thirdDone.wait(10'000));
    QCOMPARE(third.result().failure, EngineFailure::None);
    QVERIFY(notedNumbers(m_folder->filePath(u"pids"_s)).isEmpty());
    QCOMPARE(scheduler.peakRunning(), 1);
}

MOXON_TEST_GUILESS_MAIN(TestEngineScheduler)
#include "tst_enginescheduler.moc"
