#pragma once

#include "checkreport.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace moxon {

// The line above the check's figures that names the design checked, as the user gave it:
// "146 MHz，线材 #12 AWG，水平极化，波束沿 X 轴".
[[nodiscard]] QString checkHeader(const QString &frequencyText, const QString &wireText,
                                  const QString &wireUnitText, bool vertical, bool xAxis);

// The command line's report: the figures, one a line, then the sweep as a table.
[[nodiscard]] QString checkReportText(const CheckReport &report);

// The report for scripts: frequency_mhz, resistance_ohm, reactance_ohm, swr_50, forward
// ("+X" or "+Y"), forward_gain_dbi, front_to_back_db, beamwidth_deg (null when the pattern
// never falls 3 dB), bandwidth, sweep_points, sweep[] (frequency_mhz, resistance_ohm,
// reactance_ohm, swr_50), azimuth and elevation, and caution when the model is outside the
// engine's accuracy guideline; on a failure only error and message.
[[nodiscard]] QJsonObject checkReportToJson(const CheckReport &report);

// The check's numbers as CSV, "." as the decimal point whatever the locale: the sweep rows
// "MHz,R,X,SWR", an empty line, then the pattern rows "plane,angle,dBi" (azimuth by phi,
// elevation by theta, both in degrees).
[[nodiscard]] QByteArray checkCsv(const QList<SweepPoint> &sweep, const DesignFigures &figures);

} // namespace moxon
