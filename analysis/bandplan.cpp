#include "bandplan.h"

namespace moxon {

QList<Band> amateurBands()
{
    return {
        {QStringLiteral("160 m"), QStringLiteral("1.85"), 1.8, 2.0},
        {QStringLiteral("80 m"), QStringLiteral("3.65"), 3.5, 4.0},
        {QStringLiteral("60 m"), QStringLiteral("5.357"), 5.3515, 5.3665},
        {QStringLiteral("40 m"), QStringLiteral("7.1"), 7.0, 7.3},
        {QStringLiteral("30 m"), QStringLiteral("10.125"), 10.1, 10.15},
        {QStringLiteral("20 m"), QStringLiteral("14.15"), 14.0, 14.35},
        {QStringLiteral("17 m"), QStringLiteral("18.118"), 18.068, 18.168},
        {QStringLiteral("15 m"), QStringLiteral("21.2"), 21.0, 21.45},
        {QStringLiteral("12 m"), QStringLiteral("24.94"), 24.89, 24.99},
        {QStringLiteral("10 m"), QStringLiteral("28.5"), 28.0, 29.7},
        {QStringLiteral("6 m"), QStringLiteral("50.15"), 50.0, 54.0},
        {QStringLiteral("4 m"), QStringLiteral("70.2"), 70.0, 70.5},
        {QStringLiteral("2 m"), QStringLiteral("146"), 144.0, 148.0},
        {QStringLiteral("1.25 m"), QStringLiteral("222.1"), 222.0, 225.0},
        {QStringLiteral("70 cm"), QStringLiteral("435"), 420.0, 450.0},
        {QStringLiteral("33 cm"), QStringLiteral("915"), 902.0, 928.0},
        {QStringLiteral("23 cm"), QStringLiteral("1296"), 1240.0, 1300.0},
    };
}

std::optional<Band> bandContaining(double mhz)
{
    for (const Band &band : amateurBands()) {
        if (mhz >= band.lowerMhz && mhz <= band.upperMhz) {
            return band;
        }
    }
    return std::nullopt;
}

} // namespace moxon
