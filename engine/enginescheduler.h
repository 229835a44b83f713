#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>

class QTemporaryDir;

namespace moxon {

class Nec2cRunner;

// Every engine run of a program goes through one scheduler: at most slots() nec2c processes at
// once, one a core by default, the others waiting in the order they asked. The check's slices
// and the tuning's candidates share it, so that a tuning on a worker thread and a check on the
// window's thread never run more engines together than the machine has cores. It is the one
// owner of that number: whoever plans a round of runs to keep the engines busy asks slots().
//
// It is thread-safe. A runner asks for a slot from its own thread and gets it at once or, when
// every slot is taken, later, through a queued call into that thread's event loop. endAll()
// may be called from any thread, a signal-handling one included: it kills every running
// engine's process group, removes every run's working folder, which the scheduler makes, and
// refuses every run and folder after it, so that a program ending on a signal leaves nothing
// behind.
class EngineScheduler
{
public:
    // `slots` engines at once; 0 or less: QThread::idealThreadCount().
    explicit EngineScheduler(int slots = 0);
    ~EngineScheduler();

    EngineScheduler(const EngineScheduler &) = delete;
    EngineScheduler &operator=(const EngineScheduler &) = delete;

    [[nodiscard]] int slots() const { return m_slots; }
    // Engines running now, and the most that ever ran at once.
    [[nodiscard]] int running() const;
    [[nodiscard]] int peakRunning() const;

    // Ends every run, running or waiting, and refuses every later one.
    void endAll();
    [[nodiscard]] bool isClosed() const;

private:
    friend class Nec2cRunner;

    enum class Ask
    {
        Granted, // the runner may start its engine now
        Queued,  // it is told later, through Nec2cRunner::slotGranted()
        Closed,  // the scheduler was ended: no run
    };
    // A new working folder for a run, made under the scheduler's lock so that endAll() either
    // removes it or came first and refuses it: a signal on another thread can come while a
    // runner makes its folder. None once ended (`error` empty) or when none could be made
    // (`error` says why). The runner removes it, then has it forgotten (forgetFolder).
    [[nodiscard]] std::unique_ptr<QTemporaryDir> workFolder(QString &error);
    void forgetFolder(const QString &folder);
    // A runner asks for a slot. A runner that already holds a slot or waits keeps its place.
    Ask ask(Nec2cRunner *runner);
    // Starts the engine through `launch` under the scheduler's lock, so that endAll() sees
    // every process that exists; `launch` returns its process id (0 when none started). False
    // when the scheduler was ended meanwhile.
    bool launch(Nec2cRunner *runner, const std::function<qint64()> &launch);
    // The runner's engine has ended, or the runner gave up its place: the slot goes on.
    void release(Nec2cRunner *runner);

    struct Running
    {
        Nec2cRunner *runner = nullptr;
        qint64 pid = 0; // also the id of its process group; 0 until launched
    };

    void grantNext(std::unique_lock<std::mutex> &lock);

    const int m_slots;
    mutable std::mutex m_mutex;
    QList<Running> m_running; // holding a slot
    QList<Running> m_waiting; // in the order they asked
    QStringList m_folders;    // the runs' working folders, from workFolder() until forgotten
    int m_peak = 0;
    bool m_closed = false;
};

} // namespace moxon
