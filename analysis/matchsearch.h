#pragma once

#include "tunesearch.h"

namespace moxon {

// The match goal's search from the formula design (whose figures are `formula`): a damped
// Gauss-Newton search on resistance, reactance and any loss of front-to-back over the overall
// scale, the driven element's tails and the reflector's tails. Each round probes the three
// factors side by side for the Jacobian, then tries three dampings of the step side by side.
void searchMatch(TuneSearch &search, const DesignFigures &formula);

} // namespace moxon
