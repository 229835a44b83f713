#pragma once

#include <QByteArray>
#include <QString>

namespace moxon {

struct EngineRun
{
    QString output; // what the engine printed to its output file
    QString error;  // not empty when the engine could not be run
};

// Runs the NEC-2 engine nec2c, found on PATH, on `deck` in a temporary folder of its own.
[[nodiscard]] EngineRun runNec2c(const QByteArray &deck);

// The deck with its frequency card replaced by a sweep of `steps` frequencies from `start`
// in steps of `step` MHz, and its pattern cards by one execute card: impedances only.
[[nodiscard]] QByteArray sweepDeck(const QByteArray &deck, double start, double step, int steps);

} // namespace moxon
