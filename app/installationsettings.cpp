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
    if (!installation.insulation) {
        stored.setValue(kInsulationKey, -1);
        return;
    }
    stored.setValue(kInsulationKey, int(installation.insulation->kind));
    stored.setValue(kInsulationPermittivityKey, installation.insulation->permittivity);
    stored.setValue(kInsulationThicknessKey, installation.insulation->thicknessMetres);
}

} // namespace moxon
