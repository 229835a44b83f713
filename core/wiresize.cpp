#include "wiresize.h"

#include <cmath>

namespace moxon {

bool isValidGauge(double n)
{
    return n == std::floor(n) && n >= 0 && n <= 40;
}

double gaugeDiameterInches(double n)
{
    const double exponent = (36 - n) / 39;
    return std::pow(92.0, exponent) / 200;
}

double diameterInUnit(const WireSize &wire)
{
    return wire.unit == WireUnit::Gauge ? gaugeDiameterInches(wire.value) : wire.value;
}

double diameterRatio(const WireSize &wire, double freqMHz)
{
    return diameterInUnit(wire) / (unitInfo(wire.unit).wavelengthTimesMHz / freqMHz);
}

} // namespace moxon
