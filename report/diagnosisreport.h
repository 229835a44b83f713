#pragma once

#include "diagnosis.h"
#include "units.h"

#include <QJsonObject>
#include <QString>

namespace moxon {

// The sentence of a measurement the model does not explain: what to look for instead of a
// diagnosis.
[[nodiscard]] QString notExplainedSentence();
// The verdict of a file with too few frequencies to diagnose: its dip alone is trimmed from.
[[nodiscard]] QString dipAloneVerdict();

// The diagnosis for scripts: frequency_mhz, target_mhz, units, built (a to e), points and
// lower_mhz/upper_mhz of the range fitted, iterations, fit (scale, driver_tail_error,
// reflector_tail_error, gap_error, line_length_error, each with its _sigma; lengths in the
// unit, tail errors positive where a tail is too long, the gap's where it is too wide, the
// line's where it is longer than given; the errors not fitted null; the whole object null when
// the measurement is not explained), residual_ohm, noise_ohm, explained, dip_alone, verdict,
// diagnosed (a to e, without the scale), trim (the trim's field_trim, or null with
// trim_refusal), gap_trim (as trim: the trim that moves E too, where the tails alone fall
// short, E was not let move and it does better; null otherwise), new_frame (the antenna made
// anew where no trim holds the front-to-back, wholeAntennaJson; null otherwise), curve[]
// (frequency_mhz with measured_r/measured_x and fitted_r/fitted_x where it was measured),
// engine_runs and seconds. A file with too few frequencies to fit (dip_alone true): residual_ohm,
// noise_ohm and explained null, fit and diagnosed null, trim the field trim from its dip alone.
[[nodiscard]] QJsonObject diagnosisReportToJson(const DiagnosisResult &result,
                                                const TuneSetup &setup);

// The command line's report: the errors as the builder reads them, each with its 1-σ, the fit
// against the noise, and the trim of each piece; or the sentence that the measurement is not
// this antenna alone. `measured` says where the file came from.
[[nodiscard]] QString diagnosisReportText(const DiagnosisResult &result, const TuneSetup &setup,
                                          DisplayUnit lengthUnit, const QString &measured);

} // namespace moxon
