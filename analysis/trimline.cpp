#include "trimline.h"

#include "leastsquares.h"
#include "localenumbers.h"
#include "trimcheck.h"

#include <algorithm>
#include <cmath>

namespace moxon::trimming {

namespace {

// How far the field trim may go: a tail down to a fifth of itself, the gap to a quarter.
constexpr double kShortestTail = 0.2;
constexpr double kNarrowestGap = 0.25;
// The share of the dip's move made by the reflector's tails, the rest by the driven
// element's: searched from half the other way to half beyond.
constexpr double kLeastReflectorShare = -0.5;
constexpr double kMostReflectorShare = 1.5;
constexpr double kShareBeyond = 0.25;
// From a dip alone, a cut whose worse front-to-back lies within this of the best is taken to
// hold both antennas as well: near a deep null the engine's front-to-back moves by that much
// for a millimetre of tail or a few kHz of the dip as read. Of those cuts the one nearest the
// scaled antenna's best is advised, where its front-to-back, and so the prediction, changes
// least with either.
constexpr double kHeldMarginDb = 0.5;

// Two least points of the surface whose powers differ by less than this share of the largest
// power sampled are taken as equally low, and the one nearer the centre is kept: along a valley
// of nulls every point is least, and the nearest is where the surface is best known.
constexpr double kSameLeast = 1e-6;

// The quadratic surface c0 + c1 s + c2 g + c3 s² + c4 g² + c5 s g over the steps s and g.
struct Surface
{
    QList<double> c;

    [[nodiscard]] double at(double s, double g) const
    {
        return c[0] + c[1] * s + c[2] * g + c[3] * s * s + c[4] * g * g + c[5] * s * g;
    }

    // The points of x within [-reach, reach] where a + b x + d x² may be least: both ends,
    // and its vertex where it curves upwards.
    static QList<double> leastAlong(double b, double d, double reach)
    {
        QList<double> xs{-reach, reach};
        if (d > 0) {
            xs.append(std::clamp(-b / (2 * d), -reach, reach));
        }
        return xs;
    }

