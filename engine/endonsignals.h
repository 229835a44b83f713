#pragma once

#include <csignal>
#include <thread>

namespace moxon {

class EngineScheduler;

// Ends the program cleanly on SIGINT, SIGTERM and SIGHUP (a Ctrl+C in its terminal, a kill, a
// logout), the window program and the command line alike: every nec2c process group the
// scheduler started is killed and its working folder removed, and the program exits at once
// with 128 plus the signal's number (130, 143, 129), as a shell reports a program a signal
// ended. Settings are written whole by each store, so what was stored stays stored. The
// signals are blocked in every thread and taken by a thread of its own, so that the ending
// does not wait for whatever the main thread is doing (a modal dialog, a nested event loop).
// Made first thing in main(), before any other thread starts (Qt's own included: the
// fontconfig warm-up, Qt Concurrent's pool, the display connection's), so that all of them
// inherit the blocked signals; the scheduler is made before it, so that it outlives the
// watching thread.
class EndOnSignals
{
public:
    // `scheduler` must outlive this.
    explicit EndOnSignals(EngineScheduler &scheduler);
    // Lets the watching thread go; the signals stay blocked until the program exits.
    ~EndOnSignals();

    EndOnSignals(const EndOnSignals &) = delete;
    EndOnSignals &operator=(const EndOnSignals &) = delete;

    // The signals it ends the program on.
    [[nodiscard]] static sigset_t endingSignals();

private:
    std::jthread m_watch;
};

} // namespace moxon
