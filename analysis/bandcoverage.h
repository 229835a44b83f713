#pragma once

#include "figures.h"
#include "rationalfit.h"

#include <QList>

#include <optional>

namespace moxon {

// A band of frequencies to cover, in MHz.
struct BandRange
{
    double lowerMhz = 0;
    double upperMhz = 0;

    [[nodiscard]] bool operator==(const BandRange &) const = default;
};

// Which frequencies the engine has to run to know one design's SWR over a band, as the band
// goal judges it: the curve is a rational fit of the feed-point impedance, trusted as the
// check trusts its sweep's, once two fits, one with the engine's latest points and one
// without, agree within AdaptiveSweep::kAgreementOhm at every one of kCheckPoints over the
// band. It runs no engine: it says which frequencies to run first, is fed the engine's points,
// and says which to run next, where the two fits disagree most, until they agree or
// kMostEnginePoints have been run. A curve that never agreed is the engine's own points: the
// band's SWR is never read off a fit that was not verified.
//
// The first run holds five frequencies, seven for a band wider than kWideBand of its middle:
// Chebyshev-Lobatto points (Trefethen, "Approximation Theory and Approximation Practice",
// SIAM 2013, ch. 2), both edges among them, clustered towards the edges, where the worst SWR
// mostly lies and a fit is held by neighbours on one side only. Its check is a fit
// without one more point, the hold-out: the design frequency, which the figures run gives
// free, where it lies in the band apart from them, else a frequency of the first run in the
// middle of its widest gap. Over bands of up to 8 % of their middle (40 m to 2 m, and 10 m and
// 6 m whole) five points and the hold-out fit nec2c's impedance within a hundredth of an ohm;
// over 160 m and 80 m they agree while a few hundredths off, and seven do not. Over bands of at
// most kNarrowBand (30 m, 17 m, 12 m) four points do, one engine frequency less for each
// design: their fit without the hold-out, of degree 1 over 1, came within 0.007 ohm of the
// fit with it for every candidate of a tuning on 17 m (0.55 %), and missed by 0.4 to 0.5 ohm
// on 20 m (2.5 %). The hold-out checks it as any first run; a band it misses takes further
// runs as any other.
class BandCoverage
{
public:
    static constexpr int kCheckPoints = 401;     // where fits are compared and the SWR read
    static constexpr int kMostEnginePoints = 13; // the most frequencies run for one design
    static constexpr int kPointsPerRun = 2;      // added by each run after the first
    static constexpr double kWideBand = 0.08;    // of the band's middle: seven first points
    static constexpr double kNarrowBand = 0.008; // of the band's middle: four first points

    // `designMhz`: the frequency of the design's figures run. The band must be positive.
    BandCoverage(const BandRange &band, double designMhz);

    // MHz, ascending: the first engine run's frequencies.
    [[nodiscard]] QList<double> firstFrequencies() const { return m_first; }
    // Takes the engine's points, in any order (those outside the band are ignored; the design
    // frequency's from the figures run is welcome with the first run's), and returns the next
    // run's frequencies, ascending; empty when done.
    [[nodiscard]] QList<double> add(const QList<SweepPoint> &points);
    [[nodiscard]] bool done() const { return m_done; }
    // True when it ended with two fits in agreement; false when it ran out of frequencies.
    [[nodiscard]] bool converged() const { return m_converged; }
    // MHz, ascending: every frequency the engine's points came from.
    [[nodiscard]] QList<double> engineFrequencies() const;
    // The SWR over the band, on kLineImpedance: when converged, the fit's at kCheckPoints
    // frequencies; else the engine's own points'. None before any point in the band.
    [[nodiscard]] std::optional<BandSwr> swr() const;

    // The least the worst SWR over the band, as swr() will read it, can be once the engine's
    // `points` at the band's edges (others are ignored) are among its own: both edges are
    // check frequencies, and a converged fit misses an engine point by at most
    // AdaptiveSweep::kMostScatterOhm, so each edge's SWR less what that can take off it.
    // 1 without an edge.
    [[nodiscard]] double leastWorstSwr(const QList<SweepPoint> &points) const;

private:
    [[nodiscard]] double checkFrequency(int k) const;
    [[nodiscard]] std::optional<RationalFit> fitOf(const QList<SweepPoint> &points) const;
    [[nodiscard]] bool agree(const RationalFit &fit, const RationalFit &other) const;
    [[nodiscard]] QList<double> nextFrequencies(const std::optional<RationalFit> &other) const;
    [[nodiscard]] BandSwr swrOf(const QList<SweepPoint> &curve) const;

    BandRange m_band;
    QList<double> m_first;      // MHz, ascending
    double m_holdOutMhz = 0;    // left out of the first run's check fit
    QList<SweepPoint> m_points; // the engine's, ascending in frequency
    std::optional<RationalFit> m_fit;
    bool m_done = false;
    bool m_converged = false;
};

} // namespace moxon
