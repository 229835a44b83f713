#pragma once

#include "impedancecurve.h"
#include "tolerance.h"

#include <QList>

#include <array>
#include <complex>
#include <optional>
#include <utility>

// How tolerances() closes in on one tolerance: what changing a dimension is estimated to do
// between the engine's runs, and where the engine ran it. Only the tolerances use these, hence
// a namespace of their own.
namespace moxon::tolerance {

// What changing one dimension is estimated to do, between the engine's runs: the SWR at the
// design frequency read on the design's curve moved by the dip's shift, with the change of
// level the differences show beside it, and the front-to-back from the back lobe's power
// changing as a field that is linear in the change.
struct Estimate
{
    const ImpedanceCurve *curve = nullptr; // the design's
    double f0Mhz = 0;
    double dipSlope = 0; // MHz per display unit of change
    // Ohms per display unit: how the impedance at the design frequency changes beyond what
    // moving the curve by the dip's shift explains (a change of level, as the tails make).
    std::complex<double> residualSlope;
    // The back lobe's power over the forward lobe's, as q0 |1 + k x|^2 in the change x: a
    // field that changes linearly with the dimension. Re k from the central difference, |k|^2
    // from the second difference, never less than (Re k)^2 (a perfect null at most), since the
    // engine's hundredths of a dB hide a shallow curvature.
    double kappaReal = 0;    // per display unit
    double kappaSquared = 0; // per display unit squared
    double frontToBack = 0;  // the design's, dB

    [[nodiscard]] double swrAt(double x) const;
    // dB, less the design's
    [[nodiscard]] double frontToBackChange(double x) const;
};

// Margins to the limits: how far the SWR lies below kToleranceSwr and the front-to-back above
// the design's less kToleranceFrontToBackDrop. Within both limits where neither is negative.
using Margins = std::array<double, 2>;
inline constexpr std::size_t kSwrMargin = 0;
inline constexpr std::size_t kFrontToBackMargin = 1;

[[nodiscard]] Margins marginsOf(double swr, double frontToBack, double designFrontToBack);
[[nodiscard]] bool within(const Margins &margins);

// One way of one dimension: where the engine ran it, and its tolerance once known. Until
// the engine has run a change past a limit, the next run goes a little past where the
// estimate, corrected through every run so far, crosses one; then the runs close in on the
// crossing by regula falsi on the engine's own margins (the Illinois variant, which halves
// the weight of an end that stays, so that the bracket shrinks from both sides).
class Bound
{
public:
    Bound(CutDimension dimension, double sign, double searchEnd, double resolution,
          const Estimate &estimate);

    [[nodiscard]] CutDimension dimension() const { return m_dimension; }
    [[nodiscard]] double sign() const { return m_sign; }
    [[nodiscard]] bool known() const { return m_known; }
    [[nodiscard]] double tolerance() const { return m_tolerance; }
    [[nodiscard]] ToleranceLimit limit() const { return m_limit; }

    // The engine's figures at `change` (display unit, this way).
    void add(double change, const DesignFigures &figures);
    // The change to run next, or none once the tolerance is known.
    [[nodiscard]] std::optional<double> next();
    // Out of rounds: the crossing within what the engine found, or the longest change it
    // found within both limits.
    void settle();

private:
    struct Run
    {
        double change = 0;
        Margins engine{};
        Margins estimated{}; // the uncorrected estimate's, where it ran
    };

    [[nodiscard]] const Run &runAt(double change) const;
    [[nodiscard]] Margins uncorrected(double change) const;
    // Beyond the runs, the estimate moved by what it missed at the longest of them.
    [[nodiscard]] Margins corrected(double change) const;
    [[nodiscard]] double estimatedCrossing(double from) const;
    // The first crossing between a run within both limits and one past a limit, on straight
    // lines through the engine's margins: the Illinois weights on an end kept twice or more.
    [[nodiscard]] std::pair<double, ToleranceLimit> interpolated(double inside,
                                                                 double outside) const;
    // A run this close to a limit is where the tolerance ends: closer than the engine's
    // figures are worth (its front-to-back is printed to a hundredth of a dB).
    [[nodiscard]] bool nearLimit(double change) const;
    // The longest change the engine found within both limits with every run before it
    // within them too, and the first run past a limit after it.
    [[nodiscard]] std::pair<double, std::optional<double>> bracket() const;
    void settle(double tolerance, ToleranceLimit limit);

    CutDimension m_dimension;
    double m_sign;
    double m_searchEnd;  // display unit
    double m_resolution; // display unit: the display's last decimal
    Estimate m_estimate;
    QList<Run> m_runs;    // ascending in change
    int m_keptInside = 0; // rounds the bracket's inside end stayed
    int m_keptOutside = 0;
    double m_tolerance = 0;
    ToleranceLimit m_limit = ToleranceLimit::SearchEnd;
    bool m_known = false;
};

} // namespace moxon::tolerance
