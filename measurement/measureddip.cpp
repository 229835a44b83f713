#include "measureddip.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace moxon {

namespace {

QString megahertz(double frequencyMhz)
{
    return QLocale::c().toString(frequencyMhz, 'g', 7) + QStringLiteral(" MHz");
}

} // namespace

std::variant<MeasuredDip, QString> measuredDip(const QList<TouchstonePoint> &points,
                                               const QString &displayName)
{
    if (points.size() < 3) {
        const QString count = points.size() == 1
                                  ? QStringLiteral("1 frequency")
                                  : QStringLiteral("%1 frequencies").arg(points.size());
        return QStringLiteral("%1 holds %2, and finding the SWR dip takes at least 3.")
            .arg(displayName, count);
    }
    const QList<double> swr = swrOnLine(points);
    const qsizetype low = std::min_element(swr.begin(), swr.end()) - swr.begin();
    if (!std::isfinite(swr.at(low))) {
        return QStringLiteral("%1 has no SWR dip: the load reflects all the power at every "
                              "frequency.")
            .arg(displayName);
    }
    if (low == 0 || low == swr.size() - 1) {
        return QStringLiteral("%1 has no SWR dip inside its range: the SWR still falls towards %2 "
                              "at its %3 end.")
            .arg(displayName, megahertz(points.at(low).frequencyMhz),
                 low == 0 ? QStringLiteral("lower") : QStringLiteral("upper"));
    }

    const double x0 = points.at(low - 1).frequencyMhz;
    const double x1 = points.at(low).frequencyMhz;
    const double x2 = points.at(low + 1).frequencyMhz;
    const double y0 = swr.at(low - 1);
    const double y1 = swr.at(low);
    const double y2 = swr.at(low + 1);
    // A neighbour that reflects all the power gives no parabola: the dip is that steep.
    if (!std::isfinite(y0) || !std::isfinite(y2)) {
        return MeasuredDip{x1, y1};
    }
    // The vertex of the parabola through the three points. With the middle one the lowest it
    // opens upwards and its vertex lies between the outer two; a flat bottom has none.
    const double numerator = (x1 - x0) * (x1 - x0) * (y1 - y2) - (x1 - x2) * (x1 - x2) * (y1 - y0);
    const double denominator = (x1 - x0) * (y1 - y2) - (x1 - x2) * (y1 - y0);
    if (denominator == 0) {
        return MeasuredDip{x1, y1};
    }
    const double x = x1 - 0.5 * numerator / denominator;
    // Lagrange's form of the same parabola, at its vertex.
    const double y = y0 * (x - x1) * (x - x2) / ((x0 - x1) * (x0 - x2)) +
                     y1 * (x - x0) * (x - x2) / ((x1 - x0) * (x1 - x2)) +
                     y2 * (x - x0) * (x - x1) / ((x2 - x0) * (x2 - x1));
    return MeasuredDip{x, y};
}

} // namespace moxon
