#include "figures.h"

#include "elevationcuts.h"
#include "takeoff.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace moxon {

namespace {

constexpr double kSameAngle = 0.5; // degrees: closer angles are one direction of the deck

// An angle as seen from `reference`, in (-180, 180] degrees.
double offsetFrom(double angle, double reference)
{
    double offset = std::fmod(angle - reference, 360.0);
    if (offset <= -180) {
        offset += 360;
    } else if (offset > 180) {
        offset -= 360;
    }
    return offset;
}

bool inVerticalPlane(const QList<PatternPoint> &table)
{
    return table.size() > 1 && std::all_of(table.begin(), table.end(), [&](const PatternPoint &p) {
               return std::fabs(offsetFrom(p.phi, table.first().phi)) < kSameAngle;
           });
}

// Round the zenith at one theta; a short cut through a vertical plane may keep within
// kSameAngle of one theta too, but not of one phi.
bool atOneTheta(const QList<PatternPoint> &table)
{
    return table.size() > 1 && !inVerticalPlane(table) &&
           std::all_of(table.begin(), table.end(), [&](const PatternPoint &p) {
               return std::fabs(p.theta - table.first().theta) < kSameAngle;
           });
}

// Where a straight line from (x0, y0) to (x1, y1) reaches `y`.
double crossing(double x0, double y0, double x1, double y1, double y)
{
    if (!std::isfinite(y1)) {
        return x0;
    }
    return x0 + (y - y0) / (y1 - y0) * (x1 - x0);
}

// The pattern tables of one run, told apart by their shapes.
struct RunCuts
{
    QList<PatternPoint> azimuth;   // the first table at one theta
    QList<PatternPoint> elevation; // the first through the whole vertical plane
    QList<CutPoint> finest;        // the finest directions through the plane, any order
    QList<QList<CutPoint>> probes; // through part of a vertical plane, in order
};

QList<CutPoint> alongTheta(const QList<PatternPoint> &table)
{
    QList<CutPoint> cut;
    for (const PatternPoint &point : table) {
        cut.append({point.theta, point.totalGain});
    }
    return cut;
}

// The cut through the whole plane with the fine cut's stretches up from the horizons in place
// of its own directions there.
QList<CutPoint> withStretches(const QList<CutPoint> &whole, const QList<QList<CutPoint>> &stretches)
{
    constexpr double kSame = 1e-9; // degrees
    QList<CutPoint> cut;
    for (const CutPoint &point : whole) {
        const bool covered = std::any_of(stretches.begin(), stretches.end(), [&](const auto &s) {
            const auto [low, high] = std::minmax_element(
                s.begin(), s.end(), [](const auto &a, const auto &b) { return a.angle < b.angle; });
            return !s.isEmpty() && point.angle >= low->angle - kSame &&
                   point.angle <= high->angle + kSame;
        });
        if (!covered) {
            cut.append(point);
        }
    }
    for (const QList<CutPoint> &stretch : stretches) {
        cut.append(stretch);
    }
    return cut;
}

// `stretches`: how many of the tables through part of the plane, the first ones, are the deck's
// fine cut up from the horizons; the rest are probes.
RunCuts runCuts(const NecFrequencyResult &result, qsizetype stretches)
{
    constexpr double kWholePlane = 179; // degrees of theta a cut through the plane spans
    RunCuts cuts;
    QList<QList<CutPoint>> fine;
    for (qsizetype i = 0; i < result.tableStarts.size(); ++i) {
        const QList<PatternPoint> table = patternTable(result, i);
        if (atOneTheta(table)) {
            cuts.azimuth = cuts.azimuth.isEmpty() ? table : cuts.azimuth;
        } else if (inVerticalPlane(table)) {
            const auto [low, high] = std::minmax_element(
                table.begin(), table.end(),
                [](const PatternPoint &a, const PatternPoint &b) { return a.theta < b.theta; });
            if (high->theta - low->theta < kWholePlane) {
                (fine.size() < stretches ? fine : cuts.probes).append(alongTheta(table));
                continue;
            }
            cuts.elevation = cuts.elevation.isEmpty() ? table : cuts.elevation;
            if (table.size() > cuts.finest.size()) {
                cuts.finest = alongTheta(table);
            }
        }
    }
    if (fine.size() == stretches && stretches > 0) {
        cuts.finest = withStretches(cuts.finest, fine);
    }
    return cuts;
}

// How many tables the design deck's fine cut over ground at `heightWavelengths` prints through
// part of the plane: one up from each horizon, or none where it spans the whole plane.
qsizetype fineStretches(std::optional<double> heightWavelengths)
{
    if (!heightWavelengths) {
        return 0;
    }
    const QList<ElevationCut> cuts = elevationCuts(*heightWavelengths);
    return std::count_if(cuts.begin(), cuts.end(), [](const ElevationCut &cut) {
        return (cut.points - 1) * cut.stepDegrees < 180 - kSameAngle;
    });
}

// The gain of the azimuth cut towards `phi`, if it has that direction.
std::optional<double> gainTowardsPhi(const QList<CutPoint> &azimuth, double phi)
{
    for (const CutPoint &point : azimuth) {
        if (std::fabs(offsetFrom(point.angle, phi)) < kSameAngle) {
            return point.gain;
        }
    }
    return std::nullopt;
}

// Over ground: the take-off angle, and the gains there from the azimuth cut where it was taken
// at that angle, else from the elevation cut; false without a forward lobe or a back.
bool takeoffFigures(DesignFigures &figures, const RunCuts &cuts, double heightWavelengths)
{
    // The elevation cut's theta points forward where it leans towards the beam.
    const int towardsBeam =
        std::cos((figures.elevationPhi - figures.forwardPhi) * std::numbers::pi / 180) > 0 ? 1 : -1;
    const QList<Lobe> lobes = forwardLobes(cuts.finest, towardsBeam, heightWavelengths);
    if (lobes.isEmpty()) {
        return false;
    }
    figures.takeoffRivals = rivalLobes(lobes);
    const Lobe lobe = probedLobe(cuts.probes, figures.takeoffRivals).value_or(lobes.first());
    constexpr double kSameElevation = 1e-6; // degrees: the azimuth cut's card has 15 digits
    std::optional<double> forward;
    std::optional<double> back;
    if (!figures.azimuth.isEmpty() &&
        std::fabs(90 - figures.azimuthTheta - lobe.elevation) < kSameElevation) {
        figures.takeoff = 90 - figures.azimuthTheta;
        forward = gainTowardsPhi(figures.azimuth, figures.forwardPhi);
        back = gainTowardsPhi(figures.azimuth, figures.forwardPhi + 180);
    } else {
        figures.azimuth.clear();
        figures.azimuthTheta = DesignFigures{}.azimuthTheta;
        figures.takeoff = lobe.elevation;
        forward = lobe.gain;
        back = backwardGain(cuts.finest, towardsBeam, heightWavelengths, lobe.elevation);
    }
    figures.forwardGain = forward.value_or(0);
    figures.frontToBack = figures.forwardGain - back.value_or(0);
    return forward && back;
}

// In free space: the gains on the horizon, from the azimuth cut.
bool horizonFigures(DesignFigures &figures)
{
    const std::optional<double> forward = gainTowardsPhi(figures.azimuth, figures.forwardPhi);
    const std::optional<double> back = gainTowardsPhi(figures.azimuth, figures.forwardPhi + 180);
    figures.forwardGain = forward.value_or(0);
    figures.frontToBack = figures.forwardGain - back.value_or(0);
    return forward && back;
}

} // namespace

