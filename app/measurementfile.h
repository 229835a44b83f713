#pragma once

#include "checkview.h"
#include "diagnosis.h"

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

// A measured file as the diagnosis fits it: its impedance curve as the analyser read it, with
// the feed line between when it was measured at the radio, and the target (the design
// frequency `designMhz` when none is given). A typed dip, a file that cannot be read, a target
// that is no frequency and a file measured at the radio without a line give the sentence that
// refuses them.
struct DiagnosedFile
{
    DiagnosisMeasurement measurement;
    double targetMhz = 0;
};

[[nodiscard]] std::variant<DiagnosedFile, QString>
readDiagnosisFile(const MeasuredAntenna &measured, double designMhz,
                  const std::optional<FeedLine> &line = std::nullopt);

} // namespace moxon
