#pragma once

#include "nec2crunner.h"

#include <QByteArray>
#include <QString>

namespace moxon::test {

// Runs the engine on `deck` and waits for it in an event loop of its own, as the only engine of
// a one-slot scheduler of its own: for tests that run one deck outside any program.
[[nodiscard]] EngineRun runNec2c(const QByteArray &deck, const QString &program = nec2cProgram(),
                                 int timeoutMs = kEngineTimeoutMs);

} // namespace moxon::test
