#include "buildsheet.h"

#include "checkfigureformat.h"
#include "localenumbers.h"
#include "machineformats.h"
#include "sweepdip.h"

#include <QJsonValue>
#include <QLocale>
#include <QTextStream>

namespace moxon {

namespace {

QJsonObject pieceJson(const WirePiece &piece, double metresPerUnit)
{
    return {{QStringLiteral("count"), piece.count},
            {QStringLiteral("span"), piece.span / metresPerUnit},
            {QStringLiteral("cut"), piece.cut() / metresPerUnit}};
}

QJsonValue tolerancesJson(const std::optional<ToleranceResult> &tolerances)
{
    if (!tolerances) {
        return {};
    }
    const auto length = [](const std::optional<double> &value) {
        return value ? QJsonValue(*value) : QJsonValue();
    };
    QJsonObject object;
    for (const DimensionTolerance &cut : tolerances->cuts) {
        const QString letter = QString(QChar(u'a' + int(cut.dimension)));
        object.insert(letter, QJsonObject{{QStringLiteral("tolerance_minus"), length(cut.minus)},
                                          {QStringLiteral("tolerance_plus"), length(cut.plus)}});
    }
    return object;
}

QString originName(SheetDimensions origin)
{
    switch (origin) {
    case SheetDimensions::Formula:
        break;
    case SheetDimensions::Tuned:
        return QStringLiteral("tuned");
    case SheetDimensions::Given:
        return QStringLiteral("given");
    }
    return QStringLiteral("formula");
}

} // namespace

BuildDimensions builtMetres(const TuneDimensions &dims, DisplayUnit unit)
{
    const DisplayUnitInfo &info = unitInfo(unit);
    const double c = LocaleNumbers::roundedToMask(dims.c(), info.decimals);
    const double m = info.metresPerUnit;
    return {dims.a * m, dims.b * m, c * m, dims.d * m, dims.e * m};
}

BuildSheet buildSheet(const ModelInput &model, const QString &wireText,
                      const Installation &installation, const TuneDimensions &dims,
                      const CutAllowances &allowances)
{
    BuildSheet sheet;
    sheet.model = model;
    sheet.wireText = wireText;
    sheet.installation = installation;
    sheet.dimensions = dims;
    sheet.allowances = allowances;
    sheet.cuts = cutList(builtMetres(dims, model.units), allowances);
    return sheet;
}

void setPredictions(BuildSheet &sheet, const DesignFigures &figures, const QList<SweepPoint> &curve)
{
    sheet.figures = figures;
    sheet.dipMhz = sweepDip(curve);
}

void setPredictions(BuildSheet &sheet, const SheetPredictions &predictions)
{
    setPredictions(sheet, predictions.figures, predictions.curve);
    const std::optional<ToleranceResult> &tolerances = predictions.tolerances;
    const bool ofThisDesign = tolerances && tolerances->dimensions == sheet.dimensions &&
                              tolerances->installation == sheet.installation &&
                              tolerances->frequencyMhz == sheet.model.frequencyMHz;
    sheet.tolerances = ofThisDesign ? tolerances : std::nullopt;
}

QString buildSheetText(const BuildSheet &sheet)
{
    const DisplayUnitInfo &unit = unitInfo(sheet.model.units);
    const QLocale c = QLocale::c();
    const auto length = [&](double metres) {
        return c.toString(metres / unit.metresPerUnit, 'f', unit.decimals) + u' ' +
               unitText(sheet.model.units);
    };
    const CheckFigureFormat format = CheckFigureFormat::plain();
    const CutList &cuts = sheet.cuts;
    const BuildDimensions dims = builtMetres(sheet.dimensions, sheet.model.units);
    QString text;
    QTextStream out(&text);
    out << "Build sheet for " << format.frequency(sheet.model.frequencyMHz) << ", "
        << originName(sheet.origin) << " dimensions:\n"
        << "  A " << length(dims.a) << ", B " << length(dims.b) << ", C " << length(dims.c)
        << ", D " << length(dims.d) << ", E " << length(dims.e) << '\n'
        << "Cut list (wire hanging between the insulators, and cut with "
        << length(cuts.driverHalf.allowance) << " of wrap at each end):\n";
    const auto piece = [&](const char *name, const WirePiece &wire) {
        out << "  " << QString::fromLatin1(name).leftJustified(40) << wire.count << " x  hangs "
            << length(wire.span).rightJustified(12) << "  cut "
            << length(wire.cut()).rightJustified(12) << '\n';
    };
    piece("driver half, feed point to tail tip", cuts.driverHalf);
    piece("reflector, tail tip to tail tip", cuts.reflector);
    out << "  wire in all: " << length(cuts.totalWire()) << '\n'
        << "Feed gap between the driver halves:  " << length(cuts.feedGap) << '\n'
        << "Tail insulators (2), tip to tip (C): " << length(cuts.tailSpacing) << '\n'
        << "Spreader arms (" << cuts.spreaders.arms
        << "), hub centre to corner: " << length(cuts.spreaders.arm) << '\n'
        << "Angle between the arms: " << format.angle(cuts.spreaders.angleAcrossE) << " across E, "
        << format.angle(cuts.spreaders.angleAcrossA) << " across A\n"
        << "Predicted SWR dip:  "
        << (sheet.dipMhz ? format.frequency(*sheet.dipMhz)
                         : QStringLiteral("none within the sweep (5 % either way)"))
        << '\n'
        << "SWR on 50 ohm:      " << format.swr(sheet.figures.swr) << " at "
        << format.frequency(sheet.model.frequencyMHz) << '\n'
        << "Front-to-back:      " << format.frontToBack(sheet.figures.frontToBack) << '\n';
    if (sheet.tolerances) {
        out << "Tolerances (shorter / longer):";
        for (const DimensionTolerance &cut : sheet.tolerances->cuts) {
            const auto value = [&](const std::optional<double> &tolerance) {
                return tolerance ? c.toString(*tolerance, 'f', unit.decimals)
                                 : QStringLiteral("none");
            };
            out << ' ' << QChar(u'A' + int(cut.dimension)) << ' ' << value(cut.minus) << " / "
                << value(cut.plus) << (cut.dimension == CutDimension::D ? "" : ",");
        }
        out << ' ' << unitText(sheet.model.units) << '\n';
    }
    out.flush();
    return text;
}

QJsonObject buildSheetToJson(const BuildSheet &sheet)
{
    const DisplayUnitInfo &unit = unitInfo(sheet.model.units);
    const double m = unit.metresPerUnit;
    const CutList &cuts = sheet.cuts;
    QJsonObject object{
        {QStringLiteral("frequency_mhz"), sheet.model.frequencyMHz},
        {QStringLiteral("units"), unitText(sheet.model.units)},
        {QStringLiteral("design"), dimensionsJson(sheet.dimensions, unit.decimals)},
        {QStringLiteral("dimensions"), originName(sheet.origin)},
        {QStringLiteral("wire"), sheet.wireText},
        {QStringLiteral("wire_unit"), unitText(sheet.model.wire.unit)},
        {QStringLiteral("installation"), installationJson(sheet.installation, sheet.model.frequencyMHz)},
        {QStringLiteral("wrap_allowance"), sheet.allowances.wrap / m},
        {QStringLiteral("feed_gap"), cuts.feedGap / m},
        {QStringLiteral("driver_half"), pieceJson(cuts.driverHalf, m)},
        {QStringLiteral("reflector"), pieceJson(cuts.reflector, m)},
        {QStringLiteral("tail_spacing"), cuts.tailSpacing / m},
        {QStringLiteral("total_wire"), cuts.totalWire() / m},
        {QStringLiteral("spreader"),
         QJsonObject{{QStringLiteral("arms"), cuts.spreaders.arms},
                     {QStringLiteral("arm"), cuts.spreaders.arm / m},
                     {QStringLiteral("angle_across_e_deg"), cuts.spreaders.angleAcrossE},
                     {QStringLiteral("angle_across_a_deg"), cuts.spreaders.angleAcrossA}}},
        {QStringLiteral("dip_mhz"), sheet.dipMhz ? QJsonValue(*sheet.dipMhz) : QJsonValue()},
        {QStringLiteral("tolerances"), tolerancesJson(sheet.tolerances)},
    };
    const QJsonObject figures = figuresJson(sheet.figures, sheet.installation.feedLine);
    for (auto it = figures.begin(); it != figures.end(); ++it) {
        object.insert(it.key(), it.value());
    }
    return object;
}

} // namespace moxon
