#pragma once

#include "checkreport.h"
#include "tolerance.h"
#include "trim.h"
#include "tuner.h"
#include "units.h"

#include <QString>

namespace moxon {

// The command line's report: the installation and the figures, one a line, then the sweep as
// a table. The height over ground and the feed line's length are told in `lengthUnit`, the
// unit the user gave them in. With a feed line, the radio's figures follow the antenna's, and
// the table gains the SWR at the radio.
[[nodiscard]] QString checkReportText(const CheckReport &report, DisplayUnit lengthUnit);

// The command line's report of a tuning: the goal and whether it was met, formula and tuned
// dimensions with their changes, the figures before and after, the engine runs.
[[nodiscard]] QString tuneReportText(const TuneResult &result, const TuneSetup &setup);

// The command line's report of the tolerances: the design and its figures, the limits, each
// dimension's sensitivities and tolerances in the builder's step, the yield.
[[nodiscard]] QString toleranceReportText(const ToleranceResult &result, const TuneSetup &setup,
                                          DisplayUnit lengthUnit);

// The field trim of `result`, which has one, as the trim's report gives it under `heading`:
// each pair of tails' and E's change, the dimensions before and after, what it predicts.
[[nodiscard]] QString fieldTrimText(const TrimResult &result, const TuneSetup &setup,
                                    const QString &heading);

// The command line's report of a trim: the measured and the model's dip and the scale, the
// field trim's cuts and the rebuild's dimensions with what each predicts, both predicted SWR
// curves. `measured` says where the measured dip came from: "from antenna.s1p, SWR 1.04".
[[nodiscard]] QString trimReportText(const TrimResult &result, const TuneSetup &setup,
                                     DisplayUnit lengthUnit, const QString &measured);

// "10 m (0.47 wavelengths) above average ground (eps 13, sigma 0.005 S/m), copper wire", the
// height in `unit`; insulated wire adds ", pvc insulation 0.8 mm thick (eps 3.5)".
[[nodiscard]] QString installationLine(const Installation &installation, double f0Mhz,
                                       DisplayUnit unit);

// What the insulation does to the dip, for the command line: "the insulation lowers the dip by
// 2.6 %: 14.073 → 13.708 MHz".
[[nodiscard]] QString insulationShiftText(double bareDipMhz, double dipMhz);
// "30 m of RG-58 (50 ohm, velocity factor 0.66, 5.70 dB/100 m matched at 14.150 MHz)", the
// length in `unit`.
[[nodiscard]] QString feedLineLine(const FeedLine &line, double f0Mhz, DisplayUnit unit);

// The direction of the beam as the command line names it: "+X" or "+Y".
[[nodiscard]] QString forwardText(const DesignFigures &figures);

} // namespace moxon
