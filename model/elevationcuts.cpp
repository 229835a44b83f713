#include "elevationcuts.h"

#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace moxon {

namespace {

constexpr double kPlaneDegrees = 180; // theta from -90 to 90

// The fewest steps across the plane, at least `atLeast`, that keep each step a binary
// fraction of a degree: 180 over a power of two times an odd divisor of 45.
double wholeSteps(double atLeast)
{
    constexpr std::array kOddDivisors = {1, 3, 5, 9, 15, 45};
    double best = std::numeric_limits<double>::infinity();
    for (const int divisor : kOddDivisors) {
        const double powerOfTwo = std::exp2(std::ceil(std::log2(atLeast / divisor)));
        best = std::min(best, std::max(1.0, powerOfTwo) * divisor);
    }
    return best;
}

} // namespace

double lobeSpacingDegrees(double heightWavelengths)
{
    return 180 / std::numbers::pi / (2 * heightWavelengths);
}

QList<ElevationCut> elevationCuts(double heightWavelengths)
{
    const auto displayedSteps = int(kPlaneDegrees / kDisplayedElevationStep);
    QList<ElevationCut> cuts{{-90, kDisplayedElevationStep, displayedSteps + 1}};
    const double step = lobeSpacingDegrees(heightWavelengths) / kTakeoffSamplesPerLobe;
    if (!(step > 0 && step < kDisplayedElevationStep)) {
        return cuts; // also for a height of no wavelengths, which has no lobes to tell apart
    }
    const double steps = wholeSteps(kPlaneDegrees / step);
    const double fine = kPlaneDegrees / steps;
    // Whole steps up from each horizon; the far end of the one towards theta 90 lands on its
    // horizon exactly, as the step is a binary fraction.
    const double rising = std::ceil(kFineCutElevation / fine);
    if (2 * rising >= steps) {
        cuts.append({-90, fine, int(steps) + 1});
        return cuts;
    }
    cuts.append({-90, fine, int(rising) + 1});
    cuts.append({90 - rising * fine, fine, int(rising) + 1});
    return cuts;
}

} // namespace moxon
