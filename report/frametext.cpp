#include "frametext.h"

#include "checkfigureformat.h"
#include "localenumbers.h"
#include "windowtexts.h"

#include <QLocale>
#include <QTextStream>

#include <cmath>

namespace moxon {

QString predictedLine(const TrimmedAntenna &antenna, double targetMhz)
{
    const CheckFigureFormat format = CheckFigureFormat::plain();
    return QStringLiteral("dip %1; at %2 SWR %3, front-to-back %4")
        .arg(QLocale::c().toString(antenna.predictedDipMhz, 'f', 4) + QStringLiteral(" MHz"),
             format.frequency(targetMhz), format.swr(antenna.figures.swr),
             format.frontToBack(antenna.figures.frontToBack));
}

void dimensionRows(QTextStream &out, const TuneDimensions &before, const TuneDimensions &after,
                   const QString &letters, const QString &afterName, const TuneSetup &setup)
{
    const QLocale c = QLocale::c();
    const auto value = [](const TuneDimensions &dims, QChar letter) {
        switch (letter.unicode()) {
        case u'A':
            return dims.a;
        case u'B':
            return dims.b;
        case u'C':
            return dims.c();
        case u'D':
            return dims.d;
        default:
            return dims.e;
        }
    };
    out << "      built" << afterName.rightJustified(10) << "  change  (" << setup.unit << ")\n";
    for (const QChar letter : letters) {
        const double from = LocaleNumbers::roundedToMask(value(before, letter), setup.decimals);
        const double to = LocaleNumbers::roundedToMask(value(after, letter), setup.decimals);
        out << letter << c.toString(from, 'f', setup.decimals).rightJustified(10)
            << c.toString(to, 'f', setup.decimals).rightJustified(10) << "  "
            << dimensionChange(to - from, setup, c, true) << '\n';
    }
}

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

QString newFrameLines(const DiagnosisResult &result, const TuneSetup &setup)
{
    const CheckFigureFormat format = CheckFigureFormat::plain();
    const QLocale c = QLocale::c();
    const TrimResult &newFrame = *result.newFrame;
    const TrimmedAntenna &made = newFrame.fieldTrim->antenna;
    const double rebuild = result.trim->rebuild.figures.frontToBack;
    const std::optional<double> &design = result.trim->designFrontToBack;
    const QString held = heldFrontToBack(rebuild, design) == rebuild
                             ? QStringLiteral("the rebuild's %1").arg(format.frontToBack(rebuild))
                             : QStringLiteral("the design's %1").arg(format.frontToBack(*design));
    QString text;
    QTextStream out(&text);
    out << "New frame:         the antenna behaves "
        << c.toString(std::fabs(newFrame.scale - 1) * 100, 'f', 2) << " % "
        << (newFrame.scale >= 1 ? "longer" : "shorter") << " than its model, more than its\n"
        << "                   tails and E make up: the trim leaves the front-to-back at "
        << format.frontToBack(ledFrontToBack(result).value_or(0)) << ",\n"
        << "                   against " << held << ". Built anew, every dimension as\n"
        << "                   given divided by the scale and the tails trimmed onto the target,\n"
        << "                   it holds it:\n";
    dimensionRows(out, result.diagnosed, made.dimensions, QStringLiteral("ABCDE"),
                  QStringLiteral("new frame"), setup);
    out << "Predicted:         " << predictedLine(made, newFrame.targetMhz) << '\n';
    out.flush();
    return text;
}

} // namespace moxon
