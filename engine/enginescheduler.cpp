#include "enginescheduler.h"

#include "nec2crunner.h"

#include <QDir>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <signal.h>
#include <thread>

namespace moxon {

EngineScheduler::EngineScheduler(int slots)
    : m_slots(slots > 0 ? slots : std::max(1, QThread::idealThreadCount()))
{
}

EngineScheduler::~EngineScheduler()
{
    endAll();
}

int EngineScheduler::running() const
{
    const std::lock_guard lock(m_mutex);
    return int(std::count_if(m_running.cbegin(), m_running.cend(),
                             [](const Running &run) { return run.pid > 0; }));
}

int EngineScheduler::peakRunning() const
{
    const std::lock_guard lock(m_mutex);
    return m_peak;
}

bool EngineScheduler::isClosed() const
{
    const std::lock_guard lock(m_mutex);
    return m_closed;
}

std::unique_ptr<QTemporaryDir> EngineScheduler::workFolder(QString &error)
{
    const std::lock_guard lock(m_mutex);
    if (m_closed) {
        return nullptr;
    }
    auto folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid()) {
        error = folder->errorString();
        return nullptr;
    }
    m_folders.append(folder->path());
    return folder;
}

void EngineScheduler::forgetFolder(const QString &folder)
{
    const std::lock_guard lock(m_mutex);
    m_folders.removeOne(folder);
}

EngineScheduler::Ask EngineScheduler::ask(Nec2cRunner *runner)
{
    const std::lock_guard lock(m_mutex);
    if (m_closed) {
        return Ask::Closed;
    }
    const auto holds = [runner](const Running &run) {
        return run.runner == runner;
    };
    if (std::any_of(m_running.cbegin(), m_running.cend(), holds)) {
        return Ask::Granted;
    }
    if (std::any_of(m_waiting.cbegin(), m_waiting.cend(), holds)) {
        return Ask::Queued;
    }
    if (m_running.size() < m_slots && m_waiting.isEmpty()) {
        m_running.append({runner, 0});
        return Ask::Granted;
    }
    m_waiting.append({runner, 0});
    return Ask::Queued;
}

bool EngineScheduler::launch(Nec2cRunner *runner, const std::function<qint64()> &launch)
{
    const std::lock_guard lock(m_mutex);
    const auto found = std::find_if(m_running.begin(), m_running.end(),
                                    [runner](const Running &run) { return run.runner == runner; });
    if (m_closed || found == m_running.end()) {
        return false;
    }
    found->pid = launch();
    const int now = int(std::count_if(m_running.cbegin(), m_running.cend(),
                                      [](const Running &run) { return run.pid > 0; }));
    m_peak = std::max(m_peak, now);
    return true;
}

void EngineScheduler::release(Nec2cRunner *runner)
{
    std::unique_lock lock(m_mutex);
    const auto ofRunner = [runner](const Running &run) {
        return run.runner == runner;
    };
    m_waiting.removeIf(ofRunner);
    const auto before = m_running.size();
    m_running.removeIf(ofRunner);
    if (m_running.size() != before) {
        grantNext(lock);
    }
}

void EngineScheduler::grantNext(std::unique_lock<std::mutex> &lock)
{
    while (!m_closed && m_running.size() < m_slots && !m_waiting.isEmpty()) {
        const Running next = m_waiting.takeFirst();
        m_running.append(next);
        // Told in its own thread; a runner destroyed before the call arrives releases its
        // slot in its destructor, and the call is dropped with it.
        QMetaObject::invokeMethod(next.runner, &Nec2cRunner::slotGranted, Qt::QueuedConnection);
    }
    (void)lock;
}

void EngineScheduler::endAll()
{
    QStringList folders;
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
        m_waiting.clear();
        for (const Running &run : std::as_const(m_running)) {
            if (run.pid > 0) {
                // The engine runs in a group of its own: whatever it started ends with it.
                ::kill(-pid_t(run.pid), SIGKILL);
                ::kill(pid_t(run.pid), SIGKILL);
            }
        }
        // Every run's, started, waiting or still writing its deck.
        folders = m_folders;
    }
    // A killed engine may hold its output open for a moment: try again briefly.
    for (const QString &folder : std::as_const(folders)) {
        for (int attempt = 0; attempt < 50 && QDir(folder).exists(); ++attempt) {
            if (!QDir(folder).removeRecursively()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
    }
}

} // namespace moxon
