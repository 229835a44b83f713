#pragma once

#include <QStringList>
#include <QTextStream>

namespace moxon {

class EngineScheduler;

// moxon-cli sheet: the build sheet of one design as it hangs, checked with nec2c as check does
// and written as PDF without a display. `arguments` start with the program and the command;
// the exit status. Needs a QGuiApplication, which main() makes for this command.
[[nodiscard]] int sheetCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                               EngineScheduler &scheduler);

} // namespace moxon
