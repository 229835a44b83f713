#include "nec2crunner.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStandardPaths>

#include <signal.h>
#include <unistd.h>

namespace moxon {

namespace {

// The program to start, or empty when there is none: a bare name is looked up on PATH.
QString executable(const QString &program)
{
    if (program.contains(u'/')) {
        const QFileInfo file(program);
        return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

QString endedMessage()
{
    return QStringLiteral("nec2c was not run: the program is ending.");
}

QString missingEngine()
{
    return QStringLiteral("nec2c was not found on PATH; install the Debian package nec2c "
                          "(apt-get install nec2c).");
}

// The engine prints why it stopped as the last line of its output file.
QString lastLine(const QString &text)
{
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        const QString line = lines.at(i).simplified();
        if (!line.isEmpty()) {
            return line;
        }
    }
    return {};
}

} // namespace

Nec2cRunner::Nec2cRunner(EngineScheduler &scheduler, QString program, int timeoutMs,
                         QObject *parent)
    : QObject(parent)
    , m_scheduler(scheduler)
    , m_program(std::move(program))
    , m_timeoutMs(timeoutMs)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &Nec2cRunner::timedOut);
}

Nec2cRunner::~Nec2cRunner()
{
    endProcess();
    m_scheduler.release(this);
    dropFolder();
}

void Nec2cRunner::dropFolder()
{
    // Removed before it is forgotten: while it exists the scheduler knows of it.
    if (m_folder) {
        const QString path = m_folder->path();
        m_folder.reset();
        m_scheduler.forgetFolder(path);
    }
}

void Nec2cRunner::failEarly(EngineFailure failure, const QString &message)
{
    // Reported from the event loop like every other outcome; abort() or a later start() in
    // between drops the report.
    finish({{}, message, failure});
    m_pendingEarly = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_pendingEarly) {
                m_pendingEarly = false;
                Q_EMIT finished();
            }
        },
        Qt::QueuedConnection);
}

void Nec2cRunner::start(const QByteArray &deck)
{
    abort();
    m_process.reset();
    m_result = {};
    m_running = true;

    m_executable = executable(m_program);
    if (m_executable.isEmpty()) {
        failEarly(EngineFailure::Missing, missingEngine());
        return;
    }
    QString error;
    m_folder = m_scheduler.workFolder(error);
    if (!m_folder) {
        failEarly(
            EngineFailure::NotRun,
            error.isEmpty()
                ? endedMessage()
                : QStringLiteral("nec2c could not be run: no temporary folder (%1).").arg(error));
        return;
    }
    QFile deckFile(m_folder->filePath(QStringLiteral("model.nec")));
    if (!deckFile.open(QIODevice::WriteOnly) || deckFile.write(deck) != deck.size() ||
        !deckFile.flush()) {
        failEarly(EngineFailure::NotRun,
                  QStringLiteral("nec2c could not be run: the deck was not written (%1).")
                      .arg(deckFile.errorString()));
        return;
    }
    deckFile.close();

    switch (m_scheduler.ask(this)) {
    case EngineScheduler::Ask::Granted:
        launch();
        break;
    case EngineScheduler::Ask::Queued:
        m_waiting = true;
        break;
    case EngineScheduler::Ask::Closed:
        failEarly(EngineFailure::NotRun, endedMessage());
        break;
    }
}

void Nec2cRunner::slotGranted()
{
    if (!m_waiting) {
        // Aborted meanwhile, and the slot given back; or a stale call.
        return;
    }
    m_waiting = false;
    launch();
}

void Nec2cRunner::launch()
{
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    // A group of its own, so that ending the run ends everything the engine started; and no
    // signal blocked, whatever this program blocks for its own handling of them.
    m_process->setChildProcessModifier([] {
        ::setpgid(0, 0);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
    });
    connect(m_process.get(), &QProcess::finished, this, &Nec2cRunner::processFinished);
    connect(m_process.get(), &QProcess::errorOccurred, this, &Nec2cRunner::processFailed);
    const QString folder = m_folder->path();
    const bool started = m_scheduler.launch(this, [this, &folder] {
        m_process->start(m_executable,
                         {QStringLiteral("-i"), folder + QStringLiteral("/model.nec"),
                          QStringLiteral("-o"), folder + QStringLiteral("/model.out")});
        // Also from this side, so that the group exists before anyone may signal it.
        const qint64 pid = m_process->processId();
        if (pid > 0) {
            ::setpgid(pid_t(pid), pid_t(pid));
        }
        return pid;
    });
    if (!started) {
        endProcess();
        m_scheduler.release(this);
        failEarly(EngineFailure::NotRun, endedMessage());
        return;
    }
    m_timer.start(m_timeoutMs);
}

