#include "endonsignals.h"

#include "enginescheduler.h"

#include <cstdlib>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace moxon {

namespace {

// What the watcher is woken with when the program ends normally: not one of the ending
// signals, and blocked with them.
constexpr int kWakeSignal = SIGUSR2;

} // namespace

sigset_t EndOnSignals::endingSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

EndOnSignals::EndOnSignals(EngineScheduler &scheduler)
{
    sigset_t watched = endingSignals();
    sigaddset(&watched, kWakeSignal);
    pthread_sigmask(SIG_BLOCK, &watched, nullptr);
    m_watch = std::jthread([&scheduler, watched] {
        int signal = 0;
        if (sigwait(&watched, &signal) != 0 || signal == kWakeSignal) {
            return;
        }
        // What the main thread would print from now on (a failure of the engines ended
        // below) answers nothing: standard output and error go nowhere first.
        const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (nowhere >= 0) {
            ::dup2(nowhere, STDOUT_FILENO);
            ::dup2(nowhere, STDERR_FILENO);
        }
        scheduler.endAll();
        // Nothing else runs down: the main thread may be anywhere.
        std::_Exit(128 + signal);
    });
}

EndOnSignals::~EndOnSignals()
{
    pthread_kill(m_watch.native_handle(), kWakeSignal);
}

} // namespace moxon
