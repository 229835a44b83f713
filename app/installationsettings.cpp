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
    if (knownKinds && std::isfinite(restored.heightMetres) && restored.ground.permittivity >= 1 &&
        restored.ground.conductivity > 0 &&
        (restored.conductor.kind == ConductorKind::Perfect ||
         restored.conductor.conductivity > 0)) {
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
}

} // namespace moxon
