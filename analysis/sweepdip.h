#pragma once

#include "figures.h"

#include <QList>

#include <optional>

namespace moxon {

// Where the SWR of a check's curve (points in increasing frequency: the fit's dense curve, or
// the engine's sweep) is lowest, MHz: the vertex of the parabola through the lowest point and
// its neighbours, as a measured curve's dip is found, so that it falls between the points.
// None when the curve is lowest at either end, where the dip lies outside it.
[[nodiscard]] std::optional<double> sweepDip(const QList<SweepPoint> &curve);

} // namespace moxon