double forwardAzimuth(BeamAxis axis)
{
    return axis == BeamAxis::X ? 0 : 90;
}

std::optional<DesignFigures> designFigures(const NecFrequencyResult &result, BeamAxis axis,
                                           double frequencyMhz,
                                           std::optional<double> heightWavelengths)
{
    DesignFigures figures;
    figures.frequencyMhz = frequencyMhz;
    figures.feed = result.feed;
    figures.swr = standingWaveRatio(result.feed, kLineImpedance);
    figures.forwardPhi = forwardAzimuth(axis);

    const RunCuts cuts = runCuts(result, fineStretches(heightWavelengths));
    if (cuts.elevation.isEmpty() || (cuts.azimuth.isEmpty() && !heightWavelengths)) {
        return std::nullopt;
    }
    figures.elevationPhi = cuts.elevation.first().phi;
    figures.elevation = alongTheta(cuts.elevation);
    if (!cuts.azimuth.isEmpty()) {
        figures.azimuthTheta = cuts.azimuth.first().theta;
        for (const PatternPoint &point : cuts.azimuth) {
            figures.azimuth.append({point.phi, point.totalGain});
        }
    }
    const bool found = heightWavelengths ? takeoffFigures(figures, cuts, *heightWavelengths)
                                         : horizonFigures(figures);
    if (!found) {
        return std::nullopt;
    }
    // Over ground the azimuth cut's own forward direction: the same direction, as printed in
    // that table.
    const std::optional<double> azimuthForward =
        gainTowardsPhi(figures.azimuth, figures.forwardPhi);
    if (azimuthForward) {
        figures.beamwidth = beamwidth(figures.azimuth, figures.forwardPhi, *azimuthForward);
    }
    return figures;
}

