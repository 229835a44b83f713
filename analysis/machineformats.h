#pragma once

#include "checkreport.h"
#include "tuner.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

namespace moxon {

// The report for scripts: frequency_mhz, resistance_ohm, reactance_ohm, swr_50, forward
// ("+X" or "+Y"), forward_gain_dbi, front_to_back_db, beamwidth_deg (null when the pattern
// never falls 3 dB), bandwidth, sweep_points, sweep[] (frequency_mhz, resistance_ohm,
// reactance_ohm, swr_50), azimuth (theta_deg where it was taken) and elevation, installation
// (height_m, ground, permittivity, conductivity_s_per_m, conductor, conductor_s_per_m, null
// where they do not apply), over ground takeoff_deg and takeoff_gain_dbi, where the forward
// gain, the front-to-back and the beamwidth are then taken, and caution when the model is
// outside the engine's accuracy guideline; on a failure only error and message.
[[nodiscard]] QJsonObject checkReportToJson(const CheckReport &report);

// A failure for scripts: {"error": `error`, "message": `message`}, a name to branch on and a
// sentence for people.
[[nodiscard]] QJsonObject failureToJson(const QString &error, const QString &message);
// An engine failure's name in "error": "engine_missing", "model_refused", "unsound_result", ...;
// empty for None.
[[nodiscard]] QString engineFailureName(EngineFailure failure);

// The check's numbers as CSV, "." as the decimal point whatever the locale: where the
// installation is not free space in perfect wire, its row under its names and an empty line;
// the sweep rows "MHz,R,X,SWR", an empty line, then the pattern rows "plane,angle,dBi"
// (azimuth by phi, elevation by theta, both in degrees).
[[nodiscard]] QByteArray checkCsv(const QList<SweepPoint> &sweep, const DesignFigures &figures,
                                  const Installation &installation = {});

// The tuning for scripts: goal, goal_met, units, formula and tuned (a to e in the unit, as
// shown), before and after (resistance_ohm, reactance_ohm, swr_50, forward_gain_dbi,
// front_to_back_db and, over ground, takeoff_deg), engine_runs, seconds.
[[nodiscard]] QJsonObject tuneReportToJson(const TuneResult &result, const TuneSetup &setup);

} // namespace moxon
