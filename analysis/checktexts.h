#pragma once

#include "checkreport.h"
#include "tuner.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace moxon {

// The line above the check's figures that names the design checked, as the user gave it:
// "146 MHz，线材 #12 AWG，水平极化，波束沿 X 轴".
[[nodiscard]] QString checkHeader(const QString &frequencyText, const QString &wireText,
                                  const QString &wireUnitText, bool vertical, bool xAxis);
// Where the antenna hangs and what it is made of, for that line: "10 m (0.47 λ) 高，一般地面
// εr 13 σ 0.005，铜线"; `height` as the user gave it, with its unit, `wavelengths` the same in
// wavelengths. Empty for free space and perfect wire.
[[nodiscard]] QString installationHeader(const Installation &installation, const QString &height,
                                         double wavelengths);

// The command line's report: the installation and the figures, one a line, then the sweep as
// a table.
[[nodiscard]] QString checkReportText(const CheckReport &report);

// The report for scripts: frequency_mhz, resistance_ohm, reactance_ohm, swr_50, forward
// ("+X" or "+Y"), forward_gain_dbi, front_to_back_db, beamwidth_deg (null when the pattern
// never falls 3 dB), bandwidth, sweep_points, sweep[] (frequency_mhz, resistance_ohm,
// reactance_ohm, swr_50), azimuth (theta_deg where it was taken) and elevation, installation
// (height_m, ground, permittivity, conductivity_s_per_m, conductor, conductor_s_per_m, null
// where they do not apply), over ground takeoff_deg and takeoff_gain_dbi, where the forward
// gain, the front-to-back and the beamwidth are then taken, and caution when the model is
// outside the engine's accuracy guideline; on a failure only error and message.
[[nodiscard]] QJsonObject checkReportToJson(const CheckReport &report);

// The check's numbers as CSV, "." as the decimal point whatever the locale: where the
// installation is not free space in perfect wire, its row under its names and an empty line;
// the sweep rows "MHz,R,X,SWR", an empty line, then the pattern rows "plane,angle,dBi"
// (azimuth by phi, elevation by theta, both in degrees).
[[nodiscard]] QByteArray checkCsv(const QList<SweepPoint> &sweep, const DesignFigures &figures,
                                  const Installation &installation = {});

// How much tuning changed a dimension, in a unit a builder cuts by: centimetres for metres,
// inches for feet, the unit itself for inches and millimetres: "−4.1 cm" in `locale`. The
// window's style has the minus sign, the command line's (`plain`) a hyphen.
[[nodiscard]] QString dimensionChange(double delta, const TuneSetup &setup, const QLocale &locale,
                                      bool plain);

// The command line's report of a tuning: the goal and whether it was met, formula and tuned
// dimensions with their changes, the figures before and after, the engine runs.
[[nodiscard]] QString tuneReportText(const TuneResult &result, const TuneSetup &setup);

// The same for scripts: goal, goal_met, units, formula and tuned (a to e in the unit, as
// shown), before and after (resistance_ohm, reactance_ohm, swr_50, forward_gain_dbi,
// front_to_back_db and, over ground, takeoff_deg), engine_runs, seconds.
[[nodiscard]] QJsonObject tuneReportToJson(const TuneResult &result, const TuneSetup &setup);

} // namespace moxon