std::optional<double> beamwidth(const QList<CutPoint> &azimuth, double forwardPhi,
                                double forwardGain)
{
    const double threshold = forwardGain - kBeamwidthDrop;
    QList<CutPoint> right; // offsets from the beam direction, positive, ascending
    QList<CutPoint> left;  // the other side as positive offsets, ascending
    for (const CutPoint &point : azimuth) {
        const double offset = offsetFrom(point.angle, forwardPhi);
        if (offset >= kSameAngle) {
            right.append({offset, point.gain});
        }
        if (-offset >= kSameAngle || offset > 180 - kSameAngle) {
            left.append({offset > 0 ? 360 - offset : -offset, point.gain});
        }
    }
    const auto halfWidth = [&](QList<CutPoint> side) -> std::optional<double> {
        std::sort(side.begin(), side.end(),
                  [](const CutPoint &a, const CutPoint &b) { return a.angle < b.angle; });
        CutPoint previous{0, forwardGain};
        for (const CutPoint &point : side) {
            if (point.gain < threshold) {
                return crossing(previous.angle, previous.gain, point.angle, point.gain, threshold);
            }
            previous = point;
        }
        return std::nullopt;
    };
    const std::optional<double> toRight = halfWidth(right);
    const std::optional<double> toLeft = halfWidth(left);
    if (!toRight || !toLeft) {
        return std::nullopt;
    }
    return *toRight + *toLeft;
}

Bandwidth bandwidth(const QList<SweepPoint> &sweep, double f0Mhz, double swrAtF0)
{
    Bandwidth result;
    if (!(swrAtF0 <= kBandwidthSwr)) {
        return result;
    }
    const double same = 1e-9 * f0Mhz;
    QList<SweepPoint> below;
    QList<SweepPoint> above;
    for (const SweepPoint &point : sweep) {
        if (point.frequencyMhz < f0Mhz - same) {
            below.append(point);
        } else if (point.frequencyMhz > f0Mhz + same) {
            above.append(point);
        }
    }
    const auto byDistance = [f0Mhz](const SweepPoint &a, const SweepPoint &b) {
        return std::fabs(a.frequencyMhz - f0Mhz) < std::fabs(b.frequencyMhz - f0Mhz);
    };
    std::sort(below.begin(), below.end(), byDistance);
    std::sort(above.begin(), above.end(), byDistance);

    // Outwards from the design frequency to the first point above the limit.
    const auto edge = [&](const QList<SweepPoint> &side, bool &reachesEnd) {
        SweepPoint previous{f0Mhz, {}, swrAtF0};
        for (const SweepPoint &point : side) {
            if (!(point.swr <= kBandwidthSwr)) {
                return crossing(previous.frequencyMhz, previous.swr, point.frequencyMhz, point.swr,
                                kBandwidthSwr);
            }
            previous = point;
        }
        reachesEnd = true;
        return previous.frequencyMhz;
    };
    result.exists = true;
    result.lowerMhz = edge(below, result.reachesLower);
    result.upperMhz = edge(above, result.reachesUpper);
    return result;
}

SweepPoint sweepPoint(double frequencyMhz, const FeedPoint &feed)
{
    return {frequencyMhz, feed, standingWaveRatio(feed, kLineImpedance)};
}

} // namespace moxon
