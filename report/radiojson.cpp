#include "radiojson.h"

namespace moxon {

QJsonValue bandwidthJson(const Bandwidth &band, double f0Mhz)
{
    if (!band.exists) {
        return {};
    }
    return QJsonObject{
        {QStringLiteral("swr_limit"), kBandwidthSwr},
        {QStringLiteral("lower_mhz"), band.lowerMhz},
        {QStringLiteral("upper_mhz"), band.upperMhz},
        {QStringLiteral("width_mhz"), band.widthMhz()},
        {QStringLiteral("percent"), 100 * band.widthMhz() / f0Mhz},
        {QStringLiteral("reaches_lower_end"), band.reachesLower},
        {QStringLiteral("reaches_upper_end"), band.reachesUpper},
    };
}

QJsonArray sweepRowsJson(const QList<SweepPoint> &points)
{
    QJsonArray rows;
    for (const SweepPoint &point : points) {
        rows.append(QJsonObject{{QStringLiteral("frequency_mhz"), point.frequencyMhz},
                                {QStringLiteral("resistance_ohm"), point.feed.resistance},
                                {QStringLiteral("reactance_ohm"), point.feed.reactance},
                                {QStringLiteral("swr_50"), point.swr}});
    }
    return rows;
}

QJsonValue feedLineJson(const std::optional<FeedLine> &line, double f0Mhz)
{
    if (!line) {
        return {};
    }
    const Cable &cable = line->cable;
    return QJsonObject{{QStringLiteral("type"), cable.name},
                       {QStringLiteral("length_m"), line->lengthMetres},
                       {QStringLiteral("z0_ohm"), cable.z0Ohm},
                       {QStringLiteral("velocity_factor"), cable.velocityFactor},
                       {QStringLiteral("matched_loss_db_per_100m"), cable.loss.dbPer100m(f0Mhz)}};
}

QJsonObject radioJson(const RadioFigures &radio, bool withBandwidth)
{
    QJsonObject object{{QStringLiteral("resistance_ohm"), radio.feed.resistance},
                       {QStringLiteral("reactance_ohm"), radio.feed.reactance},
                       {QStringLiteral("swr_50"), radio.swr},
                       {QStringLiteral("matched_loss_db"), radio.matchedLossDb},
                       {QStringLiteral("total_loss_db"), radio.totalLossDb},
                       {QStringLiteral("power_at_antenna_w"), radio.antennaWatts}};
    if (withBandwidth) {
        object.insert(QStringLiteral("bandwidth"),
                      bandwidthJson(radio.bandwidth, radio.frequencyMhz));
    }
    return object;
}

} // namespace moxon
