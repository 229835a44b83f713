#include "bandcoverage.h"

#include "adaptivesweep.h"
#include "feedline.h"
#include "sweepplan.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace moxon {

namespace {

// The design frequency holds the first fit out only this far, as a share of the band's width,
// from every first frequency: a point beside one already run tests nothing.
constexpr double kLeastHoldOutGap = 0.02;

bool sameFrequency(double a, double b)
{
    return std::fabs(a - b) <= kSameFrequency * std::max(std::fabs(a), std::fabs(b));
}

} // namespace

BandCoverage::BandCoverage(const BandRange &band, double designMhz)
    : m_band(band)
{
    const double width = band.upperMhz - band.lowerMhz;
    const double middle = (band.lowerMhz + band.upperMhz) / 2;
    const int count = width > kWideBand * middle ? 7 : width <= kNarrowBand * middle ? 4 : 5;
    for (int k = 0; k < count; ++k) {
        const double x = -std::cos(std::numbers::pi * k / (count - 1)); // -1 to 1
        m_first.append(band.lowerMhz + width * (1 + x) / 2);
    }
    // The edges to the last digit: a point a rounding beyond the band would be ignored.
    m_first.first() = band.lowerMhz;
    m_first.last() = band.upperMhz;
    const bool apart = std::all_of(m_first.cbegin(), m_first.cend(), [&](double mhz) {
        return std::fabs(designMhz - mhz) >= kLeastHoldOutGap * width;
    });
    if (designMhz > band.lowerMhz && designMhz < band.upperMhz && apart) {
        m_holdOutMhz = designMhz;
        return;
    }
    // The middle of the widest gap (of two alike, either); the first run holds it too.
    qsizetype widest = 0;
    for (qsizetype i = 1; i + 1 < m_first.size(); ++i) {
        if (m_first.at(i + 1) - m_first.at(i) > m_first.at(widest + 1) - m_first.at(widest)) {
            widest = i;
        }
    }
    m_holdOutMhz = (m_first.at(widest) + m_first.at(widest + 1)) / 2;
    m_first.insert(widest + 1, m_holdOutMhz);
}

QList<double> BandCoverage::add(const QList<SweepPoint> &points)
{
    const QList<SweepPoint> before = m_points;
    for (const SweepPoint &point : points) {
        const double mhz = point.frequencyMhz;
        const bool known = std::any_of(m_points.cbegin(), m_points.cend(), [mhz](const auto &p) {
            return sameFrequency(p.frequencyMhz, mhz);
        });
        if (known || !point.finite() || !(mhz >= m_band.lowerMhz && mhz <= m_band.upperMhz)) {
            continue;
        }
        const auto at = std::lower_bound(
            m_points.begin(), m_points.end(), mhz,
            [](const SweepPoint &p, double frequency) { return p.frequencyMhz < frequency; });
        m_points.insert(at, point);
    }
    if (m_done) {
        return {};
    }
    // The fit of every point against one without the latest run's points; for the first run,
    // without the hold-out.
    QList<SweepPoint> fewer = before;
    if (before.isEmpty()) {
        std::copy_if(
            m_points.cbegin(), m_points.cend(), std::back_inserter(fewer),
            [this](const SweepPoint &p) { return !sameFrequency(p.frequencyMhz, m_holdOutMhz); });
    }
    m_fit = fitOf(m_points);
    const std::optional<RationalFit> other = fitOf(fewer);
    if (m_fit && other && fewer.size() < m_points.size() && agree(*m_fit, *other)) {
        m_done = true;
        m_converged = true;
        return {};
    }
    if (m_points.size() >= kMostEnginePoints) {
        m_done = true;
        return {};
    }
    const QList<double> next = nextFrequencies(other);
    m_done = next.isEmpty(); // every check point run: nothing left to learn
    return next;
}

bool BandCoverage::agree(const RationalFit &fit, const RationalFit &other) const
{
    // As the check's sweep: no closer than the engine's points lie on either fit, and fits
    // that miss them by more than the most scatter allowed stand for nothing.
    const double scatter = std::max(fit.largestSampleError(), other.largestSampleError());
    if (scatter > AdaptiveSweep::kMostScatterOhm) {
        return false;
    }
    const double tolerance = std::max(AdaptiveSweep::kAgreementOhm, scatter);
    for (int k = 0; k < kCheckPoints; ++k) {
        const double mhz = checkFrequency(k);
        if (!(std::abs(fit.impedance(mhz) - other.impedance(mhz)) <= tolerance)) {
            return false;
        }
    }
    return true;
}

