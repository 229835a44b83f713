#include "baredip.h"

#include "impedancecurve.h"

#include <algorithm>
#include <cmath>

namespace moxon {

namespace {

constexpr double kDipSearchShare = 0.01; // of the frequency, either side of the expected dip
// How far the velocity factor that fits best may lie from the estimate; the estimate falls
// short of the engine's shift by about a tenth of it, at most a few hundredths.
constexpr double kStretchRange = 0.03;
constexpr double kStretchTolerance = 1e-7;

} // namespace

QList<double> bareDipFrequencies(double insulatedDipMhz, double velocityFactor)
{
    const double expected = insulatedDipMhz / velocityFactor;
    return {expected * (1 - kDipSearchShare), expected, expected * (1 + kDipSearchShare)};
}

std::optional<double> bareDip(const RationalFit &insulated, double velocityFactor,
                              const QList<SweepPoint> &bare, double lowMhz, double highMhz)
{
    if (bare.isEmpty() || !(velocityFactor > 0)) {
        return std::nullopt;
    }
    const auto mismatch = [&](double stretch) {
        double sum = 0;
        for (const SweepPoint &point : bare) {
            const std::complex<double> engine(point.feed.resistance, point.feed.reactance);
            sum += std::norm(engine - insulated.impedance(stretch * point.frequencyMhz));
        }
        return sum;
    };
    // The bare wire is never the slower: the stretch stays at most 1.
    const double low = velocityFactor - kStretchRange;
    const double high = std::min(1.0, velocityFactor + kStretchRange);
    const double stretch =
        interiorMinimum(mismatch, low, high, kStretchTolerance).value_or(velocityFactor);
    const ImpedanceCurve curve(insulated, stretch, bare);
    return curve.dip(lowMhz / stretch, highMhz / stretch);
}

} // namespace moxon
