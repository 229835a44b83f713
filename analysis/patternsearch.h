#pragma once

#include "tunesearch.h"

namespace moxon {

// The front-to-back goal's search from the formula design (whose figures are `formula`): a
// pattern search over the scale, the gap and the reflector's tails for the best front-to-back
// with an SWR within kFrontToBackSwr.
void searchFrontToBack(TuneSearch &search, const DesignFigures &formula);

// The band goal's: a pattern search over the match's three factors for the lowest worst SWR
// over the band, giving up at most kBandFrontToBackDrop of front-to-back.
void searchBand(TuneSearch &search, const DesignFigures &formula);

} // namespace moxon
