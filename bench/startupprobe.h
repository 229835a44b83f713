#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>

namespace moxon::bench {

// Prints the wall-clock time, in nanoseconds since the epoch, at which the window was first
// exposed and painted, then ends the program. bench/startup.sh subtracts the time at which it
// started the process.
class FirstExposeProbe : public QObject
{
public:
    explicit FirstExposeProbe(QWidget &window)
    {
        window.winId(); // creates the native window, so that its expose events can be seen
        window.windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWindow *>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed() && !m_seen) {
            m_seen = true;
            // Queued: runs once the expose has been handled, that is once the window is painted.
            QMetaObject::invokeMethod(
                this,
                [] {
                    timespec now{};
                    clock_gettime(CLOCK_REALTIME, &now);
                    std::printf("%lld\n",
                                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                    std::fflush(stdout);
                    QCoreApplication::quit();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool m_seen = false;
};

} // namespace moxon::bench
