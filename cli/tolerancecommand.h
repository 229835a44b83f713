#pragma once

#include <QStringList>
#include <QTextStream>

namespace moxon {

class EngineScheduler;

// moxon-cli tolerance: how exactly each cut of a design must be made where it hangs, and the
// share of builds that stay within the limits when every cut is off a little. `arguments`
// start with the program and the command; the exit status.
[[nodiscard]] int toleranceCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                                   EngineScheduler &scheduler);

} // namespace moxon
