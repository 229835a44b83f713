#pragma once

#include "touchstone.h"

#include <QList>
#include <QString>

#include <variant>

namespace moxon {

// Where a measured curve's SWR on the 50-ohm line is lowest.
struct MeasuredDip
{
    double frequencyMhz = 0;
    double swr = 0; // on kLineImpedance
};

// The SWR dip of `points` (in increasing frequency, as a file is read): the lowest point and
// its two neighbours, with the parabola through them giving the frequency and SWR of its
// vertex, so that the dip falls between the analyser's steps where it lies. When the SWR is
// lowest at an end of the range, the curve still falls there and the dip lies outside: the
// sentence that says so, naming the file `displayName`; the same with fewer than 3 points.
[[nodiscard]] std::variant<MeasuredDip, QString> measuredDip(const QList<TouchstonePoint> &points,
                                                             const QString &displayName);

} // namespace moxon
