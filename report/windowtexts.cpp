#include "windowtexts.h"

#include <QCoreApplication>
#include <QStringList>

#include <cmath>

namespace moxon {

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
    if (const ConductorPreset *conductor = conductorPreset(installation.conductor.kind)) {
        parts.append(conductorWireCaption(*conductor));
    } else {
        parts.append(QCoreApplication::translate("CheckHeader", "导线 σ %1 S/m")
                         .arg(c.toString(installation.conductor.conductivity, 'g', 6)));
    }
    if (const std::optional<Insulation> &insulation = installation.insulation) {
        const InsulationPreset *material = insulationPreset(insulation->kind);
        parts.append(QCoreApplication::translate("CheckHeader", "%1 绝缘 %2 (εr %3)")
                         .arg(material ? insulationCaption(*material)
                                       : QCoreApplication::translate("CheckHeader", "自定义"),
                              insulationThickness, c.toString(insulation->permittivity, 'g', 6)));
    }
    //: Between the parts of the installation in the check's header.
    return parts.join(QCoreApplication::translate("CheckHeader", "，"));
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
