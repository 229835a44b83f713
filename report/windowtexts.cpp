#include "windowtexts.h"

#include "localenumbers.h"

#include <QCoreApplication>
#include <QStringList>

#include <cmath>

namespace moxon {

namespace {

// What the wire is made of: "铜线", or its conductivity.
QString conductorText(const Conductor &conductor)
{
    if (const ConductorPreset *metal = conductorPreset(conductor.kind)) {
        return conductorWireCaption(*metal);
    }
    return QCoreApplication::translate("CheckHeader", "导线 σ %1 S/m")
        .arg(QLocale::c().toString(conductor.conductivity, 'g', 6));
}

// The wire's insulation, "PVC 绝缘 0.8 mm (εr 3.5)", `thickness` as the wire size's unit shows it.
QString insulationText(const Insulation &insulation, const QString &thickness)
{
    const InsulationPreset *material = insulationPreset(insulation.kind);
    return QCoreApplication::translate("CheckHeader", "%1 绝缘 %2 (εr %3)")
        .arg(material ? insulationCaption(*material)
                      : QCoreApplication::translate("CheckHeader", "自定义"),
             thickness, QLocale::c().toString(insulation.permittivity, 'g', 6));
}

} // namespace

QString insulationThicknessText(double metres, WireUnit wireUnit)
{
    return LocaleNumbers::toSignificant(metres / unitInfo(wireUnit).metresPerUnit, 6) + u' ' +
           thicknessUnitText(wireUnit);
}

QString checkHeader(const QString &frequencyText, const QString &wireText,
                    const QString &wireUnitText, bool vertical, bool xAxis)
{
    return QCoreApplication::translate("CheckHeader", "%1 MHz，线材 %2 %3，%4极化，波束沿 %5 轴")
        .arg(frequencyText.trimmed(), wireText, wireUnitText,
             vertical ? QCoreApplication::translate("CheckHeader", "垂直")
                      : QCoreApplication::translate("CheckHeader", "水平"),
             xAxis ? QStringLiteral("X") : QStringLiteral("Y"));
}

QString installationHeader(const Installation &installation, const QString &height,
                           double wavelengths, const QString &insulationThickness)
{
    if (installation.isDefault()) {
        return {};
    }
    const QLocale c = QLocale::c();
    const Ground &ground = installation.ground;
    QStringList parts;
    if (ground.kind == GroundKind::FreeSpace) {
        parts.append(QCoreApplication::translate("CheckHeader", "自由空间"));
    } else {
        parts.append(QCoreApplication::translate("CheckHeader", "%1 (%2 λ) 高")
                         .arg(height, c.toString(wavelengths, 'f', 2)));
    }
    if (ground.kind == GroundKind::Perfect) {
        parts.append(QCoreApplication::translate("CheckHeader", "理想地面"));
    } else if (ground.kind == GroundKind::Real) {
        const GroundPreset *preset = groundPreset(ground);
        parts.append(QStringLiteral("%1 εr %2 σ %3")
                         .arg(preset ? groundCaption(*preset)
                                     : QCoreApplication::translate("CheckHeader", "实际地面"),
                              c.toString(ground.permittivity, 'g', 6),
                              c.toString(ground.conductivity, 'g', 6)));
    }
    parts.append(conductorText(installation.conductor));
    if (installation.insulation) {
        parts.append(insulationText(*installation.insulation, insulationThickness));
    }
    //: Between the parts of the installation in the check's header.
    return parts.join(QCoreApplication::translate("CheckHeader", "，"));
}

QString wireDescription(const QString &wireText, WireUnit unit, const Installation &installation)
{
    const QString wire = QStringLiteral("%1 %2 %3")
                             .arg(wireText, unitText(unit), conductorText(installation.conductor));
    if (!installation.insulation) {
        return wire;
    }
    //: Between the wire and its insulation on the build sheet.
    return wire + QCoreApplication::translate("CheckHeader", "，") +
           insulationText(*installation.insulation,
                          insulationThicknessText(installation.insulation->thicknessMetres, unit));
}

QString toleranceText(const std::optional<double> &tolerance, ToleranceLimit limit,
                      const TuneSetup &setup, const QLocale &locale)
{
    if (!tolerance) {
        return QStringLiteral("—");
    }
    const QString length = dimensionChange(*tolerance, setup, locale, false).mid(1);
    return limit == ToleranceLimit::SearchEnd ? QStringLiteral("≥ ") + length : length;
}

QString insulationShiftCaption(double bareDipMhz, double dipMhz, const QLocale &locale)
{
    const double percent = 100 * (dipMhz - bareDipMhz) / bareDipMhz;
    //: What the insulation does to the SWR dip: its share, the bare wire's dip, the insulated's.
    return (percent < 0 ? QCoreApplication::translate("CheckFigures",
                                                      "绝缘使驻波最低点降低 %1 %：%2 → %3 MHz")
                        : QCoreApplication::translate("CheckFigures",
                                                      "绝缘使驻波最低点升高 %1 %：%2 → %3 MHz"))
        .arg(locale.toString(std::fabs(percent), 'f', 1), locale.toString(bareDipMhz, 'f', 3),
             locale.toString(dipMhz, 'f', 3));
}

QString dimensionChange(double delta, const TuneSetup &setup, const QLocale &locale, bool plain)
{
    // The unit of the change: a hundredth of a metre, a twelfth of a foot, else the unit.
    QString unit = setup.unit;
    double factor = 1;
    int decimals = setup.decimals;
    if (unit == u"m") {
        unit = QStringLiteral("cm");
        factor = 100;
        decimals = 1;
    } else if (unit == u"ft") {
        unit = QStringLiteral("in");
        factor = 12;
        decimals = 2;
    }
    QString text = locale.toString(std::fabs(delta * factor), 'f', decimals);
    const bool shorter = delta < 0 && text != locale.toString(0.0, 'f', decimals);
    text.prepend(shorter ? (plain ? QStringLiteral("-") : QStringLiteral("−"))
                         : QStringLiteral("+"));
    return text + u' ' + unit;
}

} // namespace moxon
