#pragma once

#include <QStringList>
#include <QTextStream>

namespace moxon {

class EngineScheduler;

// moxon-cli trim: the cuts that bring an antenna built to a design, whose SWR dip was measured
// (an analyser's Touchstone file or the dip's frequency), onto the frequency wanted, and the
// dimensions to rebuild it for that frequency. `arguments` start with the program and the
// command; the exit status.
[[nodiscard]] int trimCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                              EngineScheduler &scheduler);

} // namespace moxon
