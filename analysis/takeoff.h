#pragma once

#include "figures.h"

#include <QByteArray>
#include <QList>

#include <optional>

namespace moxon {

// The take-off angle over ground: where the elevation pattern's forward lobe is strongest.
//
// Over flat ground the direct and the ground-reflected waves add to a power of the form
// a + c cos(2kh u) + s sin(2kh u) in u, the sine of the elevation, where a, c and s change
// only slowly with the elevation (the two-ray model; see elevationcuts.h). Three directions of
// a cut around a lobe's highest one fix that curve, and with it the lobe's top, far between
// the cut's directions: the cut needs only a few directions per lobe. Near-equal lobes are
// told apart again in the run of the azimuth cut, by nec2c's own gains on fine cuts through
// each of their tops, as a fine cut over the whole plane would tell them apart.

// One forward lobe: its top.
struct Lobe
{
    double elevation = 0; // degrees above the horizon
    double gain = 0;      // dBi, to the hundredth the engine prints
};

// Where a cut samples a lobe at least this often, the lobe's top is its highest printed
// direction (the middle one of equal ones, of two the lower): within a fortieth of the lobes'
// spacing of the top, less than 0.03 dB below it (a lobe over ground falls as cos² from its top).
inline constexpr double kPrintedLobeSamples = 20;
// Lobes whose fitted tops come this close to the strongest one's are probed: the fit agrees
// with nec2c's fine cut within about 0.02 dB, nec2c prints gains to 0.01 dB.
// Where the lobes' tops hardly fall from the horizon up (over sea water or perfect ground),
// dozens of them come that close.
inline constexpr double kRivalMarginDb = 0.05;
inline constexpr int kMostRivals = 64;

// The forward lobes of `cut`, an elevation cut through the vertical plane of the beam (angle
// theta from -90 to 90 degrees, in order), strongest first, of equal ones the lower first.
// `towardsBeam` is 1 where positive theta leans towards the beam, -1 where negative does;
// the antenna's centre hangs `heightWavelengths` above the ground.
[[nodiscard]] QList<Lobe> forwardLobes(const QList<CutPoint> &cut, int towardsBeam,
                                       double heightWavelengths);

// The gain of `cut` at `elevation` away from the beam: the printed one where the cut has that
// direction, else from the same curve through the three nearest directions.
[[nodiscard]] std::optional<double> backwardGain(const QList<CutPoint> &cut, int towardsBeam,
                                                 double heightWavelengths, double elevation);

// The elevations of the lobes, strongest first, whose tops come within kRivalMarginDb of the
// strongest one's, at most kMostRivals.
[[nodiscard]] QList<double> rivalLobes(const QList<Lobe> &lobes);

// Of `probes`, the fine cuts through the tops of the lobes at `rivals` (one each, in order;
// angle theta towards the beam), the lobe whose cut has the highest printed gain, of equal ones
// the lower; none when the probes are not those of the rivals.
[[nodiscard]] std::optional<Lobe> probedLobe(const QList<QList<CutPoint>> &probes,
                                             const QList<double> &rivals);

// The deck of the run at the take-off angle: `deck`, the figures run over ground, with a fine
// cut towards the beam through the top of each of the figures' rival lobes when there is more
// than one, and the azimuth cut at the take-off angle.
[[nodiscard]] QByteArray takeoffDeck(const QByteArray &deck, const DesignFigures &figures,
                                     double heightWavelengths);

} // namespace moxon
