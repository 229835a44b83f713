#include "reporttexts.h"

#include "checkfigureformat.h"
#include "windowtexts.h"

#include <QLocale>
#include <QTextStream>

#include <array>

namespace moxon {

namespace {

// "10 m (0.47 wavelengths) above average ground (eps 13, sigma 0.005 S/m), copper wire", the
// height in `unit`.
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
    const Conductor &metal = installation.conductor;
    return text + QStringLiteral(", ") +
           (metal.kind == ConductorKind::Other
                ? QStringLiteral("wire of %1 S/m")
                      .arg(QLocale::c().toString(metal.conductivity, 'g', 6))
                : conductorKindName(metal.kind) + QStringLiteral(" wire"));
}

} // namespace

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
    if (!report.caution.isEmpty()) {
        out << "Caution:           " << report.caution << '\n';
    }
    out << "\n      MHz         R         X     SWR\n";
    const QLocale c = QLocale::c();
    const auto cell = [&c](double value, int decimals, int width) {
        return c.toString(value, 'f', decimals).rightJustified(width);
    };
    for (const SweepPoint &point : report.sweep) {
        out << cell(point.frequencyMhz, 3, 9) << cell(point.feed.resistance, 2, 10)
            << cell(point.feed.reactance, 2, 10) << cell(point.swr, 2, 8) << '\n';
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

} // namespace moxon
