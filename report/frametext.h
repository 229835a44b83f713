#pragma once

#include "diagnosis.h"
#include "trim.h"

#include <QString>
#include <QTextStream>

namespace moxon {

// A pair of tails' change as the builder makes it: "cut 6.3 cm from each driven-element tail",
// "add 0.4 cm to ...", or leave them; `tails` names the element.
[[nodiscard]] QString tailAdvice(double change, const TuneSetup &setup, const QString &tails);

// Where the frame lets E change: "make E 1.2 cm deeper, the corners out along the spreaders".
[[nodiscard]] QString frameAdvice(double change, const TuneSetup &setup);

// Where the tails alone leave the front-to-back well below the rebuild's or the design's
// (frameShortfall): that the frame's own size holds it back, and what gets it back. Lines
// aligned as the trim's report, without the last line's end; empty where there is nothing to
// say.
[[nodiscard]] QString frameLines(const TrimResult &result);

// "dip 14.1497 MHz; at 14.150 MHz SWR 1.07, front-to-back 30.16 dB"
[[nodiscard]] QString predictedLine(const TrimmedAntenna &antenna, double targetMhz);

// Rows of the dimensions `letters` before and after, with the change in the builder's unit.
void dimensionRows(QTextStream &out, const TuneDimensions &before, const TuneDimensions &after,
                   const QString &letters, const QString &afterName, const TuneSetup &setup);

// A diagnosis's new frame (DiagnosisResult::newFrame) as the builder makes it: why the trims
// fall short, the trim it leads with against the rebuild's or the design's front-to-back, and
// each dimension against the antenna as built, with what it predicts. Lines aligned as the
// trim's report.
[[nodiscard]] QString newFrameLines(const DiagnosisResult &result, const TuneSetup &setup);

} // namespace moxon
