#include "bandplan.h"

namespace moxon {

QList<Band> amateurBands()
{
    return {
        {QStringLiteral("160 m"), QStringLiteral("1.85")},
        {QStringLiteral("80 m"), QStringLiteral("3.65")},
        {QStringLiteral("60 m"), QStringLiteral("5.357")},
        {QStringLiteral("40 m"), QStringLiteral("7.1")},
        {QStringLiteral("30 m"), QStringLiteral("10.125")},
        {QStringLiteral("20 m"), QStringLiteral("14.15")},
        {QStringLiteral("17 m"), QStringLiteral("18.118")},
        {QStringLiteral("15 m"), QStringLiteral("21.2")},
        {QStringLiteral("12 m"), QStringLiteral("24.94")},
        {QStringLiteral("10 m"), QStringLiteral("28.5")},
        {QStringLiteral("6 m"), QStringLiteral("50.15")},
        {QStringLiteral("4 m"), QStringLiteral("70.2")},
        {QStringLiteral("2 m"), QStringLiteral("146")},
        {QStringLiteral("1.25 m"), QStringLiteral("222.1")},
        {QStringLiteral("70 cm"), QStringLiteral("435")},
        {QStringLiteral("33 cm"), QStringLiteral("915")},
        {QStringLiteral("23 cm"), QStringLiteral("1296")},
    };
}

} // namespace moxon
