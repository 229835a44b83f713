#pragma once

#include "buildsheet.h"

namespace moxon::test {

// The 20 m design in metres as a tuning might give it (A 7.7224, B 1.0372, C 0.1332,
// D 1.4109, E 2.5813 m), 10 m over average ground in 2 mm copper, with the default metric
// allowances and the check's figures: what the sheet's tests print and read back.
[[nodiscard]] BuildSheet twentyMetreSheet();

// The tolerances of that design, as the tolerance analysis might give them (metres).
[[nodiscard]] ToleranceResult twentyMetreTolerances();

} // namespace moxon::test
