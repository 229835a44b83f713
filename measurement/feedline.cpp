#include "feedline.h"

#include "installation.h"

#include <cmath>
#include <numbers>

namespace moxon {

QList<TouchstonePoint> throughLine(const QList<TouchstonePoint> &load, double lengthM,
                                   double velocityFactor)
{
    using namespace std::complex_literals;
    const double z0 = kLineImpedance;
    QList<TouchstonePoint> seen;
    seen.reserve(load.size());
    for (const TouchstonePoint &point : load) {
        // Electrical length in radians.
        const double beta = 2 * std::numbers::pi * lengthM /
                            (freeSpaceWavelength(point.frequencyMhz) * velocityFactor);
        // Z0 (ZL + j Z0 tan) / (Z0 + j ZL tan), multiplied through by the cosine so that a
        // quarter wave, where the tangent is infinite, gives Z0² / ZL.
        const std::complex<double> zl = point.impedanceOhm;
        const double c = std::cos(beta);
        const double s = std::sin(beta);
        seen.append({point.frequencyMhz, z0 * (zl * c + 1i * z0 * s) / (z0 * c + 1i * zl * s)});
    }
    return seen;
}

} // namespace moxon
