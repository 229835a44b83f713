#include "installation.h"

#include <QLocale>

#include <array>
#include <cmath>

namespace moxon {

namespace {

constexpr std::array kGroundPresets = {
    GroundPreset{u"very-poor", u"很差地面", u"城市、工业区", 5, 0.001},
    GroundPreset{u"poor", u"较差地面", u"岩石、陡峭山地", 13, 0.002},
    GroundPreset{u"average", u"一般地面", u"牧场、黏土", 13, 0.005},
    GroundPreset{u"very-good", u"很好地面", u"牧场、肥沃土壤", 20, 0.0303},
    GroundPreset{u"fresh-water", u"淡水", u"淡水", 80, 0.001},
    GroundPreset{u"sea-water", u"海水", u"海水", 81, 5},
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

std::optional<Ground> groundFromText(QStringView text)
{
    if (text.compare(u"free", Qt::CaseInsensitive) == 0) {
        return Ground{};
    }
    if (text.compare(u"perfect", Qt::CaseInsensitive) == 0) {
        return Ground{GroundKind::Perfect, 1, 0};
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
    if (text.compare(u"perfect", Qt::CaseInsensitive) == 0) {
        return Conductor{};
    }
    if (text.compare(u"copper", Qt::CaseInsensitive) == 0) {
        return copper();
    }
    if (text.compare(u"aluminium", Qt::CaseInsensitive) == 0 ||
        text.compare(u"aluminum", Qt::CaseInsensitive) == 0) {
        return aluminium();
    }
    if (const std::optional<double> conductivity = positive(text)) {
        return Conductor{ConductorKind::Other, *conductivity};
    }
    return std::nullopt;
}

QString groundChoices()
{
    QString names = QStringLiteral("free, perfect");
    for (const GroundPreset &preset : kGroundPresets) {
        names += QStringLiteral(", ") + preset.name.toString();
    }
    return names + QStringLiteral(" or EPS,SIGMA");
}

} // namespace moxon
