#pragma once

#include "figures.h"

#include <QList>

#include <algorithm>
#include <complex>

namespace moxon::test {

// Finding an SWR dip from nec2c's own runs, independently of the program's fit: the engine runs
// evenly spaced frequencies around a guess, and the dip is the vertex of the parabola through
// the least |reflection|^2 on 50 ohms and its two neighbours.

// Every `stepMhz` over ten steps either side of `guessMhz`.
inline QList<double> dipSearchFrequencies(double guessMhz, double stepMhz)
{
    QList<double> frequencies;
    for (int i = -10; i <= 10; ++i) {
        frequencies.append(guessMhz + stepMhz * i);
    }
    return frequencies;
}

// The dip of `points`, run at dipSearchFrequencies(); 0 when the least lies at either end (the
// dip is not within the span) or a point is missing.
inline double parabolaDip(const QList<SweepPoint> &points, double stepMhz)
{
    if (points.size() != 21) {
        return 0;
    }
    QList<double> reflection;
    for (const SweepPoint &point : points) {
        const std::complex<double> z(point.feed.resistance, point.feed.reactance);
        reflection.append(std::norm((z - 50.0) / (z + 50.0)));
    }
    const qsizetype k = std::min_element(reflection.begin(), reflection.end()) - reflection.begin();
    if (k == 0 || k == reflection.size() - 1) {
        return 0;
    }
    const double y0 = reflection.at(k - 1);
    const double y1 = reflection.at(k);
    const double y2 = reflection.at(k + 1);
    return points.at(k).frequencyMhz + stepMhz * 0.5 * (y0 - y2) / (y0 - 2 * y1 + y2);
}

} // namespace moxon::test
