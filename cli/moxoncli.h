#pragma once

#include "enginescheduler.h"

#include <QStringList>
#include <QTextStream>

namespace moxon {

// Exit statuses of the command line.
enum ExitStatus : int
{
    ExitOk = 0,
    ExitRejected = 1,  // an input the window would reject, a failed export, a deck error
    ExitUsage = 2,     // a bad argument
    ExitNoFigures = 3, // check: nec2c missing, the model beyond it, or its figures unsound
};

// moxon-cli: design, export, check and tune a Moxon rectangle from the command line, with the
// window's own calculation, messages and model writers. Numbers on the command line are read
// in the C locale, so that a script means the same everywhere. This picks the command; each
// command has a file of its own.
class MoxonCli
{
public:
    MoxonCli(QTextStream &out, QTextStream &err);

    // `arguments` as main() gets them, the program name first.
    int run(const QStringList &arguments);

    // Every engine run of the commands goes through it: what a signal ends.
    [[nodiscard]] EngineScheduler &engineScheduler() { return m_scheduler; }

private:
    QTextStream &m_out;
    QTextStream &m_err;
    EngineScheduler m_scheduler; // every engine run of the command
};

} // namespace moxon
