#pragma once

namespace moxon {

// The five dimensions of the rectangle, in wavelengths.
struct Dimensions
{
    double a = 0; // width: the long side of each element
    double b = 0; // tail of the driven element
    double c = 0; // gap between the tail tips
    double d = 0; // tail of the reflector
    double e = 0; // overall depth, b + c + d

    [[nodiscard]] bool operator==(const Dimensions &) const = default;
};

// Base-10 logarithm of the diameter ratio, as the quotient of two natural logarithms.
[[nodiscard]] double logRatio(double ratio);

// The regression equations, fitted for L from -6 to -2 and evaluated as written outside it.
[[nodiscard]] Dimensions dimensionsFor(double logRatio);

// Wires outside this range of L get an "results uncertain" warning.
inline constexpr double kThinWireLimit = -6.0;
inline constexpr double kThickWireLimit = -2.0;

} // namespace moxon
