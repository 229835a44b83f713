#include "adaptivesweep.h"

#include "sweepplan.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace moxon {

namespace {

constexpr int kDesignIndex = kSweepPoints / 2; // f0 itself
constexpr int kLastIndex = kSweepPoints - 1;
// Check points per sweep step.
constexpr int kCheckPerStep = (AdaptiveSweep::kCheckPoints - 1) / (kSweepPoints - 1);
// A frequency this close to a sweep frequency, in sweep steps, is that point: the runner hands
// back the frequencies it asked for, not the five digits the engine prints.
constexpr double kSameSweepPoint = 0.01;
// The fit's bandwidth edges to a billionth of f0 (18 halvings of a tenth of a sweep step): the
// straight line between the dense curve's points would be off by a few ten-millionths.
constexpr double kEdgeTolerance = 1e-9;

// Every other point of `indices` (ascending), keeping both ends and the design frequency:
// a fit of thinner support to hold against the fit of them all when there is no earlier fit.
QList<int> thinned(const QList<int> &indices)
{
    QList<int> kept;
    for (qsizetype i = 0; i < indices.size(); ++i) {
        const int index = indices.at(i);
        if (i % 2 == 0 || i + 1 == indices.size() || index == kDesignIndex) {
            kept.append(index);
        }
    }
    return kept;
}

} // namespace

AdaptiveSweep::AdaptiveSweep(double f0Mhz, int cores)
    : m_f0Mhz(f0Mhz)
    , m_cores(std::max(1, cores))
    , m_agreementOhm(std::numeric_limits<double>::infinity())
    , m_toleranceOhm(kAgreementOhm)
{
    // An odd count: m samples give a fit of (m + 1) / 2 support points, which interpolates
    // them all only when m is odd. Five fit a rational of degree 2 over 2 and keep up to five
    // cores busy; more cores get seven. The points are Chebyshev-Lobatto points of the band,
    // clustered towards its ends, where an interpolant is held by neighbours on one side only.
    const int count = std::clamp(m_cores % 2 == 0 ? m_cores + 1 : m_cores, 5, kMostFirstPoints);
    QList<int> points;
    for (int k = 0; k < count; ++k) {
        const double x = -std::cos(std::numbers::pi * k / (count - 1)); // -1 to 1
        points.append(int(std::lround(kDesignIndex * (1 + x))));
    }
    m_first = points;
    m_pending = QSet<int>(points.begin(), points.end());
}

QList<int> AdaptiveSweep::firstPoints() const
{
    return m_first;
}

std::optional<int> AdaptiveSweep::sweepIndex(double f0Mhz, double frequencyMhz)
{
    const double steps = (frequencyMhz / f0Mhz - kSweepStart) / kSweepStep;
    const double nearest = std::round(steps);
    if (!std::isfinite(steps) || std::fabs(steps - nearest) > kSameSweepPoint || nearest < 0 ||
        nearest > kLastIndex) {
        return std::nullopt;
    }
    return int(nearest);
}

QList<int> AdaptiveSweep::add(const QList<SweepPoint> &points)
{
    const QList<int> before = m_engine.keys();
    for (const SweepPoint &point : points) {
        if (const std::optional<int> index = sweepIndex(m_f0Mhz, point.frequencyMhz)) {
            m_engine.insert(*index, point);
            m_pending.remove(*index);
        }
    }
    if (m_done) {
        return {}; // points that were being run when the fits agreed: reported as the engine's
    }
    const QList<int> now = m_engine.keys();

    // Two successive fits: of the points before this add and of all of them now.
    const std::optional<RationalFit> previous = before.isEmpty() ? std::nullopt : m_fit;
    m_fit = fitOf(now);
    if (previous && m_fit && now.size() > before.size()) {
        double largest = 0;
        for (int k = 0; k < kCheckPoints; ++k) {
            const double f = checkFrequency(k);
            largest = std::max(largest, std::abs(m_fit->impedance(f) - previous->impedance(f)));
        }
        m_agreementOhm = largest;
        // Two fits cannot agree more closely than the engine's points lie on either of them;
        // fits that miss the engine's points by more than kMostScatterOhm stand for nothing.
        const double scatter =
            std::max(m_fit->largestSampleError(), previous->largestSampleError());
        m_toleranceOhm = std::max(kAgreementOhm, scatter);
        if (scatter <= kMostScatterOhm && largest <= m_toleranceOhm) {
            m_done = true;
            m_converged = true;
            return {};
        }
    }
    if (m_engine.size() == kSweepPoints) {
        m_done = true;
        return {};
    }
    // Without an earlier fit to hold the new one against, one of thinner support.
    return nextPoints(previous ? previous : fitOf(thinned(now)));
}

