#pragma once

#include <QStringList>
#include <QTextStream>

namespace moxon {

class EngineScheduler;

// moxon-cli diagnose: which cut of an antenna built to a design is off, read from its
// measured impedance curve (an analyser's Touchstone file), with the trim of each piece that
// brings it onto the frequency wanted. `arguments` start with the program and the command; the
// exit status.
[[nodiscard]] int diagnoseCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                                  EngineScheduler &scheduler);

} // namespace moxon
