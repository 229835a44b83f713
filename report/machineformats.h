#pragma once

#include "checkreport.h"
#include "tolerance.h"
#include "trim.h"
#include "tuner.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

namespace moxon {

// The reports for scripts below are objects; jsonText() writes them, each number with the
// digits it means.

// Dimensions for scripts: a to e in their unit, C as the model holds it (E less B and D, to
// the shown `decimals`).
[[nodiscard]] QJsonObject dimensionsJson(const TuneDimensions &dims, int decimals);
// Where the antenna hangs, what its wire is made of and how it is fed, for scripts: height_m,
// ground, permittivity, conductivity_s_per_m, conductor, conductor_s_per_m, insulation and
// feedline (its matched loss at `designMhz`), null where they do not apply.
[[nodiscard]] QJsonObject installationJson(const Installation &installation, double designMhz);
// A design's figures at one frequency for scripts: resistance_ohm, reactance_ohm, swr_50,
// forward_gain_dbi, front_to_back_db and, over ground, takeoff_deg; for the band goal
// band_worst_swr, band_worst_mhz, band_lower_swr and band_upper_swr; through a feed line
// `line`, at_radio.
[[nodiscard]] QJsonObject figuresJson(const DesignFigures &figures,
                                      const std::optional<FeedLine> &line = std::nullopt);

// The report for scripts: frequency_mhz, resistance_ohm, reactance_ohm, swr_50, forward
// ("+X" or "+Y"), forward_gain_dbi, front_to_back_db, beamwidth_deg (null when the pattern
// never falls 3 dB), bandwidth, sweep_points, sweep[] (frequency_mhz, resistance_ohm,
// reactance_ohm, swr_50), azimuth (theta_deg where it was taken) and elevation, installation
// (height_m, ground, permittivity, conductivity_s_per_m, conductor, conductor_s_per_m,
// insulation {kind, permittivity, thickness_m}, null where they do not apply, and feedline,
// radiojson.h), dip_mhz (null when the SWR is lowest at an end of the sweep), with insulation
// bare_dip_mhz and insulation_dip_shift_percent (null without) and bare_engine_frequencies
// (what nec2c ran for the bare wire's dip), over ground takeoff_deg and takeoff_gain_dbi,
// where the forward gain, the front-to-back and the beamwidth are then taken, and caution
// when the model is outside the engine's accuracy guideline; with a feed line at_radio
// (radiojson.h, with the bandwidth at the radio) and sweep_at_radio[] as sweep[]; on a
// failure only error and message.
[[nodiscard]] QJsonObject checkReportToJson(const CheckReport &report);

// A failure for scripts: {"error": `error`, "message": `message`}, a name to branch on and a
// sentence for people.
[[nodiscard]] QJsonObject failureToJson(const QString &error, const QString &message);
// An engine failure's name in "error": "engine_missing", "model_refused", "unsound_result", ...;
// empty for None.
[[nodiscard]] QString engineFailureName(EngineFailure failure);

// The tuning for scripts: goal, goal_met, units, formula and tuned (a to e in the unit, as
// shown), before and after (resistance_ohm, reactance_ohm, swr_50, forward_gain_dbi,
// front_to_back_db and, over ground, takeoff_deg), engine_runs, seconds.
// With a feed line `line`, before and after each carry at_radio as the check's does.
[[nodiscard]] QJsonObject tuneReportToJson(const TuneResult &result, const TuneSetup &setup,
                                           const std::optional<FeedLine> &line = {});

// What ends a tolerance, for scripts: "swr", "front_to_back", "search_end" or "design".
[[nodiscard]] QString toleranceLimitName(ToleranceLimit limit);
// Why an analysis gave no result, for scripts: "no_dip", "dip_out_of_reach", "bad_input";
// empty for None and for the engine's failures, which have names of their own.
[[nodiscard]] QString analysisFaultName(AnalysisFault fault);

// The tolerances for scripts: frequency_mhz, units, design (a to e as analysed), dip_mhz,
// swr_50 and front_to_back_db at the design frequency (and takeoff_deg over ground), limits
// (swr_50, front_to_back_db), dimensions (a to d: dip_khz_per_step,
// front_to_back_db_per_step, tolerance_minus and tolerance_plus in the unit, null when the
// design is past a limit itself, limit_minus and limit_plus), step and step_unit (the
// builder's step the sensitivities are per), difference_step (the unit), cut_error (the
// unit), builds, yield (0 to 1), dip_spread_khz, engine_runs, seconds.
// With a feed line in the result's installation, at_radio of the design frequency as the
// check's.
[[nodiscard]] QJsonObject toleranceReportToJson(const ToleranceResult &result,
                                                const TuneSetup &setup);

// An antenna made anew for the target, for scripts: a to e, predicted_dip_mhz,
// front_to_back_db, swr_50, over ground takeoff_deg, sweep[] (as the trim's), and through a
// feed line `line` at_radio.
[[nodiscard]] QJsonObject wholeAntennaJson(const TrimmedAntenna &antenna, double targetMhz,
                                           const std::optional<FeedLine> &line, int decimals);

// The trim for scripts: frequency_mhz, target_mhz, units, built (a to e), measured_dip_mhz,
// model_dip_mhz, scale, dip_alone (whether the trim had the dip alone), model (the built
// dimensions' figures at the design frequency), field_trim (driver_tail_change and
// reflector_tail_change in the unit, negative for a cut; b, c, d; predicted_dip_mhz;
// front_to_back_db, swr_50 and, over ground, takeoff_deg at the target; sweep[] of the
// predicted curve; with dip_alone, long_tails_front_to_back_db: the same cut's on the antenna
// with long tails instead, null where it was not tried, long_tails_refusal saying why) or null
// with field_trim_refusal saying why, rebuild (a to e, predicted_dip_mhz, front_to_back_db,
// swr_50, sweep[]), engine_runs, seconds.
// The sweeps are the check's 41 frequencies around the target: frequency_mhz,
// resistance_ohm, reactance_ohm, swr_50. With a feed line in the result's installation, the
// model's, the field trim's and the rebuild's figures each carry at_radio.
[[nodiscard]] QJsonObject trimReportToJson(const TrimResult &result, const TuneSetup &setup);

} // namespace moxon
