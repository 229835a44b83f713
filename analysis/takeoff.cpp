#include "takeoff.h"

#include "elevationcuts.h"
#include "sweepplan.h"

#include <QString>

#include <Eigen/Dense>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace moxon {

namespace {

constexpr double kDegree = std::numbers::pi / 180;
constexpr int kProbePoints = 11;
constexpr double kProbeSpacing = 0.01;  // of the lobes' spacing, between a probe's directions
constexpr double kSameDirection = 1e-9; // degrees
constexpr double kSameTop = 1e-6;       // degrees: the probes' cards carry 15 digits
// Directions a lobe's spacing needs before its maxima are lobes: the curve through three of
// them holds one lobe's top (with two a lobe the curve cannot be solved).
constexpr double kLeastLobeSamples = 3;

// A direction of the cut as seen from the beam: theta from -90 (the horizon behind) over the
// zenith (0) to 90 (the horizon in front); the sine of its elevation is cos(theta).
struct Sample
{
    double theta = 0;
    double gain = 0; // dBi
};

QList<Sample> samples(const QList<CutPoint> &cut, int towardsBeam)
{
    QList<Sample> result;
    for (const CutPoint &point : cut) {
        result.append({point.angle * towardsBeam, point.gain});
    }
    std::sort(result.begin(), result.end(),
              [](const Sample &a, const Sample &b) { return a.theta < b.theta; });
    return result;
}

double power(double gainDbi)
{
    return std::pow(10.0, gainDbi / 10);
}

// The curve a + c cos(w u) + s sin(w u) through three directions, u the sine of the elevation
// and w = 4 pi h / λ, with u measured from the middle direction's.
struct LobeCurve
{
    double middle = 0; // u of the middle direction
    double w = 0;
    Eigen::Vector3d acs = Eigen::Vector3d::Zero();

    [[nodiscard]] double at(double u) const
    {
        const double x = w * (u - middle);
        return acs(0) + acs(1) * std::cos(x) + acs(2) * std::sin(x);
    }
};

std::optional<LobeCurve> curveThrough(const std::array<Sample, 3> &three, double heightWavelengths)
{
    LobeCurve curve{std::cos(three[1].theta * kDegree), 4 * std::numbers::pi * heightWavelengths};
    Eigen::Matrix3d m;
    Eigen::Vector3d p;
    for (int k = 0; k < 3; ++k) {
        const double x = curve.w * (std::cos(three[k].theta * kDegree) - curve.middle);
        m.row(k) << 1, std::cos(x), std::sin(x);
        p(k) = power(three[k].gain);
    }
    const Eigen::FullPivLU<Eigen::Matrix3d> lu(m);
    if (!lu.isInvertible()) {
        return std::nullopt;
    }
    curve.acs = lu.solve(p);
    return curve;
}

// Directions the cut samples in one spacing of the lobes around `index`.
double samplesPerLobe(const QList<Sample> &cut, qsizetype index, double heightWavelengths)
{
    const double before = std::cos(cut.at(std::max<qsizetype>(index - 1, 0)).theta * kDegree);
    const double after = std::cos(cut.at(std::min(index + 1, cut.size() - 1)).theta * kDegree);
    const double step = std::fabs(after - before) / 2;
    return step > 0 ? 1 / (2 * heightWavelengths * step) : kPrintedLobeSamples;
}

// The top of the lobe whose highest printed directions are cut[first..last].
Lobe lobeTop(const QList<Sample> &cut, qsizetype first, qsizetype last, double heightWavelengths)
{
    // In order of elevation the directions run from `last` down; of two middles the lower.
    const Sample &middle = cut.at(last - (last - first) / 2);
    const Lobe printed{90 - middle.theta, middle.gain};
    const bool inside = first > 0 && last + 1 < cut.size() && cut.at(first - 1).theta > 0;
    if (!inside || last - first > 1 ||
        samplesPerLobe(cut, first, heightWavelengths) >= kPrintedLobeSamples) {
        return printed;
    }
    const std::optional<LobeCurve> curve =
        curveThrough({cut.at(first - 1), cut.at(first), cut.at(first + 1)}, heightWavelengths);
    if (!curve) {
        return printed;
    }
    // The curve's top, kept between the directions either side of the highest one.
    const double amplitude = std::hypot(curve->acs(1), curve->acs(2));
    const double lowU = std::cos(cut.at(first + 1).theta * kDegree);
    const double highU = std::cos(cut.at(first - 1).theta * kDegree);
    const double u = std::clamp(curve->middle + std::atan2(curve->acs(2), curve->acs(1)) / curve->w,
                                lowU, highU);
    const double top = curve->at(u);
    if (!(amplitude > 0) || !(top > 0)) {
        return printed;
    }
    // To the hundredth of a dB the engine prints, so that lobes compare as on its own cuts.
    return {std::asin(std::min(u, 1.0)) / kDegree, std::round(1000 * std::log10(top)) / 100};
}

} // namespace

