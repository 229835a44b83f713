#pragma once

#include "figures.h"
#include "rationalfit.h"

#include <QList>
#include <QMap>
#include <QSet>

#include <optional>

namespace moxon {

// Which of the 41 frequencies of the SWR sweep the engine has to run, when a rational fit of
// the feed-point impedance through a few of them stands in for the rest. It runs no engine:
// it is told which points to hand out first, fed the engine's points as they come, and says
// which to run next, until two successive fits agree over the whole band or every point has
// been run. Over real ground every frequency costs the engine a new Sommerfeld-Norton grid,
// so each point saved is a whole run's worth of time.
class AdaptiveSweep
{
public:
    // Two successive fits within this of each other at every check point end the sweep, ohms:
    // a thousandth of the line's 50 ohm, far below what moves the SWR's second decimal.
    static constexpr double kAgreementOhm = 0.05;
    // Where the engine's own points scatter about every smooth fit by more than kAgreementOhm,
    // the fits need only agree within that scatter (the larger of the two fits' largest
    // sample errors), if it is at most this, ohms. Over Sommerfeld-Norton ground, at some
    // heights (near half a wavelength up, not at 0.4), nec2c's impedance steps by a few tenths
    // of an ohm within a few sweep steps, the same at every band; no fit agrees closer than
    // that without chasing the step with poles beside the band. A fit there would be a few
    // per cent off the engine's SWR where the SWR is high, so the sweep runs on to the
    // engine's own 41 points: the curve shown is always within the agreement of nec2c's.
    static constexpr double kMostScatterOhm = kAgreementOhm;
    // Where two fits are compared and the dense curve is drawn: every tenth of a sweep step.
    static constexpr int kCheckPoints = 401;
    // The most points handed out before any fit exists.
    static constexpr int kMostFirstPoints = 7;

    // The sweep around f0Mhz on `cores` engines at once, the scheduler's slots (at least 1).
    AdaptiveSweep(double f0Mhz, int cores);

    // The sweep points (indices 0..40 into the 41-point grid) to run first: both ends and the
    // design frequency (index 20, always an engine run), and a few more so that every core is
    // busy; at most kMostFirstPoints.
    [[nodiscard]] QList<int> firstPoints() const;

    // Takes the engine's points (at the sweep's frequencies; others are ignored) and returns the
    // next indices to run, ascending: where the two latest fits disagree most, weighed by the
    // distance to the nearest point run, at the nearest grid index not yet run, as many as the
    // cores not busy with points handed out before. Empty when done: two successive fits agree
    // within agreementToleranceOhm() at every one of the kCheckPoints over +-5 %, or all 41
    // frequencies have been run. Also empty, without being done, while every point left is
    // being run: the add() of those points then ends the sweep. Points that arrive after the
    // end are kept, and reported as the engine's.
    [[nodiscard]] QList<int> add(const QList<SweepPoint> &points);
    [[nodiscard]] bool done() const { return m_done; }
    // True when it ended by agreement; false when it ran out of points (then the 41 engine
    // points are the curve: the full sweep, never an unverified fit).
    [[nodiscard]] bool converged() const { return m_converged; }
    // The largest |Z| difference of the last two fits over the check points, ohms; infinite
    // before there were two usable fits.
    [[nodiscard]] double lastAgreementOhm() const { return m_agreementOhm; }
    // What the last two fits had to agree within, ohms: kAgreementOhm, or the engine's scatter
    // about them where that is larger (no agreement counts beyond kMostScatterOhm).
    [[nodiscard]] double agreementToleranceOhm() const { return m_toleranceOhm; }
    // MHz, ascending.
    [[nodiscard]] QList<double> engineFrequencies() const;
    // The 41 reported points at the sweep's frequencies: the engine's own where it ran, the
    // fit's elsewhere (SWR on kLineImpedance from the fitted impedance); when not converged,
    // only the engine's points. Ascending in frequency.
    [[nodiscard]] QList<SweepPoint> reportedPoints() const;
    // `count` points evenly over +-5 % from the fit, ascending; empty when not converged.
    [[nodiscard]] QList<SweepPoint> denseCurve(int count = kCheckPoints) const;
    // The SWR <= 2 bandwidth with the fields of bandwidth() in figures.h; when converged, its
    // edges are where the fit's SWR crosses 2, by bisection between the dense curve's points
    // either side; else bandwidth() of the engine's points.
    [[nodiscard]] Bandwidth fittedBandwidth(double swrAtF0) const;
    // The fit of every engine point so far; none before the first add() or when unusable.
    [[nodiscard]] const std::optional<RationalFit> &fit() const { return m_fit; }

    // The sweep index of `frequencyMhz` around f0Mhz, if it is one of the 41 frequencies.
    [[nodiscard]] static std::optional<int> sweepIndex(double f0Mhz, double frequencyMhz);

private:
    [[nodiscard]] double lowerMhz() const;
    [[nodiscard]] double upperMhz() const;
    [[nodiscard]] double checkFrequency(int k) const;
    [[nodiscard]] std::optional<RationalFit> fitOf(const QList<int> &indices) const;
    [[nodiscard]] QList<int> nextPoints(const std::optional<RationalFit> &other);
    [[nodiscard]] double swrOfFit(double frequencyMhz) const;

    double m_f0Mhz = 0; // the design frequency
    int m_cores = 1;
    QList<int> m_first;
    QMap<int, SweepPoint> m_engine; // by sweep index: ascending in frequency
    QSet<int> m_pending;            // handed out and not yet back
    std::optional<RationalFit> m_fit;
    double m_agreementOhm; // ohms
    double m_toleranceOhm; // ohms
    bool m_done = false;
    bool m_converged = false;
};

} // namespace moxon
