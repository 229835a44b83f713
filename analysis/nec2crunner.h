#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace moxon {

// What went wrong with one engine run; Unreadable is decided by whoever reads the output.
enum class EngineFailure
{
    None,
    Missing,    // the program is not on PATH, or could not be started
    NotRun,     // no temporary folder, or the deck could not be written into it
    Refused,    // not run: the model is beyond what the engine can compute
    DeckError,  // the engine ended with an error status: it did not accept the deck
    Crashed,    // the engine was ended by a signal
    TimedOut,   // the engine did not finish in time and was ended
    Unreadable, // the engine's output is not what a finished run prints
    Degenerate, // the engine finished with figures no antenna has: no resistance, no field
};

struct EngineRun
{
    QString output; // what the engine printed to its output file
    QString error;  // a sentence naming nec2c and what happened; empty when the run worked
    EngineFailure failure = EngineFailure::None;
};

// The engine's name on PATH, and the longest one run may take, in milliseconds.
[[nodiscard]] inline QString nec2cProgram()
{
    return QStringLiteral("nec2c");
}
inline constexpr int kEngineTimeoutMs = 10'000;

// One run of the NEC-2 engine on one deck, in a temporary folder of its own. Started with
// start(), it reports through finished() from the event loop, or waitForFinished() blocks
// until it is done; both ways give the same result(). The engine is ended when it takes
// longer than the time-out, when abort() is called and when the object is destroyed, and it
// is always waited for, so that no engine process outlives its run. The engine runs in a
// process group of its own so that ending it also ends whatever it started (a stand-in
// script's children).
class Nec2cRunner : public QObject
{
    Q_OBJECT

public:
    // `program` is a name looked up on PATH or a path to an executable.
    explicit Nec2cRunner(QString program = nec2cProgram(), int timeoutMs = kEngineTimeoutMs,
                         QObject *parent = nullptr);
    ~Nec2cRunner() override;

    Nec2cRunner(const Nec2cRunner &) = delete;
    Nec2cRunner &operator=(const Nec2cRunner &) = delete;

    // Starts the engine on `deck`. A failure to start is reported through finished() too,
    // from the event loop, so that callers have one path for every outcome.
    void start(const QByteArray &deck);
    // Blocks until the run has finished or its time is up, or at most `msecs` (-1: no limit);
    // for callers without an event loop. True once the run has finished.
    bool waitForFinished(int msecs = -1);
    // Ends the run without reporting it.
    void abort();

    [[nodiscard]] bool isRunning() const { return m_running || m_pendingEarly; }
    [[nodiscard]] const EngineRun &result() const { return m_result; }

Q_SIGNALS:
    void finished();

private:
    void processFinished(int exitCode, QProcess::ExitStatus status);
    void processFailed(QProcess::ProcessError error);
    void timedOut();
    void finish(EngineRun run);
    void endProcess();

    QString m_program;
    int m_timeoutMs = kEngineTimeoutMs;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QProcess> m_process;
    QTimer m_timer;
    QDeadlineTimer m_deadline;
    EngineRun m_result;
    bool m_running = false;
    bool m_pendingEarly = false; // a failure to start, not yet reported
};

// Runs the engine on `deck` and waits for it.
[[nodiscard]] EngineRun runNec2c(const QByteArray &deck, const QString &program = nec2cProgram(),
                                 int timeoutMs = kEngineTimeoutMs);

} // namespace moxon
