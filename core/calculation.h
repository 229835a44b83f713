#pragma once

#include "designinput.h"
#include "dimensions.h"
#include "localenumbers.h"

#include <QString>

#include <array>
#include <optional>

namespace moxon {

enum class RangeWarning
{
    None,
    ThinWire,  // L below -6
    ThickWire, // L above -2
};

// Everything computed from checked inputs, before anything is shown.
struct DesignResult
{
    double ratio = 0;       // wire diameter in wavelengths
    double logRatio = 0;    // L, base-10 logarithm of ratio
    Dimensions wavelengths; // A to E in wavelengths
    Dimensions scaled;      // A to E in the display unit, before the mask

    // False when some value left the double range (extreme frequencies or wire sizes):
    // such a design must never be shown.
    [[nodiscard]] bool computable() const;
};

// The design as the result boxes show it.
struct ShownDesign
{
    DisplayUnit unit = DisplayUnit::Inch;
    std::array<QString, 5> texts; // A to E with the unit's mask, in the user's locale
    Dimensions values;            // A to E as shown, that is rounded to the mask's decimals

    [[nodiscard]] bool operator==(const ShownDesign &) const = default;
};

// One run of the calculation, from the form's texts to what the window shows.
struct Calculation
{
    FormInputs form; // the inputs as the form shows them afterwards (the "#" shorthand)
    std::optional<InputError> error; // set when the inputs were rejected: nothing below is shown
    DesignInput input;
    DesignResult result;
    RangeWarning warning = RangeWarning::None;
    ShownDesign shown;

    [[nodiscard]] bool accepted() const { return !error; }
};

[[nodiscard]] DesignResult computeDesign(const WireSize &wire, double freqMHz, DisplayUnit unit);

// The thin-wire test comes first; exactly -6 and -2 warn of nothing.
[[nodiscard]] RangeWarning rangeWarning(double logRatio);
[[nodiscard]] QString rangeWarningText(RangeWarning warning);

// The whole calculation: the gauge shorthand, the checks, the equations and the display step.
[[nodiscard]] Calculation calculate(FormInputs form, DisplayUnit unit,
                                    const LocaleNumbers &numbers);

} // namespace moxon
