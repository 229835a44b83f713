#include "frametext.h"

#include "checkfigureformat.h"
#include "windowtexts.h"

#include <QLocale>

#include <cmath>

namespace moxon {

QString tailAdvice(double change, const TuneSetup &setup, const QString &tails)
{
    const QString text = dimensionChange(change, setup, QLocale::c(), true);
    const QString amount = text.mid(1);
    if (amount.startsWith(QLocale::c().toString(0.0, 'f', 0)) &&
        QLocale::c().toDouble(amount.section(u' ', 0, 0)) == 0) {
        return QStringLiteral("leave the %1 tails as they are").arg(tails);
    }
    return change < 0 ? QStringLiteral("cut %1 from each %2 tail").arg(amount, tails)
                      : QStringLiteral("add %1 to each %2 tail").arg(amount, tails);
}

QString frameAdvice(double change, const TuneSetup &setup)
{
    const QString amount = dimensionChange(change, setup, QLocale::c(), true).mid(1);
    return change > 0
               ? QStringLiteral("make E %1 deeper, the corners out along the spreaders").arg(amount)
               : QStringLiteral("make E %1 shallower, the corners in along the spreaders")
                     .arg(amount);
}

QString frameLines(const TrimResult &result)
{
    if (!frameShortfall(result)) {
        return {};
    }
    const CheckFigureFormat format = CheckFigureFormat::plain();
    const QLocale c = QLocale::c();
    const QString behaves =
        QStringLiteral("Frame:             the antenna behaves %1 % %2 than its model; the "
                       "tails alone leave\n")
            .arg(c.toString(std::fabs(result.scale - 1) * 100, 'f', 2),
                 result.scale >= 1 ? QStringLiteral("longer") : QStringLiteral("shorter"));
    const QString field = format.frontToBack(result.fieldTrim->antenna.figures.frontToBack);
    const QString rebuild = format.frontToBack(result.rebuild.figures.frontToBack);
    if (result.designFrontToBack) {
        return behaves +
               QStringLiteral("                   the front-to-back at %1, the rebuild's is %2 "
                              "and the design's %3.\n                   Where the corners can "
                              "move along the spreaders, --trim-gap trims E too.")
                   .arg(field, rebuild, format.frontToBack(*result.designFrontToBack));
    }
    return behaves + QStringLiteral("                   the front-to-back at %1, the rebuild's is "
                                    "%2. Where the corners can\n                   move along "
                                    "the spreaders, --trim-gap trims E too.")
                         .arg(field, rebuild);
}

} // namespace moxon