QList<Lobe> forwardLobes(const QList<CutPoint> &cut, int towardsBeam, double heightWavelengths)
{
    const QList<Sample> ordered = samples(cut, towardsBeam);
    QList<Lobe> lobes;
    for (qsizetype first = 0; first < ordered.size();) {
        qsizetype last = first;
        while (last + 1 < ordered.size() && ordered.at(last + 1).gain == ordered.at(first).gain) {
            ++last;
        }
        const bool risesBefore = first == 0 || ordered.at(first - 1).gain < ordered.at(first).gain;
        const bool fallsAfter =
            last + 1 == ordered.size() || ordered.at(last + 1).gain < ordered.at(last).gain;
        // A cut sampling the lobes fewer than kLeastLobeSamples times shows maxima of its own
        // sampling there, not lobes (the displayed cut's above the fine cut, high up).
        const qsizetype middle = last - (last - first) / 2;
        if (risesBefore && fallsAfter && ordered.at(middle).theta >= 0 &&
            samplesPerLobe(ordered, middle, heightWavelengths) >= kLeastLobeSamples) {
            lobes.append(lobeTop(ordered, first, last, heightWavelengths));
        }
        first = last + 1;
    }
    std::stable_sort(lobes.begin(), lobes.end(), [](const Lobe &a, const Lobe &b) {
        return a.gain > b.gain || (a.gain == b.gain && a.elevation < b.elevation);
    });
    return lobes;
}

std::optional<double> backwardGain(const QList<CutPoint> &cut, int towardsBeam,
                                   double heightWavelengths, double elevation)
{
    QList<Sample> behind;
    for (const Sample &sample : samples(cut, -towardsBeam)) {
        if (sample.theta >= 0) {
            behind.append(sample);
        }
    }
    // The nearest direction, in the middle of three where it can be.
    const auto nearest = std::min_element(
        behind.begin(), behind.end(), [elevation](const Sample &a, const Sample &b) {
            return std::fabs(90 - a.theta - elevation) < std::fabs(90 - b.theta - elevation);
        });
    if (nearest == behind.end()) {
        return std::nullopt;
    }
    if (std::fabs(90 - nearest->theta - elevation) < kSameDirection || behind.size() < 3) {
        return nearest->gain;
    }
    const qsizetype middle = std::clamp<qsizetype>(nearest - behind.begin(), 1, behind.size() - 2);
    const std::array three{behind.at(middle - 1), behind.at(middle), behind.at(middle + 1)};
    const std::optional<LobeCurve> curve = curveThrough(three, heightWavelengths);
    const double value = curve ? curve->at(std::sin(elevation * kDegree)) : 0;
    if (!(value > 0)) {
        // Rounding near a null: the weakest of the three.
        return std::min({three[0].gain, three[1].gain, three[2].gain});
    }
    return 10 * std::log10(value);
}

QList<double> rivalLobes(const QList<Lobe> &lobes)
{
    QList<double> rivals;
    for (const Lobe &lobe : lobes) {
        if (rivals.size() == kMostRivals || lobe.gain < lobes.first().gain - kRivalMarginDb) {
            break;
        }
        rivals.append(lobe.elevation);
    }
    return rivals;
}

std::optional<Lobe> probedLobe(const QList<QList<CutPoint>> &probes, const QList<double> &rivals)
{
    if (probes.size() != rivals.size() || rivals.isEmpty()) {
        return std::nullopt;
    }
    std::optional<Lobe> best;
    for (qsizetype k = 0; k < probes.size(); ++k) {
        const QList<CutPoint> &probe = probes.at(k);
        const auto top =
            std::max_element(probe.begin(), probe.end(),
                             [](const CutPoint &a, const CutPoint &b) { return a.gain < b.gain; });
        // Each probe spans its rival's top.
        const auto [low, high] = std::minmax_element(
            probe.begin(), probe.end(),
            [](const CutPoint &a, const CutPoint &b) { return a.angle < b.angle; });
        if (top == probe.end() || 90 - high->angle > rivals.at(k) + kSameTop ||
            90 - low->angle < rivals.at(k) - kSameTop) {
            return std::nullopt;
        }
        if (!best || top->gain > best->gain ||
            (top->gain == best->gain && rivals.at(k) < best->elevation)) {
            best = Lobe{rivals.at(k), top->gain};
        }
    }
    return best;
}

QByteArray takeoffDeck(const QByteArray &deck, const DesignFigures &figures,
                       double heightWavelengths)
{
    QByteArray probed = deck;
    const QList<double> &rivals = figures.takeoffRivals;
    for (qsizetype k = 0; rivals.size() > 1 && k < rivals.size(); ++k) {
        // A hundredth of the lobes' spacing at that elevation apart, above the horizon and
        // below the zenith.
        const double elevation = rivals.at(k);
        const double spacing =
            lobeSpacingDegrees(heightWavelengths) / std::cos(elevation * kDegree);
        const double width = std::min(kProbeSpacing * spacing * (kProbePoints - 1), 90.0);
        const double lowest = std::clamp(elevation - width / 2, 0.0, 90 - width);
        probed = withCard(probed, QStringLiteral("RP 0 %1 1 1000 %2 %3 %4 1")
                                      .arg(QString::number(kProbePoints),
                                           QString::number(90 - lowest - width, 'g', 15),
                                           QString::number(figures.forwardPhi, 'g', 15),
                                           QString::number(width / (kProbePoints - 1), 'g', 15))
                                      .toLatin1());
    }
    return azimuthDeck(probed, 90 - figures.takeoff.value_or(0));
}

} // namespace moxon
