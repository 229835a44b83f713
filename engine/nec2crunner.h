#pragma once

#include "enginescheduler.h"

#include <QByteArray>
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
    Missing,       // the program is not on PATH, or could not be started
    NotRun,        // no temporary folder, or the deck could not be written into it
    Refused,       // not run: the model is beyond what the engine can compute
    DeckError,     // the engine ended with an error status: it did not accept the deck
    Crashed,       // the engine was ended by a signal
    TimedOut,      // the engine did not finish in time and was ended
    Unreadable,    // the engine's output is not what a finished run prints
    UnsoundResult, // the engine finished with figures no antenna has: no resistance, no field
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
// How long a run waits for its engine to go once it was killed, in milliseconds. SIGKILL ends a
// process at once unless the kernel holds it in an uninterruptible wait (a hung file system);
// waiting longer would only freeze the thread that ends the run.
inline constexpr int kEngineEndWaitMs = 1000;

// One run of the NEC-2 engine on one deck, in a temporary folder of its own. start() asks the
// scheduler for a slot and starts the engine when it has one; finished() reports the outcome
// from the event loop of the runner's thread, which must have one. The engine is ended when
// it takes longer than the time-out (counted from its own start, not from the wait for a
// slot), when abort() is called and when the object is destroyed, and it is waited for, so
// that no engine process outlives its run; one that the kernel does not let go within
// kEngineEndWaitMs is left to the thread's event loop, which reaps it when it goes. The engine
// runs in a process group of its own so that ending it also ends whatever it started (a
// stand-in script's children).
class Nec2cRunner : public QObject
{
    Q_OBJECT

public:
    // `program` is a name looked up on PATH or a path to an executable.
    explicit Nec2cRunner(EngineScheduler &scheduler, QString program = nec2cProgram(),
                         int timeoutMs = kEngineTimeoutMs, QObject *parent = nullptr);
    ~Nec2cRunner() override;

    Nec2cRunner(const Nec2cRunner &) = delete;
    Nec2cRunner &operator=(const Nec2cRunner &) = delete;

    // Starts the engine on `deck`, now or once the scheduler has a slot. A failure to start is
    // reported through finished() too, from the event loop, so that callers have one path for
    // every outcome.
    void start(const QByteArray &deck);
    // Ends the run, or its wait for a slot, without reporting it.
    void abort();

    [[nodiscard]] bool isRunning() const { return m_running || m_pendingEarly; }
    [[nodiscard]] const EngineRun &result() const { return m_result; }

Q_SIGNALS:
    void finished();

private:
    friend class EngineScheduler;
    // The scheduler's queued answer to a run that waited for a slot.
    void slotGranted();
    void launch();
    void failEarly(EngineFailure failure, const QString &message);
    void processFinished(int exitCode, QProcess::ExitStatus status);
    void processFailed(QProcess::ProcessError error);
    void timedOut();
    void finish(EngineRun run);
    void endProcess();
    // The working folder removed, and then forgotten by the scheduler.
    void dropFolder();

    EngineScheduler &m_scheduler;
    QString m_program;
    QString m_executable; // the program found, once start() looked
    int m_timeoutMs = kEngineTimeoutMs;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QProcess> m_process;
    QTimer m_timer;
    EngineRun m_result;
    bool m_running = false;
    bool m_waiting = false;      // for a slot
    bool m_pendingEarly = false; // a failure to start, not yet reported
};

} // namespace moxon
