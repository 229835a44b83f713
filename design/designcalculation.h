#pragma once

#include "dimensions.h"
#include "displayunits.h"
#include "wiresize.h"

namespace moxon {

enum class RangeWarning
{
    None,
    ThinWire,  // L below -6
    ThickWire, // L above -2
};

// Everything the Calculate command computes from checked inputs, before it shows anything.
struct DesignResult
{
    double ratio = 0;     // wire diameter in wavelengths
    double logRatio = 0;  // L, base-10 logarithm of ratio
    Dimensions wavelengths; // A to E in wavelengths
    Dimensions shown;     // A to E in the display unit, before the mask

    // False when some value left the double range (extreme frequencies or wire sizes):
    // such a design must not reach the result boxes.
    [[nodiscard]] bool computable() const;
};

[[nodiscard]] DesignResult computeDesign(double freqMHz, WireUnit wireUnit, double wireSize,
                                         DisplayUnit displayUnit);

// The thin-wire test comes first; exactly -6 and -2 warn of nothing.
[[nodiscard]] RangeWarning rangeWarning(double logRatio);

} // namespace moxon
