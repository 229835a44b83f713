#pragma once

#include <QStringList>
#include <QTextStream>

namespace moxon {

class EngineScheduler;

// moxon-cli design: the dimensions A to E for one or more frequencies or the band plan, as a
// table or as JSON lines. `arguments` start with the program and the command; the exit status.
[[nodiscard]] int designCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                                EngineScheduler &scheduler);

} // namespace moxon
