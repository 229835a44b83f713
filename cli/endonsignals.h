#pragma once

#include <csignal>
#include <thread>

namespace moxon {

class EngineScheduler;

// Ends the command line cleanly on SIGINT, SIGTERM and SIGHUP: every nec2c process group the
// scheduler started is killed and its working folder removed, and the program exits at once
// with 128 plus the signal's number (130, 143, 129), as a shell reports a program a signal
// ended. The signals are blocked in every thread and taken by a thread of its own, so that
// the ending does not wait for whatever the main thread is doing. Made first thing in main(),
// before any other thread starts, so that all of them inherit the blocked signals.
class EndOnSignals
{
public:
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
