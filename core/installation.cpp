#include "installation.h"

#include <QCoreApplication>
#include <QLocale>

#include <array>
#include <cmath>

namespace moxon {

namespace {

constexpr std::array kGroundPresets = {
    GroundPreset{u"very-poor", QT_TRANSLATE_NOOP("Installation", "很差地面"),
                 QT_TRANSLATE_NOOP("Installation", "城市、工业区"), 5, 0.001},
    GroundPreset{u"poor", QT_TRANSLATE_NOOP("Installation", "较差地面"),
                 QT_TRANSLATE_NOOP("Installation", "岩石、陡峭山地"), 13, 0.002},
    GroundPreset{u"average", QT_TRANSLATE_NOOP("Installation", "一般地面"),
                 QT_TRANSLATE_NOOP("Installation", "牧场、黏土"), 13, 0.005},
    GroundPreset{u"very-good", QT_TRANSLATE_NOOP("Installation", "很好地面"),
                 QT_TRANSLATE_NOOP("Installation", "牧场、肥沃土壤"), 20, 0.0303},
    GroundPreset{u"fresh-water", QT_TRANSLATE_NOOP("Installation", "淡水"),
                 QT_TRANSLATE_NOOP("Installation", "淡水"), 80, 0.001},
    GroundPreset{u"sea-water", QT_TRANSLATE_NOOP("Installation", "海水"),
                 QT_TRANSLATE_NOOP("Installation", "海水"), 81, 5},
};

// The kinds of ground by the names scripts read; free space and perfect ground go by them on
// the command line too, real ground by a preset's name or its constants.
struct GroundKindName
{
    GroundKind kind = GroundKind::FreeSpace;
    QStringView name;
};
constexpr std::array kGroundKindNames = {
    GroundKindName{GroundKind::FreeSpace, u"free"},
    GroundKindName{GroundKind::Perfect, u"perfect"},
    GroundKindName{GroundKind::Real, u"real"},
};

constexpr std::array kConductorPresets = {
    ConductorPreset{ConductorKind::Perfect, u"perfect",
                    QT_TRANSLATE_NOOP("Installation", "理想导线"),
                    QT_TRANSLATE_NOOP("Installation", "理想导线"), 0},
    ConductorPreset{ConductorKind::Copper, u"copper", QT_TRANSLATE_NOOP("Installation", "铜"),
                    QT_TRANSLATE_NOOP("Installation", "铜线"), kCopperConductivity},
    ConductorPreset{ConductorKind::Aluminium, u"aluminium", QT_TRANSLATE_NOOP("Installation", "铝"),
                    QT_TRANSLATE_NOOP("Installation", "铝线"), kAluminiumConductivity},
};

std::optional<double> positive(QStringView text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value) && value > 0 ? std::optional<double>(value) : std::nullopt;
}

} // namespace

std::span<const GroundPreset> groundPresets()
{
    return kGroundPresets;
}

QString groundCaption(const GroundPreset &preset)
{
    return QCoreApplication::translate("Installation", preset.caption);
}

QString groundDescription(const GroundPreset &preset)
{
    return QCoreApplication::translate("Installation", preset.description);
}

const GroundPreset *groundPreset(const Ground &ground)
{
    if (ground.kind != GroundKind::Real) {
        return nullptr;
    }
    for (const GroundPreset &preset : kGroundPresets) {
        if (preset.permittivity == ground.permittivity &&
            preset.conductivity == ground.conductivity) {
            return &preset;
        }
    }
    return nullptr;
}

Conductor copper()
{
    return {ConductorKind::Copper, kCopperConductivity};
}

Conductor aluminium()
{
    return {ConductorKind::Aluminium, kAluminiumConductivity};
}

std::span<const ConductorPreset> conductorPresets()
{
    return kConductorPresets;
}

QString conductorCaption(const ConductorPreset &preset)
{
    return QCoreApplication::translate("Installation", preset.caption);
}

QString conductorWireCaption(const ConductorPreset &preset)
{
    return QCoreApplication::translate("Installation", preset.wireCaption);
}

const ConductorPreset *conductorPreset(ConductorKind kind)
{
    for (const ConductorPreset &preset : kConductorPresets) {
        if (preset.kind == kind) {
            return &preset;
        }
    }
    return nullptr;
}

std::optional<Ground> groundFromText(QStringView text)
{
    for (const GroundKindName &named : kGroundKindNames) {
        if (named.kind != GroundKind::Real && text.compare(named.name, Qt::CaseInsensitive) == 0) {
            return Ground{named.kind, 1, 0};
        }
    }
    for (const GroundPreset &preset : kGroundPresets) {
        if (text.compare(preset.name, Qt::CaseInsensitive) == 0) {
            return Ground{GroundKind::Real, preset.permittivity, preset.conductivity};
        }
    }
    const qsizetype comma = text.indexOf(u',');
    if (comma < 0) {
        return std::nullopt;
    }
    const std::optional<double> permittivity = positive(text.left(comma));
    const std::optional<double> conductivity = positive(text.mid(comma + 1));
    if (!permittivity || !conductivity || *permittivity < 1) {
        return std::nullopt;
    }
    return Ground{GroundKind::Real, *permittivity, *conductivity};
}

std::optional<Conductor> conductorFromText(QStringView text)
{
    for (const ConductorPreset &preset : kConductorPresets) {
        if (text.compare(preset.name, Qt::CaseInsensitive) == 0) {
            return Conductor{preset.kind, preset.conductivity};
        }
    }
    // The American spelling, taken as well but not offered.
    if (text.compare(u"aluminum", Qt::CaseInsensitive) == 0) {
        return aluminium();
    }
    if (const std::optional<double> conductivity = positive(text)) {
        return Conductor{ConductorKind::Other, *conductivity};
    }
    return std::nullopt;
}

QStringList groundNames()
{
    QStringList names;
    for (const GroundKindName &named : kGroundKindNames) {
        if (named.kind != GroundKind::Real) {
            names.append(named.name.toString());
        }
    }
    for (const GroundPreset &preset : kGroundPresets) {
        names.append(preset.name.toString());
    }
    return names;
}

QStringList conductorNames()
{
    QStringList names;
    for (const ConductorPreset &preset : kConductorPresets) {
        names.append(preset.name.toString());
    }
    return names;
}

QString groundChoices()
{
    return groundNames().join(QStringLiteral(", ")) + QStringLiteral(" or EPS,SIGMA");
}

QString conductorChoices()
{
    return conductorNames().join(QStringLiteral(", ")) +
           QStringLiteral(" or a conductivity in S/m");
}

QString groundKindName(GroundKind kind)
{
    for (const GroundKindName &named : kGroundKindNames) {
        if (named.kind == kind) {
            return named.name.toString();
        }
    }
    return {};
}

QString conductorKindName(ConductorKind kind)
{
    const ConductorPreset *preset = conductorPreset(kind);
    return preset ? preset->name.toString() : QStringLiteral("custom");
}

} // namespace moxon
