#include "feedline.h"

namespace moxon {

QList<TouchstonePoint> throughLine(const QList<TouchstonePoint> &load, const LossyLine &line,
                                   double lengthMetres)
{
    QList<TouchstonePoint> seen;
    seen.reserve(load.size());
    for (const TouchstonePoint &point : load) {
        seen.append({point.frequencyMhz,
                     line.inputImpedance(point.impedanceOhm, point.frequencyMhz, lengthMetres)});
    }
    return seen;
}

QList<TouchstonePoint> throughLine(const QList<TouchstonePoint> &load, double lengthM,
                                   double velocityFactor)
{
    return throughLine(load, LossyLine(Cable{{}, kLineImpedance, velocityFactor, {}}), lengthM);
}

QList<TouchstonePoint> deembedded(const QList<TouchstonePoint> &atRadio, const LossyLine &line,
                                  double lengthMetres)
{
    return throughLine(atRadio, line, -lengthMetres);
}

} // namespace moxon