void Nec2cRunner::abort()
{
    m_pendingEarly = false;
    m_waiting = false;
    endProcess();
    m_scheduler.release(this);
    dropFolder();
    m_running = false;
}

void Nec2cRunner::processFinished(int exitCode, QProcess::ExitStatus status)
{
    if (!m_running) {
        return;
    }
    QFile outputFile(m_folder->filePath(QStringLiteral("model.out")));
    const bool haveOutput = outputFile.open(QIODevice::ReadOnly);
    const QString output = haveOutput ? QString::fromLatin1(outputFile.readAll()) : QString();
    const QString printed = QString::fromLocal8Bit(m_process->readAll()).simplified();

    if (status == QProcess::CrashExit) {
        finish({output, QStringLiteral("nec2c crashed before it finished the run."),
                EngineFailure::Crashed});
    } else if (exitCode != 0) {
        // nec2c stops on a deck it cannot use with a non-zero status and says why as the last
        // line of its output, or, when it could not read its files, on its error output.
        const QString reason = lastLine(output).isEmpty() ? printed : lastLine(output);
        finish({output,
                QStringLiteral("nec2c did not accept the deck (exit status %1): %2")
                    .arg(exitCode)
                    .arg(reason.isEmpty() ? QStringLiteral("no reason given") : reason),
                EngineFailure::DeckError});
    } else if (!haveOutput) {
        finish({{}, QStringLiteral("nec2c wrote no output file."), EngineFailure::Unreadable});
    } else {
        finish({output, {}, EngineFailure::None});
    }
    Q_EMIT finished();
}

void Nec2cRunner::processFailed(QProcess::ProcessError error)
{
    // A crash or a read error is followed by finished(); only a failed start is not.
    if (!m_running || error != QProcess::FailedToStart) {
        return;
    }
    const QString reason = m_process->errorString();
    endProcess();
    finish({{},
            QStringLiteral("nec2c could not be started: %1.").arg(reason),
            EngineFailure::Missing});
    Q_EMIT finished();
}

void Nec2cRunner::timedOut()
{
    if (!m_running) {
        return;
    }
    // The engine may have ended just before the time-out came, its end not yet delivered.
    if (m_process && m_process->state() != QProcess::NotRunning && m_process->waitForFinished(0)) {
        return;
    }
    endProcess();
    finish({{},
            QStringLiteral("nec2c did not answer within %1 s and was ended.")
                .arg(QString::number(m_timeoutMs / 1000.0, 'g', 3)),
            EngineFailure::TimedOut});
    Q_EMIT finished();
}

void Nec2cRunner::finish(EngineRun run)
{
    m_timer.stop();
    m_result = std::move(run);
    m_running = false;
    m_waiting = false;
    dropFolder();
    m_scheduler.release(this);
}

void Nec2cRunner::endProcess()
{
    m_timer.stop();
    if (!m_process) {
        return;
    }
    disconnect(m_process.get(), nullptr, this, nullptr);
    if (m_process->state() != QProcess::NotRunning) {
        const qint64 pid = m_process->processId();
        if (pid > 0) {
            ::kill(-pid_t(pid), SIGKILL);
        }
        m_process->kill();
        if (!m_process->waitForFinished(kEngineEndWaitMs)) {
            // Killed, but held by the kernel: it goes once the kernel lets it. Its process
            // object, which would wait for it again when destroyed, goes with it, from this
            // thread's event loop; the run and its slot end now.
            QProcess *held = m_process.release();
            connect(held, &QProcess::finished, held, &QObject::deleteLater);
        }
    }
}

} // namespace moxon
