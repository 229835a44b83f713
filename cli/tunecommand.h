#pragma once

#include <QStringList>
#include <QTextStream>

namespace moxon {

class EngineScheduler;

// moxon-cli tune: one design tuned with nec2c for a goal where it hangs, with the tuned model
// written as export writes a design. `arguments` start with the program and the command; the
// exit status.
[[nodiscard]] int tuneCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                              EngineScheduler &scheduler);

} // namespace moxon
