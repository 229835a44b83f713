#pragma once

#include "touchstone.h"

#include <QList>

namespace moxon {

// The line the antenna is fed with, and the reference of every SWR the program reports.
inline constexpr double kLineImpedance = 50; // ohms

// The impedance curve `load` as seen at the far end of `lengthM` metres of lossless line of
// kLineImpedance ohms whose waves travel at `velocityFactor` times the speed of light: what an
// analyser in the shack measures of the antenna at the line's top. The SWR on the line is the
// same at both ends.
[[nodiscard]] QList<TouchstonePoint> throughLine(const QList<TouchstonePoint> &load, double lengthM,
                                                 double velocityFactor);

} // namespace moxon
