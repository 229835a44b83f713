#pragma once

#include "units.h"

namespace moxon {

// A checked wire size: a diameter in its unit, or a gauge number (a whole number 0 to 40).
struct WireSize
{
    WireUnit unit = WireUnit::Gauge;
    double value = 12;

    [[nodiscard]] bool operator==(const WireSize &) const = default;
};

[[nodiscard]] bool isValidGauge(double n);

// Standard AWG rule: gauge 36 is 1/200 inch, the diameter changes by 92 over 39 gauges.
// Evaluated as (36 - n) / 39, then 92 to that power, then / 200; result in inches.
[[nodiscard]] double gaugeDiameterInches(double n);

// The diameter in the unit's own length: inches for a gauge.
[[nodiscard]] double diameterInUnit(const WireSize &wire);

// Wire diameter in wavelengths at `freqMHz`.
[[nodiscard]] double diameterRatio(const WireSize &wire, double freqMHz);

} // namespace moxon
