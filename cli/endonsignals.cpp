#include "endonsignals.h"

#include "enginescheduler.h"

#include <cstdlib>
#include <pthread.h>

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
        scheduler.endAll();
        // Nothing else runs down: the main thread may be anywhere, and what it would print
        // now is no answer to anything.
        std::_Exit(128 + signal);
    });
}

EndOnSignals::~EndOnSignals()
{
    pthread_kill(m_watch.native_handle(), kWakeSignal);
}

} // namespace moxon
