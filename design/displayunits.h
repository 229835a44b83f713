#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace moxon {

// The units of the result boxes, in the order of the four unit options.
enum class DisplayUnit
{
    Feet,
    Inch,
    Metre,
    Millimetre,
};

// Compared without regard to letter case, in the order "ft", "in", "m", "mm".
[[nodiscard]] std::optional<DisplayUnit> displayUnitFromText(QStringView text);

// "ft", "in", "m" or "mm": the value of DisplayUnits and the caption of the unit labels.
[[nodiscard]] QString displayUnitText(DisplayUnit unit);

// Length of one free-space wavelength at `freqMHz`, in the display unit. Built on
// 983.5592 feet times MHz, which is not exactly the constant of the diameter ratio.
[[nodiscard]] double wavelengthIn(DisplayUnit unit, double freqMHz);

// Decimals of the unit's mask: "0.000" for feet, "0.00" inches, "0.0000" metres, "0.0" mm.
[[nodiscard]] int maskDecimals(DisplayUnit unit);

} // namespace moxon
