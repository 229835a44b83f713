#pragma once

#include "figures.h"

#include <QList>

#include <optional>

namespace moxon {

// A band of frequencies to cover, in MHz.
struct BandRange
{
    double lowMhz = 0;
    double highMhz = 0;

    [[nodiscard]] bool operator==(const BandRange &) const = default;
};

// The frequencies the engine runs to judge a design over `band`: its edges, where the worst SWR
// mostly lies, and its middle.
// A rational fit to them and to the design frequency gives the whole band's SWR.
inline constexpr int kBandEnginePoints = 3;
[[nodiscard]] QList<double> bandFrequencies(const BandRange &band);

// The SWR over `band` from a rational fit to the engine's `points` (in any order): its worst
// on a dense grid of the band, where that is, and at both edges. None when the fit cannot be
// trusted (too few points, a pole in the band).
[[nodiscard]] std::optional<BandSwr> bandSwr(const QList<SweepPoint> &points,
                                             const BandRange &band);

} // namespace moxon
