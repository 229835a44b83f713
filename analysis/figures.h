#pragma once

#include "feedline.h"
#include "necoutput.h"

#include <QList>
#include <QString>

#include <cmath>
#include <optional>

namespace moxon {

// The axis the beam lies along; the driven element is on its positive side.
enum class BeamAxis
{
    X,
    Y,
};

// One direction of a pattern cut: its angle in the cut in degrees, total gain in dBi.
struct CutPoint
{
    double angle = 0;
    double gain = 0;
};

// The figures of the design frequency and its two pattern cuts.
// The SWR on 50 ohms over a band, from a rational fit to the engine's impedance there.
struct BandSwr
{
    double lowerMhz = 0;
    double upperMhz = 0;
    double worst = 0;    // the highest SWR anywhere in the band
    double worstMhz = 0; // where it is
    double atLower = 0;  // at the band's edges
    double atUpper = 0;
};

struct DesignFigures
{
    double frequencyMhz = 0;
    FeedPoint feed;                  // ohms
    double swr = 0;                  // on 50 ohms
    double forwardGain = 0;          // dBi, towards the beam direction on the horizon
    double frontToBack = 0;          // dB, forward gain less the gain in the opposite direction
    double forwardPhi = 0;           // degrees, the beam direction's azimuth
    std::optional<double> beamwidth; // degrees between the -3 dB points in the azimuth cut
    QList<CutPoint> azimuth;         // at theta azimuthTheta: angle is phi, 0 to 360; empty
                                     // over ground until the run at the take-off angle is read
    QList<CutPoint> elevation;       // the vertical plane through the beam axis: angle is theta,
                                     // -90 to 90, at azimuth elevationPhi
    double elevationPhi = 0;         // degrees
    double azimuthTheta = 90;        // degrees from the zenith: the horizon in free space
    // Over ground: degrees above the horizon where the forward lobe of the elevation pattern
    // is strongest (takeoff.h). The forward gain and the front-to-back are taken there, the
    // beamwidth in the azimuth cut at that elevation. None in free space, where they are taken
    // on the horizon.
    std::optional<double> takeoff;
    // Over ground: degrees above the horizon of the forward lobes whose tops come close to the
    // strongest one's, strongest first; the run at the take-off angle tells them apart.
    QList<double> takeoffRivals;
    // Tuning for a band only: the SWR over it.
    std::optional<BandSwr> band;
};

// One point of the SWR sweep.
struct SweepPoint
{
    double frequencyMhz = 0;
    FeedPoint feed; // ohms
    double swr = 0; // on 50 ohms

    // False where the engine gave no number for the impedance.
    bool finite() const { return std::isfinite(feed.resistance) && std::isfinite(feed.reactance); }
};

// The span around the design frequency where the SWR is at most 2, interpolated linearly
// between sweep points. Where the SWR stays within 2 up to an end of the sweep, the span
// stops there and says so.
struct Bandwidth
{
    bool exists = false; // false when the SWR at the design frequency is above 2
    double lowerMhz = 0;
    double upperMhz = 0;
    bool reachesLower = false; // the lower edge is the sweep's first point
    bool reachesUpper = false; // the upper edge is the sweep's last point

    [[nodiscard]] double widthMhz() const { return exists ? upperMhz - lowerMhz : 0; }
};

inline constexpr double kBandwidthSwr = 2;  // the SWR that bounds the bandwidth
inline constexpr double kBeamwidthDrop = 3; // dB below the forward gain

// Azimuth of the beam direction in degrees: +X is phi 0, +Y phi 90.
[[nodiscard]] double forwardAzimuth(BeamAxis axis);

// The figures of a design deck's run at `frequencyMhz` (the engine prints frequencies to
// five digits only): the azimuth cut is the pattern table at one theta, the elevation cut the
// first one through the whole vertical plane. Empty when the run lacks a table or the forward
// or backward direction. In free space the forward direction is on the horizon. Over ground,
// with the antenna's centre `heightWavelengths` up, it is at the take-off angle, found on the
// finest cut through the plane and told apart from rival lobes by fine cuts through their
// tops where the run has them; the azimuth cut counts only where it was taken at that angle,
// and is missing otherwise (the figures run, or a run at another lobe).
[[nodiscard]] std::optional<DesignFigures>
designFigures(const NecFrequencyResult &result, BeamAxis axis, double frequencyMhz,
              std::optional<double> heightWavelengths = std::nullopt);

// Degrees between the two directions either side of `forwardPhi` where the azimuth cut has
// fallen kBeamwidthDrop below `forwardGain`, interpolated; empty when it never falls that far.
[[nodiscard]] std::optional<double> beamwidth(const QList<CutPoint> &azimuth, double forwardPhi,
                                              double forwardGain);

// The bandwidth around `f0Mhz`, where the SWR is `swrAtF0`, from the sweep (any order).
[[nodiscard]] Bandwidth bandwidth(const QList<SweepPoint> &sweep, double f0Mhz, double swrAtF0);

// A sweep point from one frequency of an engine run.
[[nodiscard]] SweepPoint sweepPoint(double frequencyMhz, const FeedPoint &feed);

} // namespace moxon
