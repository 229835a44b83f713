#include "sweepdip.h"

#include "measureddip.h"

namespace moxon {

std::optional<double> sweepDip(const QList<SweepPoint> &curve)
{
    QList<TouchstonePoint> points;
    points.reserve(curve.size());
    for (const SweepPoint &point : curve) {
        points.append(TouchstonePoint{point.frequencyMhz,
                                      {point.feed.resistance, point.feed.reactance}});
    }
    const std::variant<MeasuredDip, QString> dip = measuredDip(points, QString());
    if (const auto *found = std::get_if<MeasuredDip>(&dip)) {
        return found->frequencyMhz;
    }
    return std::nullopt;
}

} // namespace moxon
