#include "signalend.h"

#include "standinprocesses.h"

#include <QElapsedTimer>
#include <QTest>

#include <signal.h>

namespace moxon::test {

void checkEndsOnSignal(QProcess &program, int signal, int status, const QString &pids,
                       const QDir &workFolders)
{
    QElapsedTimer clock;
    clock.start();
    ::kill(pid_t(program.processId()), signal);
    QVERIFY(program.waitForFinished(5000));
    const qint64 elapsed = clock.elapsed();
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), status);
    QVERIFY2(elapsed < 1000, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));

    const QList<qint64> started = notedNumbers(pids);
    QTRY_VERIFY2_WITH_TIMEOUT(allEnded(started), qPrintable(stillRunning(started)), kEndedWaitMs);
    const QStringList left = workFolders.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
}

} // namespace moxon::test
