#include "insulation.h"

#include <QCoreApplication>
#include <QLocale>

#include <array>
#include <cmath>

namespace moxon {

namespace {

// Relative permittivities of the common wire insulations at 1 MHz and above, after the tables
// of dielectric materials in A. R. von Hippel (ed.), "Dielectric Materials and Applications"
// (MIT Press, 1954): polyethylene 2.26, polytetrafluoroethylene 2.1, and polyvinyl chloride
// compounds about 3 to 4 by their plasticiser, of which 3.5 is the middle. They change little
// over the HF to UHF bands. A jacket of known permittivity is given as a number.
constexpr std::array kInsulationPresets = {
    InsulationPreset{InsulationKind::Pvc, u"pvc", QT_TRANSLATE_NOOP("Installation", "PVC"), 3.5},
    InsulationPreset{InsulationKind::Polyethylene, u"polyethylene",
                     QT_TRANSLATE_NOOP("Installation", "聚乙烯"), 2.3},
    InsulationPreset{InsulationKind::Ptfe, u"ptfe", QT_TRANSLATE_NOOP("Installation", "PTFE"), 2.1},
};

} // namespace

std::span<const InsulationPreset> insulationPresets()
{
    return kInsulationPresets;
}

QString insulationCaption(const InsulationPreset &preset)
{
    return QCoreApplication::translate("Installation", preset.caption);
}

const InsulationPreset *insulationPreset(InsulationKind kind)
{
    for (const InsulationPreset &preset : kInsulationPresets) {
        if (preset.kind == kind) {
            return &preset;
        }
    }
    return nullptr;
}

bool isInsulationPermittivity(double permittivity)
{
    return permittivity >= 1 && permittivity <= kMostInsulationPermittivity;
}

std::optional<Insulation> insulationFromText(QStringView text)
{
    for (const InsulationPreset &preset : kInsulationPresets) {
        if (text.compare(preset.name, Qt::CaseInsensitive) == 0) {
            return Insulation{preset.kind, preset.permittivity, 0};
        }
    }
    bool ok = false;
    const double permittivity = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !isInsulationPermittivity(permittivity)) {
        return std::nullopt;
    }
    return Insulation{InsulationKind::Other, permittivity, 0};
}

QStringList insulationNames()
{
    QStringList names;
    for (const InsulationPreset &preset : kInsulationPresets) {
        names.append(preset.name.toString());
    }
    return names;
}

QString insulationChoices()
{
    return insulationNames().join(QStringLiteral(", ")) +
           QStringLiteral(" or a relative permittivity from 1 to %1")
               .arg(kMostInsulationPermittivity);
}

QString insulationKindName(InsulationKind kind)
{
    const InsulationPreset *preset = insulationPreset(kind);
    return preset ? preset->name.toString() : QStringLiteral("custom");
}

QString thicknessUnitText(WireUnit wireUnit)
{
    return unitText(wireUnit == WireUnit::Gauge ? WireUnit::Inch : wireUnit);
}

} // namespace moxon
