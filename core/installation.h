#pragma once

#include "cable.h"
#include "insulation.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

namespace moxon {

// Metres of one free-space wavelength at `frequencyMhz`, with the speed of light in vacuum
// (NEC-2 itself works with 299.8 m/us, and the display's wavelength constant, kept as the
// design has it, is not quite this either).
[[nodiscard]] constexpr double freeSpaceWavelength(double frequencyMhz)
{
    return 299.792458 / frequencyMhz;
}

// Where the design check hangs the antenna and what it is made of. The default is the model
// of the calculator itself: free space and perfectly conducting wire.
enum class GroundKind
{
    FreeSpace,
    Perfect, // a perfectly conducting plane
    Real,    // a lossy dielectric half-space
};

struct Ground
{
    GroundKind kind = GroundKind::FreeSpace;
    double permittivity = 1; // relative, of real ground
    double conductivity = 0; // S/m, of real ground

    [[nodiscard]] bool operator==(const Ground &) const = default;
};

// Named kinds of earth, after the table of conductivities and dielectric constants of common
// types of earth in the ARRL Antenna Book (chapter on the effects of the earth).
struct GroundPreset
{
    QStringView name;                  // for the command line: "average"
    const char *caption = nullptr;     // for the window, as translated: "一般地面"
    const char *description = nullptr; // what such ground is, for the window's tooltip
    double permittivity = 0;
    double conductivity = 0; // S/m
};
[[nodiscard]] std::span<const GroundPreset> groundPresets();
// The window's texts of `preset` in the program's language.
[[nodiscard]] QString groundCaption(const GroundPreset &preset);
[[nodiscard]] QString groundDescription(const GroundPreset &preset);
// The preset with exactly these constants, if there is one.
[[nodiscard]] const GroundPreset *groundPreset(const Ground &ground);

enum class ConductorKind
{
    Perfect,
    Copper,
    Aluminium,
    Other, // a conductivity of the user's
};

struct Conductor
{
    ConductorKind kind = ConductorKind::Perfect;
    double conductivity = 0; // S/m; for Copper and Aluminium their own

    [[nodiscard]] bool operator==(const Conductor &) const = default;
};

inline constexpr double kCopperConductivity = 5.8e7;    // S/m, annealed copper
inline constexpr double kAluminiumConductivity = 3.5e7; // S/m, aluminium wire and tubing
[[nodiscard]] Conductor copper();
[[nodiscard]] Conductor aluminium();

// The named conductors of the wire, in the order of the window's list: perfect wire, the
// calculator's own model, then real metals.
struct ConductorPreset
{
    ConductorKind kind = ConductorKind::Perfect;
    QStringView name;                  // for the command line and the JSON: "copper"
    const char *caption = nullptr;     // for the window's list, as translated: "铜"
    const char *wireCaption = nullptr; // wire of it, for the check's header: "铜线"
    double conductivity = 0;           // S/m; none for perfect wire
};
[[nodiscard]] std::span<const ConductorPreset> conductorPresets();
// The window's texts of `preset` in the program's language.
[[nodiscard]] QString conductorCaption(const ConductorPreset &preset);
[[nodiscard]] QString conductorWireCaption(const ConductorPreset &preset);
// The preset of `kind`; none for a conductivity of the user's.
[[nodiscard]] const ConductorPreset *conductorPreset(ConductorKind kind);

struct Installation
{
    double heightMetres = 0; // of the antenna's centre above the ground; none in free space
    Ground ground;
    Conductor conductor;
    std::optional<Insulation> insulation = std::nullopt; // none: bare wire
    // Between the antenna and the radio; none: the figures are the feed point's alone. Its
    // own initialiser lets the installations written as {height, ground, conductor} stand.
    std::optional<FeedLine> feedLine = std::nullopt;

    [[nodiscard]] bool overGround() const { return ground.kind != GroundKind::FreeSpace; }
    // Free space and bare perfect wire: the calculator's own model, the check as it always was.
    // The feed line changes nothing of the antenna's model, and does not count.
    [[nodiscard]] bool isDefault() const
    {
        return !overGround() && conductor.kind == ConductorKind::Perfect && !insulation;
    }
    [[nodiscard]] bool operator==(const Installation &) const = default;
};

// The command line's names: "free", "perfect", a preset's name or "EPS,SIGMA"; "perfect",
// "copper", "aluminium" or a conductivity in S/m. Numbers in the C locale; nothing for a
// text that is none of these or a constant that is not a positive number.
[[nodiscard]] std::optional<Ground> groundFromText(QStringView text);
[[nodiscard]] std::optional<Conductor> conductorFromText(QStringView text);
// What --ground and --conductor take by name, in order: free, perfect and the kinds of earth;
// the metals.
[[nodiscard]] QStringList groundNames();
[[nodiscard]] QStringList conductorNames();
// The names in a sentence, for messages that list the choices: "free, perfect, ... or
// EPS,SIGMA"; "perfect, copper, aluminium or a conductivity in S/m".
[[nodiscard]] QString groundChoices();
[[nodiscard]] QString conductorChoices();
// The names scripts read: "free", "perfect" or "real"; a conductor's name or "custom".
[[nodiscard]] QString groundKindName(GroundKind kind);
[[nodiscard]] QString conductorKindName(ConductorKind kind);

} // namespace moxon
