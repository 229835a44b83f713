#pragma once

#include "checkreport.h"
#include "tuner.h"
#include "units.h"

#include <QString>

namespace moxon {

// The command line's report: the installation and the figures, one a line, then the sweep as
// a table. The height over ground is told in `lengthUnit`, the unit the user gave it in.
[[nodiscard]] QString checkReportText(const CheckReport &report, DisplayUnit lengthUnit);

// The command line's report of a tuning: the goal and whether it was met, formula and tuned
// dimensions with their changes, the figures before and after, the engine runs.
[[nodiscard]] QString tuneReportText(const TuneResult &result, const TuneSetup &setup);

// The direction of the beam as the command line names it: "+X" or "+Y".
[[nodiscard]] QString forwardText(const DesignFigures &figures);

} // namespace moxon
