#pragma once

#include <QList>

namespace moxon {

// The elevation cuts the check deck asks of the engine over ground, in the vertical plane of
// the beam, theta from -90 to 90 degrees.
//
// Over flat ground the wave reflected by the ground meets the direct one with a phase of
// 2kh sin(elevation) between them (the two-ray model: Balanis, "Antenna Theory", 4th ed.,
// section 4.7, "Ground Effects"), so the pattern's lobes repeat every λ / 2h in the sine of
// the elevation: near the horizon λ / 2h radians apart, wider towards the zenith. Higher up
// they crowd together: at 20 wavelengths 1.4 degrees apart, at 200 a seventh of a degree.
//
// The first cut is the one the window draws, every half degree. Where it samples a lobe near
// the horizon fewer than kTakeoffSamplesPerLobe times, a finer cut follows, fine enough for
// that; the take-off angle is read from the finer of the two. Its step divides 180 degrees
// into a whole number of steps and is a binary fraction of a degree, so that the engine's
// angles, summed step by step, meet the horizon exactly.
//
// The finer cut spans only kFineCutElevation up from each horizon, towards the beam and away
// from it: the strongest forward lobe lies there. Over flat ground the lobes' tops follow the
// envelope (|direct| + |R| |reflected|)², R the ground's reflection coefficient (Balanis,
// section 4.7; its magnitude for either polarisation falls from 1 at grazing incidence towards
// the Brewster angle, section 4.7.2), and the antenna's forward gain in free space is highest
// on the horizon, the plane of its elements: the envelope falls from the horizon up, and where
// it hardly falls (perfect ground, sea water) the lowest of equal lobes is the take-off. Above
// kFineCutElevation the displayed cut's directions stand alone, and lobes are read off them only
// where they sample a lobe often enough. Each direction costs the engine as much over ground
// as any other: at 200 wavelengths the whole plane took four times the directions.// Degrees
// between the first two lobes of the pattern over ground, near the horizon, for an antenna whose
// centre hangs `heightWavelengths` above the ground.
[[nodiscard]] double lobeSpacingDegrees(double heightWavelengths);

// One pattern card in the vertical plane of the beam: `points` directions from theta
// `startDegrees` (-90: the horizon behind the beam, or in front of it on a plane at phi 270)
// in steps of `stepDegrees`.
struct ElevationCut
{
    double startDegrees = -90;
    double stepDegrees = 0;
    int points = 0;

    [[nodiscard]] bool operator==(const ElevationCut &) const = default;
};

inline constexpr double kDisplayedElevationStep = 0.5; // degrees
inline constexpr int kTakeoffSamplesPerLobe = 4;       // at least, near the horizon
inline constexpr double kFineCutElevation = 20;        // degrees above each horizon, at least

// The cuts of the check deck over ground at `heightWavelengths`: the displayed one, and when
// the height needs it the finer one, from each horizon up (the one from theta -90 first).
[[nodiscard]] QList<ElevationCut> elevationCuts(double heightWavelengths);

} // namespace moxon
