#pragma once

#include "lossyline.h"
#include "touchstone.h"

#include <QList>

namespace moxon {

// The line the antenna is fed with, and the reference of every SWR the program reports.
inline constexpr double kLineImpedance = 50; // ohms

// The impedance curve `load` as seen at the far end of `lengthMetres` of `line`: what an
// analyser in the shack measures of the antenna at the line's top.
[[nodiscard]] QList<TouchstonePoint> throughLine(const QList<TouchstonePoint> &load,
                                                 const LossyLine &line, double lengthMetres);
// The same through lossless line of kLineImpedance ohms whose waves travel at `velocityFactor`
// times the speed of light, on which the SWR is the same at both ends.
[[nodiscard]] QList<TouchstonePoint> throughLine(const QList<TouchstonePoint> &load, double lengthM,
                                                 double velocityFactor);

// A curve measured at the radio's end of `lengthMetres` of `line` turned back to the antenna's
// feed point, point by point, by the line's exact inverse.
[[nodiscard]] QList<TouchstonePoint> deembedded(const QList<TouchstonePoint> &atRadio,
                                                const LossyLine &line, double lengthMetres);

} // namespace moxon
