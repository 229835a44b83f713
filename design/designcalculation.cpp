#include "designcalculation.h"

#include <cmath>

namespace moxon {

namespace {

bool allFinite(const Dimensions &d)
{
    return std::isfinite(d.a) && std::isfinite(d.b) && std::isfinite(d.c) && std::isfinite(d.d)
        && std::isfinite(d.e);
}

} // namespace

bool DesignResult::computable() const
{
    // A ratio of 0 has no logarithm; the log then is -inf and caught here too.
    return std::isfinite(ratio) && ratio > 0 && std::isfinite(logRatio) && allFinite(wavelengths)
        && allFinite(shown);
}

DesignResult computeDesign(double freqMHz, WireUnit wireUnit, double wireSize,
                           DisplayUnit displayUnit)
{
    DesignResult result;
    result.ratio = diameterRatio(wireUnit, wireSize, freqMHz);
    result.logRatio = logRatio(result.ratio);
    result.wavelengths = dimensionsFor(result.logRatio);
    const double scale = wavelengthIn(displayUnit, freqMHz);
    const Dimensions &w = result.wavelengths;
    result.shown = {w.a * scale, w.b * scale, w.c * scale, w.d * scale, w.e * scale};
    return result;
}

RangeWarning rangeWarning(double logRatio)
{
    if (logRatio < kThinWireLimit) {
        return RangeWarning::ThinWire;
    }
    if (logRatio > kThickWireLimit) {
        return RangeWarning::ThickWire;
    }
    return RangeWarning::None;
}

} // namespace moxon
