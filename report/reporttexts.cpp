#include "reporttexts.h"

#include "checkfigureformat.h"
#include "dipalonetext.h"
#include "frametext.h"
#include "localenumbers.h"
#include "windowtexts.h"

#include <QLocale>
#include <QTextStream>

#include <array>
#include <cmath>

namespace moxon {

namespace {

// ", pvc insulation 0.8 mm thick (eps 3.5)"; empty for bare wire.
QString insulationPart(const std::optional<Insulation> &insulation)
{
    if (!insulation) {
        return {};
    }
    const QLocale c = QLocale::c();
    return QStringLiteral(", %1 insulation %2 mm thick (eps %3)")
        .arg(insulationKindName(insulation->kind),
             c.toString(insulation->thicknessMetres * 1000, 'g', 6),
             c.toString(insulation->permittivity, 'g', 6));
}

// "13.708 MHz; the insulation lowers the dip by 2.6 %: 14.073 → 13.708 MHz", as far as the
// dips were found.
QString dipLine(const CheckReport &report)
{
    if (!report.dipMhz) {
        return QStringLiteral("none within the sweep");
    }
    const QString dip = QLocale::c().toString(*report.dipMhz, 'f', 3) + QStringLiteral(" MHz");
    if (!report.bareDipMhz) {
        return dip + QStringLiteral("; the bare wire's lies beyond the sweep");
    }
    return dip + QStringLiteral("; ") + insulationShiftText(*report.bareDipMhz, *report.dipMhz);
}

// "At the radio:", the loss and the bandwidth there, one a line.
void radioLines(QTextStream &out, const RadioFigures &radio)
{
    const CheckFigureFormat format = CheckFigureFormat::plain();
    const QLocale c = QLocale::c();
    out << "At the radio:      " << format.impedance(radio.feed) << ", SWR "
        << format.swr(radio.swr) << '\n'
        << "Line loss:         " << c.toString(radio.matchedLossDb, 'f', 2) << " dB matched, "
        << c.toString(radio.totalLossDb, 'f', 2) << " dB total; "
        << c.toString(radio.antennaWatts, 'f', 1) << " W of " << kRadioWatts
        << " W reach the antenna\n"
        << "Bandwidth (radio): " << format.bandwidth(radio.bandwidth, radio.frequencyMhz) << '\n';
}

} // namespace

QString insulationShiftText(double bareDipMhz, double dipMhz)
{
    const QLocale c = QLocale::c();
    const double percent = 100 * (dipMhz - bareDipMhz) / bareDipMhz;
    return QStringLiteral("the insulation %1 the dip by %2 %: %3 → %4 MHz")
        .arg(percent < 0 ? QStringLiteral("lowers") : QStringLiteral("raises"),
             c.toString(std::fabs(percent), 'f', 1), c.toString(bareDipMhz, 'f', 3),
             c.toString(dipMhz, 'f', 3));
}

QString feedLineLine(const FeedLine &line, double f0Mhz, DisplayUnit unit)
{
    const QLocale c = QLocale::c();
    const Cable &cable = line.cable;
    return QStringLiteral("%1 %2 of %3 (%4 ohm, velocity factor %5, %6 dB/100 m matched at %7)")
        .arg(c.toString(line.lengthMetres / unitInfo(unit).metresPerUnit, 'g', 6), unitText(unit),
             cable.name, c.toString(cable.z0Ohm, 'g', 6), c.toString(cable.velocityFactor, 'g', 4),
             c.toString(cable.loss.dbPer100m(f0Mhz), 'f', 2),
             CheckFigureFormat::plain().frequency(f0Mhz));
}

QString installationLine(const Installation &installation, double f0Mhz, DisplayUnit unit)
{
    const Ground &ground = installation.ground;
    QString text;
    if (ground.kind == GroundKind::FreeSpace) {
        text = QStringLiteral("free space");
    } else {
        const QLocale c = QLocale::c();
        const GroundPreset *preset = groundPreset(ground);
        const double height = installation.heightMetres / unitInfo(unit).metresPerUnit;
        text = QStringLiteral("%1 %2 (%3 wavelengths) above ")
                   .arg(c.toString(height, 'g', 6), unitText(unit),
                        c.toString(installation.heightMetres / freeSpaceWavelength(f0Mhz), 'f', 2));
        text += ground.kind == GroundKind::Perfect
                    ? groundKindName(ground.kind) + QStringLiteral(" ground")
                    : QStringLiteral("%1 ground (eps %2, sigma %3 S/m)")
                          .arg(preset ? preset->name.toString() : groundKindName(ground.kind),
                               c.toString(ground.permittivity, 'g', 6),
                               c.toString(ground.conductivity, 'g', 6));
    }
    const Conductor &conductor = installation.conductor;
    return text + QStringLiteral(", ") +
           (conductor.kind == ConductorKind::Other
                ? QStringLiteral("wire of %1 S/m")
                      .arg(QLocale::c().toString(conductor.conductivity, 'g', 6))
                : conductorKindName(conductor.kind) + QStringLiteral(" wire")) +
           insulationPart(installation.insulation);
}

QString forwardText(const DesignFigures &figures)
{
    return figures.forwardPhi == 0 ? QStringLiteral("+X") : QStringLiteral("+Y");
}

QString checkReportText(const CheckReport &report, DisplayUnit lengthUnit)
{
    const CheckFigureFormat format = CheckFigureFormat::plain();
    const DesignFigures &design = report.figures;
    QString text;
    QTextStream out(&text);
    out << "Design frequency:  " << format.frequency(design.frequencyMhz) << '\n';
    if (!report.installation.isDefault()) {
        out << "Installation:      "
            << installationLine(report.installation, design.frequencyMhz, lengthUnit) << '\n';
    }
    if (report.installation.feedLine) {
        out << "Feed line:         "
            << feedLineLine(*report.installation.feedLine, design.frequencyMhz, lengthUnit) << '\n';
    }
    out << "Feed point:        " << format.impedance(design.feed) << '\n'
        << "SWR on 50 ohm:     " << format.swr(design.swr) << '\n'
        << "Forward gain:      " << format.gain(design.forwardGain) << " towards "
        << forwardText(design) << '\n';
    if (design.takeoff) {
        out << "Take-off angle:    " << format.angle(*design.takeoff) << '\n';
    }
    out << "Front-to-back:     " << format.frontToBack(design.frontToBack) << '\n'
        << "Beamwidth (-3 dB): " << format.beamwidth(design.beamwidth) << '\n'
        << "Bandwidth (SWR 2): " << format.bandwidth(report.bandwidth, design.frequencyMhz) << '\n';
    if (report.installation.insulation) {
        out << "SWR dip:           " << dipLine(report) << '\n';
    }
    if (report.atRadio) {
        radioLines(out, *report.atRadio);
    }
    if (!report.caution.isEmpty()) {
        out << "Caution:           " << report.caution << '\n';
    }
    // With a line, the SWR the radio sees beside the antenna's.
    const QList<SweepPoint> radio = report.atRadio ? report.atRadio->sweep : QList<SweepPoint>();
    out << "\n      MHz         R         X     SWR" << (radio.isEmpty() ? "" : "  at radio")
        << '\n';
    const QLocale c = QLocale::c();
    const auto cell = [&c](double value, int decimals, int width) {
        return c.toString(value, 'f', decimals).rightJustified(width);
    };
    for (qsizetype i = 0; i < report.sweep.size(); ++i) {
        const SweepPoint &point = report.sweep.at(i);
        out << cell(point.frequencyMhz, 3, 9) << cell(point.feed.resistance, 2, 10)
            << cell(point.feed.reactance, 2, 10) << cell(point.swr, 2, 8);
        if (i < radio.size()) {
            out << cell(radio.at(i).swr, 2, 10);
        }
        out << '\n';
    }
    out.flush();
    return text;
}

QString tuneReportText(const TuneResult &result, const TuneSetup &setup)
{
    const CheckFigureFormat format = CheckFigureFormat::plain();
    const QLocale c = QLocale::c();
    QString text;
    QTextStream out(&text);
    out << "Goal:              " << tuneGoalSummary(result.goal) << '\n'
        << "Result:            "
        << (result.goalMet ? QStringLiteral("met")
                           : QStringLiteral("not met; the best design found is shown"))
        << "\n\n";
    const auto shown = [&](double value) {
        return c.toString(value, 'f', setup.decimals);
    };
    const std::array<std::pair<char, std::pair<double, double>>, 5> rows = {{
        {'A', {result.formula.a, result.tuned.a}},
        {'B', {result.formula.b, result.tuned.b}},
        {'C', {result.formula.c(), result.tuned.c()}},
        {'D', {result.formula.d, result.tuned.d}},
        {'E', {result.formula.e, result.tuned.e}},
    }};
    out << "    formula     tuned  change  (" << setup.unit << ")\n";
    for (const auto &[letter, values] : rows) {
        out << letter << shown(values.first).rightJustified(10)
            << shown(values.second).rightJustified(10) << "  "
            << dimensionChange(values.second - values.first, setup, c, true) << '\n';
    }
    const auto line = [&](const char *name, const QString &before, const QString &after) {
        out << QString::fromLatin1(name).leftJustified(19) << before.leftJustified(22) << after
            << '\n';
    };
    out << '\n';
    line("", QStringLiteral("before"), QStringLiteral("after"));
    line("Feed point:", format.impedance(result.before.feed), format.impedance(result.after.feed));
    line("SWR on 50 ohm:", format.swr(result.before.swr), format.swr(result.after.swr));
    line("Forward gain:", format.gain(result.before.forwardGain),
         format.gain(result.after.forwardGain));
    line("Front-to-back:", format.frontToBack(result.before.frontToBack),
         format.frontToBack(result.after.frontToBack));
    if (result.before.takeoff && result.after.takeoff) {
        line("Take-off angle:", format.angle(*result.before.takeoff),
             format.angle(*result.after.takeoff));
    }
    if (result.before.band && result.after.band) {
        const BandSwr &before = *result.before.band;
        const BandSwr &after = *result.after.band;
        out << "\nBand:              " << c.toString(before.lowerMhz, 'g', 8) << " to "
            << c.toString(before.upperMhz, 'g', 8) << " MHz\n";
        line("Worst SWR in band:", format.swr(before.worst), format.swr(after.worst));
        line("SWR at lower edge:", format.swr(before.atLower), format.swr(after.atLower));
        line("SWR at upper edge:", format.swr(before.atUpper), format.swr(after.atUpper));
    }
    out << "\nEngine runs:       " << result.engineRuns << " in "
        << c.toString(result.seconds, 'f', 2) << " s\n";
    out.flush();
    return text;
}

namespace {

QString megahertz(double mhz, int decimals)
{
    return QLocale::c().toString(mhz, 'f', decimals) + QStringLiteral(" MHz");
}

// "+4.0", "-13.1": the sign says which way.
QString signedNumber(double value, int decimals)
{
    const QString text = QLocale::c().toString(value, 'f', decimals);
    return text.startsWith(u'-') ? text : u'+' + text;
}

} // namespace

QString toleranceReportText(const ToleranceResult &result, const TuneSetup &setup,
                            DisplayUnit lengthUnit)
{
    const CheckFigureFormat format = CheckFigureFormat::plain();
    const QLocale c = QLocale::c();
    QString text;
    QTextStream out(&text);
    const TuneDimensions &dims = result.dimensions;
    const auto shown = [&](double value) {
        return c.toString(LocaleNumbers::roundedToMask(value, setup.decimals), 'f', setup.decimals);
    };
    // A length in the builder's step: "3.9 cm".
    const auto cut = [&](double length) {
        return dimensionChange(length, setup, c, true).mid(1);
    };
    out << "Design frequency:  " << format.frequency(result.frequencyMhz) << '\n';
    if (!result.installation.isDefault()) {
        out << "Installation:      "
            << installationLine(result.installation, result.frequencyMhz, lengthUnit) << '\n';
    }
    if (result.installation.feedLine) {
        out << "Feed line:         "
            << feedLineLine(*result.installation.feedLine, result.frequencyMhz, lengthUnit) << '\n';
    }
    out << "Dimensions (" << setup.unit << "): " << QString().leftJustified(4 - setup.unit.size())
        << "A " << shown(dims.a) << "  B " << shown(dims.b) << "  C " << shown(dims.c()) << "  D "
        << shown(dims.d) << "  E " << shown(dims.e) << '\n'
        << "SWR dip:           " << megahertz(result.dipMhz, 4) << '\n'
        << "At the design:     SWR " << format.swr(result.figures.swr) << ", front-to-back "
        << format.frontToBack(result.figures.frontToBack) << '\n'
        << "Limits:            SWR <= " << c.toString(kToleranceSwr, 'f', 1)
        << " and front-to-back >= "
        << format.frontToBack(result.figures.frontToBack - kToleranceFrontToBackDrop) << " at "
        << format.frequency(result.frequencyMhz) << "\n\n";
    const QString per = QStringLiteral("per ") + result.stepUnit;
    out << "    " << (QStringLiteral("dip ") + per).rightJustified(11)
        << (QStringLiteral("F/B ") + per).rightJustified(13) << "        shorter by"
        << "         longer by\n";
    const auto tolerance = [&](const std::optional<double> &value, ToleranceLimit limit) {
        if (!value) {
            return QStringLiteral("none");
        }
        switch (limit) {
        case ToleranceLimit::Swr:
            return cut(*value) + QStringLiteral(" (SWR)");
        case ToleranceLimit::FrontToBack:
            return cut(*value) + QStringLiteral(" (F/B)");
        case ToleranceLimit::SearchEnd:
        case ToleranceLimit::Design:
            break;
        }
        return cut(*value) + QStringLiteral(" or more");
    };
    for (const DimensionTolerance &dimension : result.cuts) {
        out << QChar(u'A' + int(dimension.dimension)) << "  "
            << (signedNumber(dimension.dipKhzPerStep, 1) + QStringLiteral(" kHz"))
                   .rightJustified(12)
            << (signedNumber(dimension.frontToBackDbPerStep, 2) + QStringLiteral(" dB"))
                   .rightJustified(13)
            << tolerance(dimension.minus, dimension.minusLimit).rightJustified(18)
            << tolerance(dimension.plus, dimension.plusLimit).rightJustified(18) << '\n';
    }
    if (result.cuts.front().minusLimit == ToleranceLimit::Design) {
        out << "The design itself is past a limit, so no cut has a tolerance.\n";
    }
    out << "\nCut error:         every cut off by up to " << cut(result.cutError) << ", together\n"
        << "Yield:             " << c.toString(result.yield * 100, 'f', 1) << " % of "
        << result.builds << " builds within both limits\n"
        << "Dip spread:        " << c.toString(result.dipSpreadKhz, 'f', 1)
        << " kHz (standard deviation)\n"
        << "\nEngine runs:       " << result.engineRuns << " in "
        << c.toString(result.seconds, 'f', 2) << " s; differences over "
        << cut(result.differenceStep) << " either way\n";
    out.flush();
    return text;
}

QString fieldTrimText(const TrimResult &result, const TuneSetup &setup, const QString &heading)
{
    const FieldTrim &trim = *result.fieldTrim;
    QString text;
    QTextStream out(&text);
    out << heading.leftJustified(19)
        << tailAdvice(trim.drivenTailChange, setup, QStringLiteral("driven-element")) << ",\n"
        << "                   "
        << tailAdvice(trim.reflectorTailChange, setup, QStringLiteral("reflector"));
    const bool frameMoves = trim.gapChange != 0;
    if (frameMoves) {
        out << ",\n                   " << frameAdvice(trim.gapChange, setup) << "; A stays\n";
    } else {
        out << "; A and E stay\n";
    }
    dimensionRows(out, result.built, trim.antenna.dimensions,
                  frameMoves ? QStringLiteral("BCDE") : QStringLiteral("BCD"),
                  QStringLiteral("trimmed"), setup);
    out << "Predicted:         " << predictedLine(trim.antenna, result.targetMhz) << '\n';
    out.flush();
    return text;
}

QString trimReportText(const TrimResult &result, const TuneSetup &setup, DisplayUnit lengthUnit,
                       const QString &measured)
{
    const CheckFigureFormat format = CheckFigureFormat::plain();
    const QLocale c = QLocale::c();
    QString text;
    QTextStream out(&text);
    out << "Design frequency:  " << format.frequency(result.designMhz) << '\n';
    if (!result.installation.isDefault()) {
        out << "Installation:      "
            << installationLine(result.installation, result.designMhz, lengthUnit) << '\n';
    }
    if (result.installation.feedLine) {
        out << "Feed line:         "
            << feedLineLine(*result.installation.feedLine, result.designMhz, lengthUnit) << '\n';
    }
    out << "Measured dip:      " << megahertz(result.measuredDipMhz, 4) << " (" << measured << ")\n"
        << "Model's dip:       " << megahertz(result.modelDipMhz, 4)
        << ", of the dimensions as built\n"
        << "Scale:             " << c.toString(result.scale, 'f', 4) << ": the antenna behaves "
        << c.toString(std::fabs(result.scale - 1) * 100, 'f', 2) << " % "
        << (result.scale >= 1 ? "longer" : "shorter") << " than its model\n"
        << "Target:            " << format.frequency(result.targetMhz) << "\n\n";
    if (result.fieldTrim) {
        out << fieldTrimText(result, setup, QStringLiteral("Field trim:"));
        if (result.dipAlone) {
            out << dipAloneLines(result) << '\n';
        }
        if (const QString frame = frameLines(result); !frame.isEmpty()) {
            out << frame << '\n';
        }
        out << '\n';
    } else {
        out << "Field trim:        none. " << result.fieldTrimRefusal << "\n\n";
    }
    out << "Rebuild:           every dimension for " << format.frequency(result.targetMhz) << '\n';
    dimensionRows(out, result.built, result.rebuild.dimensions, QStringLiteral("ABCDE"),
                  QStringLiteral("rebuild"), setup);
    out << "Predicted:         " << predictedLine(result.rebuild, result.targetMhz) << "\n\n";
    out << "Predicted SWR:\n      MHz" << (result.fieldTrim ? "  field trim" : "")
        << "   rebuild\n";
    // The check's 41 frequencies: every tenth point of the drawn curves.
    const QList<SweepPoint> &rebuild = result.rebuild.curve;
    for (qsizetype i = 0; i < rebuild.size(); i += 10) {
        out << c.toString(rebuild.at(i).frequencyMhz, 'f', 3).rightJustified(9);
        if (result.fieldTrim && i < result.fieldTrim->antenna.curve.size()) {
            out << c.toString(result.fieldTrim->antenna.curve.at(i).swr, 'f', 2).rightJustified(12);
        }
        out << c.toString(rebuild.at(i).swr, 'f', 2).rightJustified(10) << '\n';
    }
    out << "\nEngine runs:       " << result.engineRuns << " in "
        << c.toString(result.seconds, 'f', 2) << " s\n";
    out.flush();
    return text;
}

} // namespace moxon
