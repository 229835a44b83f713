#pragma once

#include "units.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

namespace moxon {

// The insulation around the wire's metal, if the wire is insulated: a sleeve of dielectric that
// slows the wave on the wire, so that an insulated element resonates lower than a bare one.
enum class InsulationKind
{
    Pvc,
    Polyethylene,
    Ptfe,
    Other, // a relative permittivity of the user's
};

struct Insulation
{
    InsulationKind kind = InsulationKind::Pvc;
    double permittivity = 1;    // relative
    double thicknessMetres = 0; // radial: from the metal's surface to the insulation's

    [[nodiscard]] bool operator==(const Insulation &) const = default;
};

// The named materials of wire insulation, in the order of the window's list.
struct InsulationPreset
{
    InsulationKind kind = InsulationKind::Pvc;
    QStringView name;              // for the command line and the JSON: "pvc"
    const char *caption = nullptr; // for the window's list, as translated: "PVC"
    double permittivity = 1;       // relative, at high frequency
};
[[nodiscard]] std::span<const InsulationPreset> insulationPresets();
// The window's caption of `preset` in the program's language.
[[nodiscard]] QString insulationCaption(const InsulationPreset &preset);
// The preset of `kind`; none for a permittivity of the user's.
[[nodiscard]] const InsulationPreset *insulationPreset(InsulationKind kind);

// Whether `permittivity` can be an insulation's, relative: from 1, that of air, to
// kMostInsulationPermittivity, past water's 80 and far past the few of any wire's jacket; a
// number beyond is a slip of the keyboard, not a material.
inline constexpr double kMostInsulationPermittivity = 100;
[[nodiscard]] bool isInsulationPermittivity(double permittivity);

// The command line's names: a preset's name, or a relative permittivity that
// isInsulationPermittivity() takes, in the C locale; the thickness is left 0. Nothing for a
// text that is neither.
[[nodiscard]] std::optional<Insulation> insulationFromText(QStringView text);
// What --insulation takes by name, in order.
[[nodiscard]] QStringList insulationNames();
// "pvc, polyethylene, ptfe or a relative permittivity from 1 to 100".
[[nodiscard]] QString insulationChoices();
// The name scripts read: a preset's name or "custom".
[[nodiscard]] QString insulationKindName(InsulationKind kind);

// The insulation's thickness is given in the unit of the wire size; a gauge's diameter is in
// inches, and so is the thickness of its insulation: "mm", "in".
[[nodiscard]] QString thicknessUnitText(WireUnit wireUnit);

} // namespace moxon
