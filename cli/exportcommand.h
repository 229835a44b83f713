#pragma once

#include <QStringList>
#include <QTextStream>

namespace moxon {

class EngineScheduler;

// moxon-cli export: the model of one design, written as the window's export writes it.
// `arguments` start with the program and the command; the exit status.
[[nodiscard]] int exportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                                EngineScheduler &scheduler);

} // namespace moxon
