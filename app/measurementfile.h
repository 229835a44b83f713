#pragma once

#include "checkview.h"

#include <QString>

#include <variant>

namespace moxon {

// What was measured of the built antenna, read for its trim: the file's SWR curve on the
// 50-ohm line and its dip, or the dip as typed; the target defaults to the design frequency
// `designMhz`. A file that is not a one-port Touchstone file, or has no dip inside its range,
// and a dip or target that is no frequency, give the sentence that refuses them. A file
// measured at the radio is turned back to the feed point through `line`, by the exact inverse
// of the lossy line, before its dip is found; without a line it is refused.
[[nodiscard]] std::variant<Measurement, QString>
readMeasurement(const MeasuredAntenna &measured, double designMhz,
                const std::optional<FeedLine> &line = std::nullopt);

} // namespace moxon
