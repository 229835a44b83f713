#pragma once

#include "figures.h"
#include "rationalfit.h"

#include <QList>

#include <optional>

namespace moxon {

// The dip of an insulated model's bare twin, from one engine run of three frequencies instead
// of a sweep of its own. The insulation slows the wave on the wire by about the same share
// everywhere, so the bare model behaves at f nearly as the insulated one does at VF * f: its
// curve is the insulated model's fit stretched by a velocity factor VF, corrected through the
// bare model's own runs (ImpedanceCurve), which also catch what the stretch misses (the
// radiation and the ground, which do not slow with the wave).

// The frequencies of the bare model's one run, MHz: where the insulated model's dip moves with
// the estimated velocity factor, and a hundredth either side, so that the correction
// interpolates over where the bare dip lies even where the estimate is a little off.
[[nodiscard]] QList<double> bareDipFrequencies(double insulatedDipMhz, double velocityFactor);

// The bare model's dip: the velocity factor near `velocityFactor` that brings the insulated
// model's fit closest to the bare model's points (`bare`, at bareDipFrequencies()), then that
// stretched fit corrected through them, searched over the fit's band (`lowMhz` to `highMhz`
// of the insulated model) as stretched. None when that curve is lowest at an end.
[[nodiscard]] std::optional<double> bareDip(const RationalFit &insulated, double velocityFactor,
                                            const QList<SweepPoint> &bare, double lowMhz,
                                            double highMhz);

} // namespace moxon
