// The window program ended by a signal while nec2c runs: started with its design check open on
// an engine that never answers in place of nec2c, SIGTERM, SIGHUP and SIGINT end it within a
// second, with the shell's status for the signal, and leave no engine process, no working
// folder and the settings as they were stored.

#include "signalend.h"
#include "standinprocesses.h"
#include "testsuite.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace moxon::test;
using namespace Qt::StringLiterals;

class TestWindowSignals : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void endsCleanly_data();
    void endsCleanly();
};

void TestWindowSignals::endsCleanly_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("status");
    QTest::newRow("SIGTERM") << SIGTERM << 143;
    QTest::newRow("SIGHUP") << SIGHUP << 129;
    QTest::newRow("SIGINT") << SIGINT << 130;
}

void TestWindowSignals::endsCleanly()
{
    QFETCH(int, signal);
    QFETCH(int, status);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QDir root(folder.path());
    QVERIFY(root.mkpath(u"bin"_s) && root.mkpath(u"tmp"_s) && root.mkpath(u"config/moxon"_s) &&
            root.mkpath(u"runtime"_s));
    // Qt's runtime folder, which it makes under TMPDIR when there is none, elsewhere: TMPDIR
    // holds the engines' working folders alone.
    QVERIFY(QFile::setPermissions(folder.filePath(u"runtime"_s),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(
        QFile::link(QStringLiteral(MOXON_STANDIN_DIR "/hang.sh"), folder.filePath(u"bin/nec2c"_s)));
    const QString pids = folder.filePath(u"pids"_s);
    const QDir workFolders(folder.filePath(u"tmp"_s));
    // Stored by an earlier run: the English captions, and a height kept for a check over
    // ground while it runs in free space.
    const QString settingsFile = folder.filePath(u"config/moxon/moxon.conf"_s);
    {
        QSettings stored(settingsFile, QSettings::IniFormat);
        stored.setValue(u"window/language"_s, u"en"_s);
        stored.setValue(u"designCheck/heightMetres"_s, 12.5);
        stored.setValue(u"designCheck/ground"_s, 0);
    }

    QProcess window;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"PATH"_s, folder.filePath(u"bin"_s) + u':' + environment.value(u"PATH"_s));
    environment.insert(u"TMPDIR"_s, workFolders.path());
    environment.insert(u"XDG_CONFIG_HOME"_s, folder.filePath(u"config"_s));
    environment.insert(u"XDG_RUNTIME_DIR"_s, folder.filePath(u"runtime"_s));
    environment.insert(u"MOXON_STANDIN_PIDS"_s, pids);
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    window.setProcessEnvironment(environment);
    window.start(QStringLiteral(MOXON_PROGRAM), {u"--check"_s});
    QVERIFY(window.waitForStarted());
    // The check's engines hang: at least the first one's stand-in and its child noted, its
    // folder made; the others may be starting as the signal comes.
    QTRY_VERIFY_WITH_TIMEOUT(notedNumbers(pids).size() >= 2, 20'000);
    QVERIFY(!workFolders.isEmpty(QDir::Dirs | QDir::NoDotAndDotDot));

    checkEndsOnSignal(window, signal, status, pids, workFolders);
    if (QTest::currentTestFailed()) {
        return;
    }
    const QSettings stored(settingsFile, QSettings::IniFormat);
    QCOMPARE(stored.value(u"window/language"_s).toString(), u"en"_s);
    QCOMPARE(stored.value(u"designCheck/heightMetres"_s).toDouble(), 12.5);
    QCOMPARE(stored.value(u"designCheck/ground"_s).toInt(), 0);
}

MOXON_TEST_GUILESS_MAIN(TestWindowSignals)
#include "tst_windowsignals.moc"
