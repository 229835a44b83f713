#pragma once

#include "cable.h"
#include "figures.h"
#include "radiofigures.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>

#include <optional>

namespace moxon {

// The pieces of the reports for scripts that the feed line brings, and those they share with
// the check's own figures.

// The SWR ≤ 2 band around `f0Mhz`: swr_limit, lower_mhz, upper_mhz, width_mhz, percent,
// reaches_lower_end, reaches_upper_end; null where the SWR at f0 is above the limit.
[[nodiscard]] QJsonValue bandwidthJson(const Bandwidth &band, double f0Mhz);
// Rows of frequency_mhz, resistance_ohm, reactance_ohm, swr_50.
[[nodiscard]] QJsonArray sweepRowsJson(const QList<SweepPoint> &points);
// The installation's feedline: type (a cable's name or "custom"), length_m, z0_ohm,
// velocity_factor and matched_loss_db_per_100m at `f0Mhz`; null without a line.
[[nodiscard]] QJsonValue feedLineJson(const std::optional<FeedLine> &line, double f0Mhz);
// at_radio: resistance_ohm, reactance_ohm, swr_50, matched_loss_db, total_loss_db,
// power_at_antenna_w (of 100 W into the line), and with a sweep its bandwidth.
[[nodiscard]] QJsonObject radioJson(const RadioFigures &radio, bool withBandwidth);

} // namespace moxon
