#include "diagnosiscurve.h"

#include "diagnosis.h"
#include "lossyline.h"

#include <algorithm>
#include <cmath>

namespace moxon::diagnosing {

namespace {

// The median of |e|² / σ² over complex readings with independent Gaussian parts of variance
// σ² is a chi-squared of two degrees of freedom's: 2 ln 2.
constexpr double kChiSquaredTwoMedian = 1.3862943611198906;

} // namespace

QList<double> Readings::runFrequencies() const
{
    QList<double> frequencies;
    for (const TouchstonePoint &point : run) {
        frequencies.append(point.frequencyMhz);
    }
    return frequencies;
}

Readings readingsAround(const QList<TouchstonePoint> &points, double designMhz, double share)
{
    Readings readings;
    for (const TouchstonePoint &point : points) {
        if (std::fabs(point.frequencyMhz / designMhz - 1) <= share) {
            readings.inRange.append(point);
        }
    }
    const qsizetype count = readings.inRange.size();
    if (count <= kMostRunFrequencies) {
        readings.run = readings.inRange;
        return readings;
    }
    for (int k = 0; k < kMostRunFrequencies; ++k) {
        const auto index =
            qsizetype(std::lround(double(k) * double(count - 1) / double(kMostRunFrequencies - 1)));
        readings.run.append(readings.inRange.at(index));
    }
    return readings;
}

std::optional<double> readingNoise(const QList<TouchstonePoint> &readings,
                                   const std::optional<FeedLine> &line)
{
    const std::optional<LossyLine> cable =
        line ? std::optional<LossyLine>(LossyLine(line->cable)) : std::nullopt;
    // A reading at the feed point, where the straight line through its neighbours is drawn.
    const auto atFeed = [&](const TouchstonePoint &reading) {
        return cable ? cable->loadImpedance(reading.impedanceOhm, reading.frequencyMhz,
                                            line->lengthMetres)
                     : reading.impedanceOhm;
    };
    QList<double> misses; // |e|² over the variance of e in units of one reading's
    for (qsizetype i = 1; i + 1 < readings.size(); ++i) {
        const TouchstonePoint &before = readings.at(i - 1);
        const TouchstonePoint &here = readings.at(i);
        const TouchstonePoint &after = readings.at(i + 1);
        const double h1 = here.frequencyMhz - before.frequencyMhz;
        const double h2 = after.frequencyMhz - here.frequencyMhz;
        if (!(h1 > 0) || !(h2 > 0)) {
            continue;
        }
        // The line through the neighbours at this reading weighs them h2 and h1 over the
        // span; the miss then holds this reading's noise once and theirs by those weights
        // (down the line and up again at a neighbouring frequency, their noise is turned
        // round but scarcely changes its size).
        const double w1 = h2 / (h1 + h2);
        const double w2 = h1 / (h1 + h2);
        const std::complex<double> between = w1 * atFeed(before) + w2 * atFeed(after);
        const std::complex<double> miss =
            here.impedanceOhm -
            atMeasuredPlane(between, here.frequencyMhz, line, line ? line->lengthMetres : 0);
        misses.append(std::norm(miss) / (1 + w1 * w1 + w2 * w2));
    }
    if (misses.isEmpty()) {
        return std::nullopt;
    }
    const auto middle = misses.begin() + misses.size() / 2;
    std::nth_element(misses.begin(), middle, misses.end());
    return std::sqrt(*middle / kChiSquaredTwoMedian);
}

std::complex<double> atMeasuredPlane(std::complex<double> feed, double frequencyMhz,
                                     const std::optional<FeedLine> &line, double lengthMetres)
{
    return line ? LossyLine(line->cable).inputImpedance(feed, frequencyMhz, lengthMetres) : feed;
}

SweepPoint pointOf(double frequencyMhz, std::complex<double> impedance)
{
    return sweepPoint(frequencyMhz, FeedPoint{impedance.real(), impedance.imag()});
}

} // namespace moxon::diagnosing

namespace moxon {

bool onlyTheDip(const QList<double> &frequenciesMhz, double designMhz)
{
    const auto inRange = [designMhz](double mhz) {
        return std::fabs(mhz / designMhz - 1) <= kDiagnosisRangeShare;
    };
    return std::count_if(frequenciesMhz.cbegin(), frequenciesMhz.cend(), inRange) <
           kLeastDiagnosisPoints;
}

} // namespace moxon
