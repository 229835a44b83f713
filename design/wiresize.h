#pragma once

#include <QStringView>

#include <optional>

namespace moxon {

// The units a wire size can be entered in, in the order the drop-down lists them.
enum class WireUnit
{
    Inch,       // "in", a diameter in inches
    Millimetre, // "mm", a diameter in millimetres
    Gauge,      // "AWG", an American Wire Gauge number from 0 to 40
};

// Compared without regard to letter case, in the order "in", "mm", "AWG".
[[nodiscard]] std::optional<WireUnit> wireUnitFromText(QStringView text);

// Index of the "AWG" entry of the wire-unit drop-down (indices count from 0).
inline constexpr int kGaugeEntryIndex = 2;

// Free-space wavelength times frequency for the diameter ratio. They are not exactly
// consistent (11802.71 is not 299792.5 / 25.4), and each is used where it always was.
inline constexpr double kWavelengthInchMHz = 11802.71;      // inches times MHz
inline constexpr double kWavelengthMillimetreMHz = 299792.5; // millimetres times MHz

[[nodiscard]] bool isValidGauge(double n);

// Standard AWG rule: gauge 36 is 1/200 inch, the diameter changes by 92 over 39 gauges.
// Evaluated as (36 - n) / 39, then 92 to that power, then / 200; result in inches.
[[nodiscard]] double gaugeDiameterInches(double n);

// Wire diameter in wavelengths for a checked wire size `w` (diameter or gauge) at `freqMHz`.
[[nodiscard]] double diameterRatio(WireUnit unit, double w, double freqMHz);

} // namespace moxon
