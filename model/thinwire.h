#pragma once

#include "modelinput.h"

#include <QString>

namespace moxon {

// How a model stands against NEC-2's thin-wire model. Its user's guide asks for segments
// shorter than about 0.1 wavelength and, with the thin-wire kernel, at least 8 times as long
// as the wire's radius for errors near 1 %; past that the engine still computes, less
// accurately. A radius of more than twice the segment, a segment of no length or one of half a
// wavelength and more are beyond the model: the engine returns no resistance, or never ends.
// (At 146 MHz the resistance grows smoothly with the wire up to 50 mm, where the shortest
// segments are 0.58 radii, and collapses from 60 mm, at 0.47 radii, to 10 ohm at 80 mm.)
enum class ThinWireFit
{
    Sound,
    OutsideGuideline, // figures with a caution
    Beyond,           // no run
};

struct ThinWireCheck
{
    ThinWireFit fit = ThinWireFit::Sound;
    QString sentence; // names the limit and the wire; empty when sound
};

inline constexpr double kGuidelineSegmentsPerRadius = 8; // segment length / radius
inline constexpr double kGuidelineSegmentWavelengths = 0.1;
inline constexpr double kLimitSegmentsPerRadius = 0.5;
inline constexpr double kLimitSegmentWavelengths = 0.5;

// The worst of the model's six wires at its frequency; every figure in `model` is checked, so
// a model the writers refuse is Beyond too.
[[nodiscard]] ThinWireCheck checkThinWire(const ModelInput &model);

} // namespace moxon