QList<double> BandCoverage::nextFrequencies(const std::optional<RationalFit> &other) const
{
    // Where the two fits disagree most, weighed by the distance to the nearest point run (both
    // fits pass through the older points); without two fits, the middles of the widest gaps.
    QList<double> disagreement(kCheckPoints, 1.0);
    if (m_fit && other) {
        for (int k = 0; k < kCheckPoints; ++k) {
            const double mhz = checkFrequency(k);
            disagreement[k] = std::abs(m_fit->impedance(mhz) - other->impedance(mhz));
        }
        // Fits alike to the last digit (the engine's scatter kept them apart): the widest gaps.
        if (!(*std::max_element(disagreement.cbegin(), disagreement.cend()) > 0)) {
            disagreement.fill(1.0);
        }
    }
    QList<double> pinned;
    for (const SweepPoint &point : m_points) {
        pinned.append(point.frequencyMhz);
    }
    QList<double> picks;
    const auto wanted = std::min<qsizetype>(kPointsPerRun, kMostEnginePoints - m_points.size());
    while (picks.size() < wanted) {
        int best = -1;
        double bestScore = 0;
        for (int k = 0; k < kCheckPoints; ++k) {
            double distance = std::numeric_limits<double>::infinity();
            for (const double mhz : std::as_const(pinned)) {
                distance = std::min(distance, std::fabs(checkFrequency(k) - mhz));
            }
            if (const double score = disagreement.at(k) * distance; score > bestScore) {
                best = k;
                bestScore = score;
            }
        }
        if (best < 0) {
            break; // every check point has been run
        }
        pinned.append(checkFrequency(best));
        picks.append(checkFrequency(best));
    }
    std::sort(picks.begin(), picks.end());
    return picks;
}

std::optional<RationalFit> BandCoverage::fitOf(const QList<SweepPoint> &points) const
{
    QList<ImpedanceSample> samples;
    for (const SweepPoint &point : points) {
        samples.append(
            ImpedanceSample{point.frequencyMhz, {point.feed.resistance, point.feed.reactance}});
    }
    return RationalFit::fit(samples, m_band.lowerMhz, m_band.upperMhz);
}

double BandCoverage::checkFrequency(int k) const
{
    return m_band.lowerMhz + (m_band.upperMhz - m_band.lowerMhz) * k / (kCheckPoints - 1);
}

QList<double> BandCoverage::engineFrequencies() const
{
    QList<double> frequencies;
    for (const SweepPoint &point : m_points) {
        frequencies.append(point.frequencyMhz);
    }
    return frequencies;
}

std::optional<BandSwr> BandCoverage::swr() const
{
    if (m_points.isEmpty()) {
        return std::nullopt;
    }
    if (!m_converged || !m_fit) {
        return swrOf(m_points);
    }
    QList<SweepPoint> curve;
    for (int k = 0; k < kCheckPoints; ++k) {
        const std::complex<double> z = m_fit->impedance(checkFrequency(k));
        curve.append(sweepPoint(checkFrequency(k), {z.real(), z.imag()}));
    }
    return swrOf(curve);
}

double BandCoverage::leastWorstSwr(const QList<SweepPoint> &points) const
{
    // A curve within d ohms of the point's impedance Z has a reflection coefficient within
    // 2 Z0 d / (|Z + Z0| (|Z + Z0| - d)) of the point's: the difference of (Z - Z0) / (Z + Z0)
    // at the two impedances, bounded with the triangle inequality.
    const double d = AdaptiveSweep::kMostScatterOhm;
    double least = 1;
    for (const SweepPoint &point : points) {
        const double mhz = point.frequencyMhz;
        const bool edge =
            sameFrequency(mhz, m_band.lowerMhz) || sameFrequency(mhz, m_band.upperMhz);
        if (!edge || !point.finite()) {
            continue;
        }
        const std::complex<double> z{point.feed.resistance, point.feed.reactance};
        const double sum = std::abs(z + kLineImpedance);
        if (sum <= d) {
            continue;
        }
        const double gamma =
            std::abs(z - kLineImpedance) / sum - 2 * kLineImpedance * d / (sum * (sum - d));
        if (gamma >= 1) {
            return std::numeric_limits<double>::infinity();
        }
        least = std::max(least, (1 + gamma) / (1 - gamma));
    }
    return least;
}

BandSwr BandCoverage::swrOf(const QList<SweepPoint> &curve) const
{
    BandSwr result;
    result.lowerMhz = m_band.lowerMhz;
    result.upperMhz = m_band.upperMhz;
    result.atLower = curve.first().swr;
    result.atUpper = curve.last().swr;
    result.worst = -1;
    for (const SweepPoint &point : curve) {
        // Not finite is worse than any SWR: a curve with such a point never covers the band.
        const double swr =
            std::isfinite(point.swr) ? point.swr : std::numeric_limits<double>::infinity();
        if (swr > result.worst) {
            result.worst = swr;
            result.worstMhz = point.frequencyMhz;
        }
    }
    return result;
}

} // namespace moxon