    // The least point within reach steps of the centre either way. Inside, the least point
    // can only be where both slopes vanish; anywhere else it lies on an edge, where the surface
    // is a parabola in the other step. None when the slopes' equations have no finite answer
    // and no edge point is finite either.
    [[nodiscard]] std::optional<std::pair<double, double>> leastWithin(double reach,
                                                                      double same) const
    {
        QList<std::pair<double, double>> points;
        LinearisedResiduals slopes;
        slopes.unknowns = 2;
        slopes.jacobian = {2 * c[3], c[5], c[5], 2 * c[4]};
        slopes.residuals = {c[1], c[2]};
        if (const std::optional<QList<double>> flat = dampedStep(slopes, 0);
            flat && std::fabs(flat->at(0)) <= reach && std::fabs(flat->at(1)) <= reach) {
            points.append({flat->at(0), flat->at(1)});
        }
        for (const double edge : {-reach, reach}) {
            for (const double g : leastAlong(c[2] + c[5] * edge, c[4], reach)) {
                points.append({edge, g});
            }
            for (const double s : leastAlong(c[1] + c[5] * edge, c[3], reach)) {
                points.append({s, edge});
            }
        }
        std::optional<std::pair<double, double>> least;
        const auto nearness = [](const std::pair<double, double> &p) {
            return std::hypot(p.first, p.second);
        };
        for (const auto &p : std::as_const(points)) {
            const double q = at(p.first, p.second);
            if (!std::isfinite(q)) {
                continue;
            }
            if (!least || q < at(least->first, least->second) - same ||
                (q < at(least->first, least->second) + same && nearness(p) < nearness(*least))) {
                least = p;
            }
        }
        return least;
    }
};

// The interval of u where a + b u >= 0, within [low, high].
void keep(double &low, double &high, double a, double b)
{
    if (std::fabs(b) < 1e-300) {
        if (a < 0) {
            high = low - 1;
        }
        return;
    }
    const double root = -a / b;
    if (b > 0) {
        low = std::max(low, root);
    } else {
        high = std::min(high, root);
    }
}

} // namespace

TailLine::TailLine(const TuneDimensions &built, double shift, double drivenSlope,
                   double reflectorSlope, int decimals)
    : m_built(built)
    , m_decimals(decimals)
    , m_tailsMove(drivenSlope < 0 && reflectorSlope < 0)
    , m_shift(shift)
    , m_drivenSlope(drivenSlope)
    , m_reflectorSlope(reflectorSlope)
    , m_drivenAll(m_tailsMove ? shift / drivenSlope : 0)
    , m_reflectorAll(m_tailsMove ? shift / reflectorSlope : 0)
    , m_low(kLeastReflectorShare)
    , m_high(kMostReflectorShare)
{
    keep(m_low, m_high, built.b * (1 - kShortestTail) + m_drivenAll, -m_drivenAll);
    keep(m_low, m_high, built.d * (1 - kShortestTail), m_reflectorAll);
    keep(m_low, m_high, built.c() * (1 - kNarrowestGap) - m_drivenAll,
         m_drivenAll - m_reflectorAll);
}

QList<double> TailLine::firstShares(bool onTarget) const
{
    const double inLow = std::max(m_low, 0.0);
    const double inHigh = std::min(m_high, 1.0);
    const double from = inLow <= inHigh ? inLow : m_low;
    const double to = inLow <= inHigh ? inHigh : m_high;
    return onTarget || to - from < 1e-9 ? QList<double>{(from + to) / 2}
                                        : QList<double>{from, (from + to) / 2, to};
}

TuneDimensions TailLine::trimmed(double u, double factor, const TailMoves &moves) const
{
    double driven = factor * (1 - u) * m_drivenAll;
    double reflector = factor * u * m_reflectorAll;
    if (m_tailsMove) {
        // MHz: the gap's move of the dip taken from the tails'
        const double tailsMove = moves.further - m_gapSlope * moves.gap;
        driven += (1 - u) * tailsMove / m_drivenSlope - moves.against / m_drivenSlope;
        reflector += u * tailsMove / m_reflectorSlope + moves.against / m_reflectorSlope;
    }
    TuneDimensions dims = withTails(m_built, LocaleNumbers::roundedToMask(driven, m_decimals),
                                    LocaleNumbers::roundedToMask(reflector, m_decimals));
    dims.e += LocaleNumbers::roundedToMask(moves.gap, m_decimals);
    return rounded(dims, m_decimals);
}

bool TailLine::keeps(const TuneDimensions &trimmed) const
{
    return trimmed.b >= kShortestTail * m_built.b && trimmed.d >= kShortestTail * m_built.d &&
           trimmed.c() >= kNarrowestGap * m_built.c();
}

double TailLine::bestShare(const QList<std::pair<double, double>> &frontToBack) const
{
    // Near its null the field behind is, to first order, a complex number linear in the share
    // while the field ahead barely moves: the power behind over the power ahead is then a
    // parabola in the share. The front-to-back in decibels is a sharp peak there, whose top a
    // parabola through the decibels misplaces.
    QList<std::pair<double, double>> behind;
    for (const auto &[u, db] : frontToBack) {
        behind.append({u, std::pow(10, -db / 10)});
    }
    const double from = std::max(m_low, frontToBack.first().first - kShareBeyond);
    const double to = std::min(m_high, frontToBack.last().first + kShareBeyond);
    double best = frontToBack.first().first;
    for (int i = 0; i <= 200 && to > from; ++i) {
        const double u = from + (to - from) * i / 200;
        if (through(behind, u) < through(behind, best)) {
            best = u;
        }
    }
    return best;
}

double TailLine::heldShare(const QList<std::pair<double, double>> &frontToBack,
                           const QList<std::pair<double, double>> &longTails) const
{
    const double scaledBest = bestShare(frontToBack);
    if (frontToBack.size() < 2 || longTails.size() != frontToBack.size()) {
        return scaledBest;
    }
    const double from = std::max(m_low, frontToBack.first().first - kShareBeyond);
    const double to = std::min(m_high, frontToBack.last().first + kShareBeyond);
    // The worse of the two at each candidate, and the parabola through those: the long-tailed
    // antenna's front-to-back along the line is too sharp near its null for a parabola of its
    // own.
    QList<std::pair<double, double>> worseOfTwo = frontToBack;
    for (qsizetype k = 0; k < worseOfTwo.size(); ++k) {
        worseOfTwo[k].second = std::min(worseOfTwo.at(k).second, longTails.at(k).second);
    }
    const auto worse = [&worseOfTwo](double u) {
        return through(worseOfTwo, u);
    };
    QList<double> shares{scaledBest};
    for (int i = 0; i <= 200 && to > from; ++i) {
        shares.append(from + (to - from) * i / 200);
    }
    double mostHeld = worse(scaledBest);
    for (const double u : std::as_const(shares)) {
        mostHeld = std::max(mostHeld, worse(u));
    }
    double held = scaledBest;
    for (const double u : std::as_const(shares)) {
        if (worse(u) >= mostHeld - kHeldMarginDb &&
            (worse(held) < mostHeld - kHeldMarginDb ||
             std::fabs(u - scaledBest) < std::fabs(held - scaledBest))) {
            held = u;
        }
    }
    return held;
}

std::optional<std::pair<double, double>>
leastBehind(const QList<PlaneSample> &samples, double againstStep, double gapStep, double reach)
{
    if (samples.size() < 6) {
        return std::nullopt;
    }
    // The power behind over the power ahead as c0 + c1 s + c2 g + c3 s² + c4 g² + c5 s g in
    // steps from the centre: the field behind, linear in both to first order, makes it so.
    const PlaneSample &centre = samples.first();
    LinearisedResiduals fit;
    fit.unknowns = 6;
    double largest = 0;
    for (const PlaneSample &sample : samples) {
        const double s = (sample.against - centre.against) / againstStep;
        const double g = (sample.gap - centre.gap) / gapStep;
        fit.jacobian += {1, s, g, s * s, g * g, s * g};
        fit.residuals.append(-std::pow(10, -sample.frontToBack / 10));
        largest = std::max(largest, -fit.residuals.last());
    }
    const std::optional<QList<double>> c = dampedStep(fit, 0);
    if (!c) {
        return std::nullopt;
    }
    const Surface surface{*c};
    const std::optional<std::pair<double, double>> least =
        surface.leastWithin(reach, kSameLeast * largest);
    if (!least) {
        return std::nullopt;
    }
    return std::pair(centre.against + least->first * againstStep,
                     centre.gap + least->second * gapStep);
}

double through(const QList<std::pair<double, double>> &points, double x)
{
    double sum = 0;
    for (qsizetype i = 0; i < points.size(); ++i) {
        double term = points.at(i).second;
        for (qsizetype j = 0; j < points.size(); ++j) {
            if (j != i) {
                term *= (x - points.at(j).first) / (points.at(i).first - points.at(j).first);
            }
        }
        sum += term;
    }
    return sum;
}

} // namespace moxon::trimming
