#pragma once

#include <thread>

namespace moxon {

// Has fontconfig read the machine's font configuration (its XML files and font caches, about
// a quarter of the work before the window's first paint) on a thread of its own, while the
// application connects to the display and loads its platform plugin on the main thread. The
// first font the window uses then finds the configuration read.
//
// Make it before the application object and wait() before the first font is used: fontconfig
// is thread-safe, but a thread that finds the configuration still unread reads it again.
class FontConfigWarmUp
{
public:
    FontConfigWarmUp();

    void wait();

private:
    std::jthread m_reader; // not started where no thread can be had; joins when destroyed
};

} // namespace moxon
