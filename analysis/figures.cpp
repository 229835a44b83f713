#include "figures.h"

#include <algorithm>
#include <iterator>
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

bool atOneTheta(const QList<PatternPoint> &table)
{
    return table.size() > 1 && std::all_of(table.begin(), table.end(), [&](const PatternPoint &p) {
               return std::fabs(p.theta - table.first().theta) < kSameAngle;
           });
}

bool inVerticalPlane(const QList<PatternPoint> &table)
{
    return table.size() > 1 && std::all_of(table.begin(), table.end(), [&](const PatternPoint &p) {
               return std::fabs(offsetFrom(p.phi, table.first().phi)) < kSameAngle;
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

} // namespace

double forwardAzimuth(BeamAxis axis)
{
    return axis == BeamAxis::X ? 0 : 90;
}

std::optional<DesignFigures> designFigures(const NecFrequencyResult &result, BeamAxis axis,
                                           double frequencyMhz, bool overGround)
{
    DesignFigures figures;
    figures.frequencyMhz = frequencyMhz;
    figures.feed = result.feed;
    figures.swr = standingWaveRatio(result.feed, kLineImpedance);
    figures.forwardPhi = forwardAzimuth(axis);

    bool haveAzimuth = false;
    bool haveElevation = false;
    for (qsizetype i = 0; i < result.tableStarts.size(); ++i) {
        const QList<PatternPoint> table = patternTable(result, i);
        if (!haveAzimuth && atOneTheta(table)) {
            haveAzimuth = true;
            figures.azimuthTheta = table.first().theta;
            for (const PatternPoint &point : table) {
                figures.azimuth.append({point.phi, point.totalGain});
            }
        } else if (!haveElevation && inVerticalPlane(table)) {
            haveElevation = true;
            figures.elevationPhi = table.first().phi;
            for (const PatternPoint &point : table) {
                figures.elevation.append({point.theta, point.totalGain});
            }
        }
    }
    if ((!haveAzimuth && !overGround) || !haveElevation) {
        return std::nullopt;
    }

    std::optional<double> forward;
    std::optional<double> back;
    if (overGround) {
        // The elevation cut's theta points forward where it leans towards the beam.
        const double towardsBeam = std::cos((figures.elevationPhi - figures.forwardPhi) *
                                            std::numbers::pi / 180) > 0
                                       ? 1
                                       : -1;
        // The forward half from the horizon up; the engine prints gains to two decimals, so
        // the lobe's top is often a run of equal maxima, and its middle is where it lies.
        QList<CutPoint> forwardHalf;
        for (const CutPoint &point : figures.elevation) {
            if (point.angle * towardsBeam >= 0) {
                forwardHalf.append(point);
            }
        }
        std::stable_sort(forwardHalf.begin(), forwardHalf.end(),
                         [](const CutPoint &a, const CutPoint &b) {
                             return std::fabs(a.angle) > std::fabs(b.angle);
                         });
        std::optional<CutPoint> lobe;
        if (!forwardHalf.isEmpty()) {
            const double top = std::max_element(forwardHalf.begin(), forwardHalf.end(),
                                                [](const CutPoint &a, const CutPoint &b) {
                                                    return a.gain < b.gain;
                                                })
                                   ->gain;
            QList<CutPoint> tops;
            std::copy_if(forwardHalf.begin(), forwardHalf.end(), std::back_inserter(tops),
                         [top](const CutPoint &point) { return point.gain == top; });
            lobe = tops.at((tops.size() - 1) / 2); // of two middles the lower
        }
        if (lobe) {
            forward = lobe->gain;
            figures.takeoff = 90 - std::fabs(lobe->angle);
            // Straight up there is no back to it; else the same elevation the other way.
            for (const CutPoint &point : figures.elevation) {
                if (std::fabs(point.angle + lobe->angle) < kSameAngle / 2) {
                    back = point.gain;
                }
            }
        }
    } else {
        for (const CutPoint &point : figures.azimuth) {
            const double offset = std::fabs(offsetFrom(point.angle, figures.forwardPhi));
            if (offset < kSameAngle) {
                forward = point.gain;
            } else if (offset > 180 - kSameAngle) {
                back = point.gain;
            }
        }
    }
    if (!forward || !back) {
        return std::nullopt;
    }
    figures.forwardGain = *forward;
    figures.frontToBack = *forward - *back;
    if (haveAzimuth) {
        // Over ground the azimuth cut's own forward direction: the same direction, as printed
        // in that table.
        std::optional<double> azimuthForward;
        for (const CutPoint &point : figures.azimuth) {
            if (std::fabs(offsetFrom(point.angle, figures.forwardPhi)) < kSameAngle) {
                azimuthForward = point.gain;
            }
        }
        figures.beamwidth = azimuthForward ? beamwidth(figures.azimuth, figures.forwardPhi,
                                                       *azimuthForward)
                                           : std::nullopt;
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