QList<int> AdaptiveSweep::nextPoints(const std::optional<RationalFit> &other)
{
    // How much the two fits disagree at each check point; without two fits, alike everywhere,
    // so that the weighing below picks the middles of the widest gaps.
    QList<double> disagreement(kCheckPoints, 1.0);
    if (m_fit && other) {
        for (int k = 0; k < kCheckPoints; ++k) {
            const double f = checkFrequency(k);
            disagreement[k] = std::abs(m_fit->impedance(f) - other->impedance(f));
        }
    }
    QList<bool> pinned(kSweepPoints, false); // run, being run, or picked below
    for (const int index : m_engine.keys()) {
        pinned[index] = true;
    }
    for (const int index : m_pending) {
        pinned[index] = true;
    }

    const auto wanted = qsizetype(std::max(1, m_cores - int(m_pending.size())));
    QList<int> picks;
    while (picks.size() < wanted) {
        // Weighed by the distance to the nearest pinned point, in sweep steps: both fits pass
        // through the points run before, and the newest points are already settled, however
        // far the older fit was from them.
        int best = -1;
        double bestScore = -1;
        for (int k = 0; k < kCheckPoints; ++k) {
            const int index = (k + kCheckPerStep / 2) / kCheckPerStep;
            if (pinned.at(index)) {
                continue;
            }
            double distance = kSweepPoints;
            for (int j = 0; j < kSweepPoints; ++j) {
                if (pinned.at(j)) {
                    distance = std::min(distance, std::fabs(double(k) / kCheckPerStep - j));
                }
            }
            const double score = disagreement.at(k) * distance;
            if (score > bestScore) {
                best = index;
                bestScore = score;
            }
        }
        if (best < 0) {
            break; // every point is run or being run
        }
        pinned[best] = true;
        picks.append(best);
    }
    std::sort(picks.begin(), picks.end());
    // Handed out: the cores are busy with them until they come back.
    m_pending.unite(QSet<int>(picks.begin(), picks.end()));
    return picks;
}

std::optional<RationalFit> AdaptiveSweep::fitOf(const QList<int> &indices) const
{
    QList<ImpedanceSample> samples;
    for (const int index : indices) {
        const SweepPoint point = m_engine.value(index);
        if (point.finite()) {
            samples.append(ImpedanceSample{sweepFrequency(m_f0Mhz, index),
                                           {point.feed.resistance, point.feed.reactance}});
        }
    }
    return RationalFit::fit(samples, lowerMhz(), upperMhz());
}

double AdaptiveSweep::lowerMhz() const
{
    return sweepFrequency(m_f0Mhz, 0);
}

double AdaptiveSweep::upperMhz() const
{
    return sweepFrequency(m_f0Mhz, kLastIndex);
}

double AdaptiveSweep::checkFrequency(int k) const
{
    return m_f0Mhz * (kSweepStart + kSweepStep * k / kCheckPerStep);
}

QList<double> AdaptiveSweep::engineFrequencies() const
{
    QList<double> frequencies;
    for (const SweepPoint &point : m_engine) {
        frequencies.append(point.frequencyMhz);
    }
    return frequencies;
}

QList<SweepPoint> AdaptiveSweep::reportedPoints() const
{
    if (!m_converged || !m_fit) {
        return m_engine.values();
    }
    QList<SweepPoint> points;
    for (int index = 0; index < kSweepPoints; ++index) {
        // A point the engine ran but gave no finite impedance for is the fit's, as where it
        // never ran.
        if (m_engine.contains(index) && m_engine.value(index).finite()) {
            points.append(m_engine.value(index));
        } else {
            const double f = sweepFrequency(m_f0Mhz, index);
            const std::complex<double> z = m_fit->impedance(f);
            points.append(sweepPoint(f, {z.real(), z.imag()}));
        }
    }
    return points;
}

QList<SweepPoint> AdaptiveSweep::denseCurve(int count) const
{
    QList<SweepPoint> curve;
    if (!m_converged || !m_fit || count < 2) {
        return curve;
    }
    for (int k = 0; k < count; ++k) {
        const double f = lowerMhz() + (upperMhz() - lowerMhz()) * k / (count - 1);
        const std::complex<double> z = m_fit->impedance(f);
        curve.append(sweepPoint(f, {z.real(), z.imag()}));
    }
    return curve;
}

double AdaptiveSweep::swrOfFit(double frequencyMhz) const
{
    const std::complex<double> z = m_fit->impedance(frequencyMhz);
    return standingWaveRatio({z.real(), z.imag()}, kLineImpedance);
}

Bandwidth AdaptiveSweep::fittedBandwidth(double swrAtF0) const
{
    if (!m_converged || !m_fit) {
        return bandwidth(reportedPoints(), m_f0Mhz, swrAtF0);
    }
    Bandwidth result;
    if (!(swrAtF0 <= kBandwidthSwr)) {
        return result;
    }
    const QList<SweepPoint> curve = denseCurve();
    // Outwards from f0 along the dense curve to its first point above 2, then the crossing
    // between that point and the one before it. Where the fit's own SWR does not bracket 2
    // there (the SWR given at f0 is the engine's), the straight line between the two points.
    const auto edge = [&](int step, bool &reachesEnd) {
        double inside = m_f0Mhz;
        double insideSwr = swrAtF0;
        for (int k = (kCheckPoints - 1) / 2 + step; k >= 0 && k < curve.size(); k += step) {
            const SweepPoint &point = curve.at(k);
            if (!(point.swr <= kBandwidthSwr)) {
                double outside = point.frequencyMhz;
                if (!(swrOfFit(inside) <= kBandwidthSwr)) {
                    return inside + (kBandwidthSwr - insideSwr) / (point.swr - insideSwr) *
                                        (outside - inside);
                }
                while (std::fabs(outside - inside) > kEdgeTolerance * m_f0Mhz) {
                    const double middle = (inside + outside) / 2;
                    (swrOfFit(middle) <= kBandwidthSwr ? inside : outside) = middle;
                }
                return (inside + outside) / 2;
            }
            inside = point.frequencyMhz;
            insideSwr = point.swr;
        }
        reachesEnd = true;
        return inside;
    };
    result.exists = true;
    result.lowerMhz = edge(-1, result.reachesLower);
    result.upperMhz = edge(1, result.reachesUpper);
    return result;
}

} // namespace moxon
