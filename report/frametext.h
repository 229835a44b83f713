#pragma once

#include "trim.h"

#include <QString>

namespace moxon {

// A pair of tails' change as the builder makes it: "cut 6.3 cm from each driven-element tail",
// "add 0.4 cm to ...", or leave them; `tails` names the element.
[[nodiscard]] QString tailAdvice(double change, const TuneSetup &setup, const QString &tails);

// Where the frame lets E change: "make E 1.2 cm deeper, the corners out along the spreaders".
[[nodiscard]] QString frameAdvice(double change, const TuneSetup &setup);

// Where the tails alone leave the front-to-back well below the rebuild's or the design's
// (frameShortfall): that the frame's own size holds it back, and what gets it back. Lines
// aligned as the trim's report, without the last line's end; empty where there is nothing to
// say.
[[nodiscard]] QString frameLines(const TrimResult &result);

} // namespace moxon
