#pragma once

#include <QStringList>
#include <QTextStream>

namespace moxon {

class EngineScheduler;

// moxon-cli check: the design check of one design as it hangs, run through nec2c with the
// window's runner. `arguments` start with the program and the command; the exit status.
[[nodiscard]] int checkCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                               EngineScheduler &scheduler);

} // namespace moxon
