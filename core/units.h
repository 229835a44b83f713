#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace moxon {

// The inch, exactly, by the international yard and pound agreement of 1959.
inline constexpr double kMetresPerInch = 0.0254;

// The units of the shown dimensions, in the order of the four unit options.
enum class DisplayUnit
{
    Feet,
    Inch,
    Metre,
    Millimetre,
};

// The units a wire size can be entered in, in the order the wire-unit list shows them.
enum class WireUnit
{
    Inch,       // a diameter in inches
    Millimetre, // a diameter in millimetres
    Gauge,      // an American Wire Gauge number from 0 to 40
};

// One unit of the shown dimensions. Each row carries its own arithmetic as the design states
// it (feet then inches for millimetres, a division for feet), because changing the order of
// the operations would change the last bits of what the model files hold.
struct DisplayUnitInfo
{
    DisplayUnit unit = DisplayUnit::Inch;
    QStringView text;         // "ft": the unit labels, the command line
    char letter = 'I';        // the unit's letter in the binary model file
    int decimals = 2;         // of the result mask, "0.00"
    double metresPerUnit = 0; // coordinates of the binary model file are in metres
    QStringView scaleText;    // the same factor as the NEC deck's GS card writes it
    double (*wavelength)(double freqMHz) = nullptr; // one free-space wavelength in this unit
    double (*fromInches)(double inches) = nullptr;  // a length in inches, in this unit
    // The step a builder measures a cut in, in this unit, and its name: a centimetre for
    // metres, an inch for feet and inches, a millimetre for millimetres.
    double cutStep = 1;
    QStringView cutStepText;
};

// One unit of the wire size.
struct WireUnitInfo
{
    WireUnit unit = WireUnit::Gauge;
    QStringView text;              // "in", "mm", "AWG": the entries of the wire-unit list
    double wavelengthTimesMHz = 0; // in the unit of the diameter (inches for a gauge)
    double unitsPerInch = 1;       // of the diameter; a gauge's diameter is in inches
    double metresPerUnit = 0;      // of the diameter
};

// In the order of the options and of the list: unit texts are always compared in this order.
[[nodiscard]] const std::array<DisplayUnitInfo, 4> &displayUnits();
[[nodiscard]] const std::array<WireUnitInfo, 3> &wireUnits();

[[nodiscard]] const DisplayUnitInfo &unitInfo(DisplayUnit unit);
[[nodiscard]] const WireUnitInfo &unitInfo(WireUnit unit);

// Compared without regard to letter case.
[[nodiscard]] std::optional<DisplayUnit> displayUnitFromText(QStringView text);
[[nodiscard]] std::optional<WireUnit> wireUnitFromText(QStringView text);

[[nodiscard]] QString unitText(DisplayUnit unit);
[[nodiscard]] QString unitText(WireUnit unit);

// "ft, in, m or mm": the unit texts in order, for messages that list the choices.
[[nodiscard]] QString displayUnitChoices();
[[nodiscard]] QString wireUnitChoices();

} // namespace moxon
