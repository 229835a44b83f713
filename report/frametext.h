#pragma once

#include "trim.h"

#include <QString>

namespace moxon {

// Where the frame lets E change: "make E 1.2 cm deeper, the corners out along the spreaders".
[[nodiscard]] QString frameAdvice(double change, const TuneSetup &setup);

// Where the tails alone leave the front-to-back well below the rebuild's (frameShortfall): that
// the frame's own size holds it back, and what gets it back. Lines aligned as the trim's report,
// without the last line's end; empty where there is nothing to say.
[[nodiscard]] QString frameLines(const TrimResult &result);

} // namespace moxon
