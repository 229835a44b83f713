#pragma once

#include <array>

namespace moxon {

// One straight wire of the model: two end points in the display unit of the shown design.
struct WireRow
{
    double X1 = 0;
    double Y1 = 0;
    double Z1 = 0;
    double X2 = 0;
    double Y2 = 0;
    double Z2 = 0;
    int Segments = 0;

    [[nodiscard]] bool operator==(const WireRow &) const = default;
};

// The six wires of the model in row order: driven element tail, span, tail (rows 1 to 3,
// here indices 0 to 2), then the reflector's (rows 4 to 6). The row number is the wire's
// tag in the NEC deck and its place in the binary model file.
using WireTable = std::array<WireRow, 6>;

// Shown dimensions in the display unit. C is not among them: the gap comes out as E - B - D.
struct ShownDimensions
{
    double a = 0;
    double b = 0;
    double d = 0;
    double e = 0;
};

// Builds the table for horizontal polarization with the beam along Y, then turns it upright
// (`vertical`) and then onto the X axis (`xAxis`). Every coordinate is rewritten, so no
// earlier build carries over.
[[nodiscard]] WireTable buildWireTable(const ShownDimensions &shown, bool vertical, bool xAxis);

} // namespace moxon
