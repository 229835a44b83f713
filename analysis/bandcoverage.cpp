#include "bandcoverage.h"

#include "rationalfit.h"

#include <algorithm>
#include <cmath>

namespace moxon {

namespace {

// Points of the band the fit is read at: far finer than any dip of this antenna.
constexpr int kBandGrid = 201;

} // namespace

QList<double> bandFrequencies(const BandRange &band)
{
    QList<double> frequencies;
    for (int i = 0; i < kBandEnginePoints; ++i) {
        frequencies.append(band.lowMhz +
                           (band.highMhz - band.lowMhz) * i / (kBandEnginePoints - 1));
    }
    return frequencies;
}

std::optional<BandSwr> bandSwr(const QList<SweepPoint> &points, const BandRange &band)
{
    QList<ImpedanceSample> samples;
    for (const SweepPoint &point : points) {
        // The design frequency may be one of the band's own (its middle): one sample each.
        const bool known = std::any_of(samples.cbegin(), samples.cend(), [&](const auto &sample) {
            return std::fabs(sample.frequencyMhz - point.frequencyMhz) <=
                   1e-9 * point.frequencyMhz;
        });
        if (known) {
            continue;
        }
        samples.append(
            ImpedanceSample{point.frequencyMhz, {point.feed.resistance, point.feed.reactance}});
    }
    const std::optional<RationalFit> fit = RationalFit::fit(samples, band.lowMhz, band.highMhz);
    if (!fit) {
        return std::nullopt;
    }
    const auto swrAt = [&fit](double mhz) {
        const std::complex<double> z = fit->impedance(mhz);
        return standingWaveRatio({z.real(), z.imag()});
    };
    BandSwr result;
    result.lowerMhz = band.lowMhz;
    result.upperMhz = band.highMhz;
    result.atLower = swrAt(band.lowMhz);
    result.atUpper = swrAt(band.highMhz);
    for (int i = 0; i < kBandGrid; ++i) {
        const double mhz = band.lowMhz + (band.highMhz - band.lowMhz) * i / (kBandGrid - 1);
        const double swr = swrAt(mhz);
        if (!std::isfinite(swr)) {
            return std::nullopt;
        }
        if (swr > result.worst) {
            result.worst = swr;
            result.worstMhz = mhz;
        }
    }
    return result;
}

} // namespace moxon
