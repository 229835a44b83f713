// moxon-cli ended by a signal while nec2c runs: with an engine that never answers in place of
// nec2c, SIGINT, SIGTERM and SIGHUP end the command within a second, with the shell's status
// for the signal, and leave no engine process and no working folder behind.

#include "cliprocess.h"
#include "signalend.h"
#include "standinprocesses.h"
#include "testsuite.h"

#include <QTest>

#include <csignal>

using namespace moxon::test;
using namespace Qt::StringLiterals;

class TestCliSignals : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void endsCleanly_data();
    void endsCleanly();
};

void TestCliSignals::endsCleanly_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("engines"); // hanging runs before the signal, two processes each
    QTest::addColumn<int>("status");

    // A tuning starts with the formula design alone.
    const QStringList tune{u"tune"_s, u"-f"_s, u"14.15"_s, u"--json"_s};
    // A check runs its figures and as many slices beside as the cores allow.
    const QStringList check{u"check"_s, u"-f"_s, u"146"_s};
    QTest::newRow("tune, Ctrl+C") << tune << SIGINT << 1 << 130;
    QTest::newRow("tune, SIGTERM") << tune << SIGTERM << 1 << 143;
    QTest::newRow("tune, SIGHUP") << tune << SIGHUP << 1 << 129;
    QTest::newRow("check, Ctrl+C") << check << SIGINT << 2 << 130;
}

void TestCliSignals::endsCleanly()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, signal);
    QFETCH(int, engines);
    QFETCH(int, status);
    const EngineFolder engine(EngineFolder::standIn(u"hang"_s));
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString pids = engine.filePath(u"pids"_s);

    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"PATH"_s, withSystemTools(engine.path()));
    environment.insert(u"TMPDIR"_s, tmp.path());
    environment.insert(u"MOXON_STANDIN_PIDS"_s, pids);
    cli.setProcessEnvironment(environment);
    cli.start(QStringLiteral(MOXON_CLI_PROGRAM), arguments);
    QVERIFY(cli.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(notedNumbers(pids).size() >= 2 * engines, 10'000);
    QVERIFY(!QDir(tmp.path()).isEmpty());

    checkEndsOnSignal(cli, signal, status, pids, QDir(tmp.path()));
    QVERIFY(cli.readAllStandardOutput().isEmpty());
}

MOXON_TEST_GUILESS_MAIN(TestCliSignals)
#include "tst_clisignals.moc"
