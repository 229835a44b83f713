#pragma once

#include <QFutureWatcher>
#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

#include <functional>
#include <utility>
#include <variant>

namespace moxon {

// One analysis of the session (a tuning, the tolerances, a trim) on a worker thread, which
// waits for its engine runs in an event loop of its own. Its progress after each round and its
// result come back as results of the future, in the thread that started it. Ending it never
// waits: the worker sees the cancel within one poll of its engine runs and ends them, and
// nothing it reports after that is listened to.
template<typename Progress, typename Result> class BackgroundRun
{
public:
    using Report = std::variant<Progress, Result>;
    using Cancelled = std::function<bool()>;
    // Told after each round; returning false stops the work.
    using ProgressFn = std::function<bool(const Progress &)>;
    // The work itself, on the worker thread: it looks at the cancel while its engines run.
    using Work = std::function<Result(const Cancelled &cancelled, const ProgressFn &progress)>;

    BackgroundRun() = default;
    BackgroundRun(const BackgroundRun &) = delete;
    BackgroundRun &operator=(const BackgroundRun &) = delete;

    ~BackgroundRun()
    {
        // Deleted at once: there may be no event loop left to delete it later.
        if (m_watcher) {
            m_watcher->disconnect();
            m_watcher->cancel();
            delete m_watcher;
        }
    }

    // Ends the work in flight, then starts `work`; `onProgress` and `onResult` are called in
    // this thread, `onResult` once unless the work is ended first.
    void start(Work work, std::function<void(const Progress &)> onProgress,
               std::function<void(const Result &)> onResult)
    {
        end();
        auto *watcher = new QFutureWatcher<Report>;
        m_watcher = watcher;
        QObject::connect(watcher, &QFutureWatcher<Report>::resultReadyAt, watcher,
                         [this, watcher, onProgress = std::move(onProgress),
                          onResult = std::move(onResult)](int index) {
                             if (watcher != m_watcher) {
                                 return;
                             }
                             const Report report = watcher->future().resultAt(index);
                             if (const auto *progress = std::get_if<Progress>(&report)) {
                                 onProgress(*progress);
                                 return;
                             }
                             // Done: the watcher goes once it has finished reporting.
                             m_watcher = nullptr;
                             watcher->disconnect();
                             watcher->deleteLater();
                             onResult(std::get<Result>(report));
                         });
        watcher->setFuture(QtConcurrent::run([work = std::move(work)](QPromise<Report> &promise) {
            const Result result = work([&promise] { return promise.isCanceled(); },
                                       [&promise](const Progress &progress) {
                                           promise.addResult(Report(progress));
                                           return !promise.isCanceled();
                                       });
            promise.addResult(Report(result));
        }));
    }

    // Ends the work in flight, if any, without waiting for it.
    void end()
    {
        if (!m_watcher) {
            return;
        }
        m_watcher->disconnect();
        m_watcher->cancel();
        // It may be the watcher reporting right now.
        m_watcher->deleteLater();
        m_watcher = nullptr;
    }

    [[nodiscard]] bool isRunning() const { return m_watcher != nullptr; }

private:
    QFutureWatcher<Report> *m_watcher = nullptr; // of the work in flight, owned
};

} // namespace moxon
