#include "installationsettings.h"

#include <QSettings>

#include <cmath>

namespace moxon {

namespace {

QSettings settings()
{
    return QSettings(QStringLiteral("moxon"), QStringLiteral("moxon"));
}

// The group and keys are those the check window has always stored them under.
const QString kGroup = QStringLiteral("designCheck");
// The insulation's kind, or none for bare wire, which is also what a store from before the
// insulation reads as.
const QString kInsulationKey = QStringLiteral("insulation");
const QString kInsulationPermittivityKey = QStringLiteral("insulationPermittivity");
const QString kInsulationThicknessKey = QStringLiteral("insulationThicknessMetres");

// The stored insulation; none where it is bare or what is stored does not read as one.
std::optional<Insulation> storedInsulation(const QSettings &stored)
{
    bool known = false;
    const int kind = stored.value(kInsulationKey).toInt(&known);
    if (!known || kind < 0 || kind > int(InsulationKind::Other)) {
        return std::nullopt;
    }
    const Insulation insulation{InsulationKind(kind),
                                stored.value(kInsulationPermittivityKey).toDouble(),
                                stored.value(kInsulationThicknessKey).toDouble()};
    const bool sound = isInsulationPermittivity(insulation.permittivity) &&
                       std::isfinite(insulation.thicknessMetres) && insulation.thicknessMetres >= 0;
    return sound ? std::optional<Insulation>(insulation) : std::nullopt;
}

// The feed line: a table cable by its name, so that it follows the table; a line of one's own
// by its constants and fitted loss. None where nothing is stored or it does not read.
std::optional<FeedLine> storedFeedLine(const QSettings &stored)
{
    const QString name = stored.value(QStringLiteral("feedLine")).toString();
    const double length = stored.value(QStringLiteral("feedLineMetres"), 0).toDouble();
    if (name.isEmpty() || !std::isfinite(length) || !(length > 0)) {
        return std::nullopt;
    }
    if (const CablePreset *preset = cablePreset(name)) {
        return FeedLine{cableOf(*preset), length};
    }
    const Cable own{kCustomCable.toString(),
                    stored.value(QStringLiteral("feedLineZ0"), 0).toDouble(),
                    stored.value(QStringLiteral("feedLineVelocity"), 0).toDouble(),
                    {stored.value(QStringLiteral("feedLineRootLoss"), -1).toDouble(),
                     stored.value(QStringLiteral("feedLineLinearLoss"), -1).toDouble()}};
    const bool reads = name == kCustomCable && own.z0Ohm > 0 && std::isfinite(own.z0Ohm) &&
                       own.velocityFactor > 0 && own.velocityFactor <= 1 &&
                       own.loss.rootCoefficient >= 0 && std::isfinite(own.loss.rootCoefficient) &&
                       own.loss.linearCoefficient >= 0 && std::isfinite(own.loss.linearCoefficient);
    return reads ? std::optional(FeedLine{own, length}) : std::nullopt;
}

void storeFeedLine(QSettings &stored, const std::optional<FeedLine> &line)
{
    stored.setValue(QStringLiteral("feedLine"), line ? line->cable.name : QString());
    if (!line) {
        return;
    }
    const Cable &cable = line->cable;
    stored.setValue(QStringLiteral("feedLineMetres"), line->lengthMetres);
    stored.setValue(QStringLiteral("feedLineZ0"), cable.z0Ohm);
    stored.setValue(QStringLiteral("feedLineVelocity"), cable.velocityFactor);
    stored.setValue(QStringLiteral("feedLineRootLoss"), cable.loss.rootCoefficient);
    stored.setValue(QStringLiteral("feedLineLinearLoss"), cable.loss.linearCoefficient);
}

} // namespace

Installation storedInstallation()
{
    QSettings stored = settings();
    stored.beginGroup(kGroup);
    Installation restored;
    restored.heightMetres = stored.value(QStringLiteral("heightMetres"), 0).toDouble();
    restored.ground = {GroundKind(stored.value(QStringLiteral("ground"), 0).toInt()),
                       stored.value(QStringLiteral("permittivity"), 13).toDouble(),
                       stored.value(QStringLiteral("conductivity"), 0.005).toDouble()};
    restored.conductor = {ConductorKind(stored.value(QStringLiteral("conductor"), 0).toInt()),
                          // Stored as "metal" since the first version that kept it.
                          stored.value(QStringLiteral("metal"), 0).toDouble()};
    const bool knownKinds =
        int(restored.ground.kind) >= 0 && restored.ground.kind <= GroundKind::Real &&
        int(restored.conductor.kind) >= 0 && restored.conductor.kind <= ConductorKind::Other;
    const bool soundGround = restored.ground.permittivity >= 1 && restored.ground.conductivity > 0;
    // Free space and perfect ground keep the constants of real ground only for the next pick
    // of the user's own ground: constants that never were set (those of a session that never
    // went over real ground) must not cost the rest of the installation, the wire included.
    if (knownKinds && !soundGround && restored.ground.kind != GroundKind::Real) {
        restored.ground = Ground{restored.ground.kind};
    }
    if (knownKinds && std::isfinite(restored.heightMetres) &&
        (soundGround || restored.ground.kind != GroundKind::Real) &&
        (restored.conductor.kind == ConductorKind::Perfect ||
         restored.conductor.conductivity > 0)) {
        restored.insulation = storedInsulation(stored);
        restored.feedLine = storedFeedLine(stored);
        return restored;
    }
    return {};
}

void storeInstallation(const Installation &installation)
{
    QSettings stored = settings();
    stored.beginGroup(kGroup);
    stored.setValue(QStringLiteral("heightMetres"), installation.heightMetres);
    stored.setValue(QStringLiteral("ground"), int(installation.ground.kind));
    stored.setValue(QStringLiteral("permittivity"), installation.ground.permittivity);
    stored.setValue(QStringLiteral("conductivity"), installation.ground.conductivity);
    stored.setValue(QStringLiteral("conductor"), int(installation.conductor.kind));
    stored.setValue(QStringLiteral("metal"), installation.conductor.conductivity);
    storeFeedLine(stored, installation.feedLine);
    if (!installation.insulation) {
        stored.setValue(kInsulationKey, -1);
        return;
    }
    stored.setValue(kInsulationKey, int(installation.insulation->kind));
    stored.setValue(kInsulationPermittivityKey, installation.insulation->permittivity);
    stored.setValue(kInsulationThicknessKey, installation.insulation->thicknessMetres);
}

} // namespace moxon
