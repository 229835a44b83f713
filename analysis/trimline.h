#pragma once

#include "tuner.h"

#include <QList>

#include <algorithm>
#include <optional>
#include <utility>

namespace moxon::trimming {

// What a field trim moves besides the tails' line: E, and so the gap (display unit); the dip,
// by the reflector's tails one way and the driven element's back, so that it stays (MHz); and
// the dip further by both, shared as along the line (MHz).
struct TailMoves
{
    double gap = 0;
    double against = 0;
    double further = 0;
};

// The field trim's line: the changes of the tails that move the scaled model's dip from the
// measured one onto the target, to first order, by the share u of the move the reflector's
// tails make, the rest the driven element's. It keeps the shares where every tail and the gap
// stay long enough, searched from half the other way to half beyond.
class TailLine
{
public:
    // `shift`: how far the unscaled model's dip must move, MHz; the slopes: MHz per display
    // unit of each pair of tails, as the engine's runs of the model show them; `decimals`: of
    // the display unit, to which the builder cuts.
    TailLine(const TuneDimensions &built, double shift, double drivenSlope, double reflectorSlope,
             int decimals);

    // Whether the model's dip moves down as both pairs of tails grow: else there is no line.
    [[nodiscard]] bool tailsMove() const { return m_tailsMove; }
    // Whether any share keeps every tail and the gap long enough.
    [[nodiscard]] bool reachable() const { return m_low <= m_high; }
    // The first candidates' shares: the middle of the shares within [0, 1], or of the whole
    // line where none of them is on it, and the two ends, unless the dip lies on the target
    // already (`onTarget`) or the line is a point.
    [[nodiscard]] QList<double> firstShares(bool onTarget) const;
    // `u`, or the nearest share the line keeps.
    [[nodiscard]] double clamped(double u) const { return std::clamp(u, m_low, m_high); }
    // How far the model's dip moves for each display unit the frame's depth E (and so the gap)
    // grows, MHz: with it the tails make up for a wider gap's move of the dip.
    void setGapSlope(double slope) { m_gapSlope = slope; }
    // The built antenna with each driven-element tail and each reflector tail changed as at
    // share `u`, `factor` times the line's change, and as `moves` asks besides, the tails
    // making up for the gap's move of the dip; to the builder's decimals.
    [[nodiscard]] TuneDimensions trimmed(double u, double factor,
                                         const TailMoves &moves = {}) const;
    // Whether `trimmed` keeps every tail and the gap long enough.
    [[nodiscard]] bool keeps(const TuneDimensions &trimmed) const;
    // The share with the best front-to-back, from `frontToBack` (share, dB, ascending in
    // share): where the parabola through the power behind over the power ahead is least, a
    // little beyond the candidates, where the parabola still holds, within the line.
    [[nodiscard]] double bestShare(const QList<std::pair<double, double>> &frontToBack) const;
    // From a dip alone, the share whose front-to-back holds for the scaled antenna
    // (`frontToBack`) and the long-tailed one (`longTails`, at the same shares) alike: of the
    // shares where the parabola through the worse of the two at each candidate lies within half
    // a dB of its best, the one nearest the scaled antenna's best share.
    [[nodiscard]] double heldShare(const QList<std::pair<double, double>> &frontToBack,
                                   const QList<std::pair<double, double>> &longTails) const;

private:
    TuneDimensions m_built;
    int m_decimals = 2;
    bool m_tailsMove = false;
    double m_shift = 0;          // MHz: how far the unscaled model's dip must move
    double m_drivenSlope = 0;    // MHz per display unit of the driven element's tails
    double m_reflectorSlope = 0; // MHz per display unit of the reflector's tails
    double m_gapSlope = 0;       // MHz per display unit of E
    double m_drivenAll = 0;      // display unit: the driven tails' change that moves it all
    double m_reflectorAll = 0;   // display unit: the reflector tails' change that moves it all
    double m_low = 0;            // the least share kept
    double m_high = 0;           // the most
};

// One sample of the front-to-back over the tails against each other and the gap: their move
// (TailMoves::against, MHz), the gap's change (display unit) and the front-to-back there, dB.
struct PlaneSample
{
    double against = 0;
    double gap = 0;
    double frontToBack = 0;
};

// Where the power behind over the power ahead is least on the quadratic surface through six or
// more `samples` over the tails against each other and the gap (the first the centre), within
// `reach` steps of `againstStep` and `gapStep` of the centre either way: where the surface has no
// least point inside (a saddle, a ridge, or a null farther out), the least point on its edge, so
// that a slope the samples show is followed as far as the surface is trusted. None only where no
// surface goes through the samples.
[[nodiscard]] std::optional<std::pair<double, double>>
leastBehind(const QList<PlaneSample> &samples, double againstStep, double gapStep, double reach);

// The value at x of the parabola through three points (or the line through two).
[[nodiscard]] double through(const QList<std::pair<double, double>> &points, double x);

} // namespace moxon::trimming
