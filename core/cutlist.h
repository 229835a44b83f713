#pragma once

#include "units.h"

namespace moxon {

// The five dimensions of the rectangle as it is to be built, in metres.
struct BuildDimensions
{
    double a = 0; // the long side of each element
    double b = 0; // the driven element's tail
    double c = 0; // the gap between the tail tips
    double d = 0; // the reflector's tail
    double e = 0; // the depth, b + c + d

    [[nodiscard]] bool operator==(const BuildDimensions &) const = default;
};

// What a builder adds to the wire beyond the antenna's own lengths, in metres.
struct CutAllowances
{
    double wrap = 0;    // wire wrapped back on itself at each end tied to an insulator
    double feedGap = 0; // between the two halves of the driven element at its centre insulator
};

// The allowances a builder starts from in `unit`: 5 cm of wrap in metric units and 2 in in
// feet and inches. The feed gap is the width of a centre insulator or a feed-point box between
// the two wires' ends, bridged by the feed line's leads: 2.5 cm in metric units and 1 in in
// feet and inches, which is what a common dog-bone insulator or a small box with two terminals
// leaves. The model's driven element runs through its feed point unbroken, so the leads across
// the gap are part of it and each half is cut shorter by half the gap; a builder with another
// insulator measures it and gives that.
[[nodiscard]] CutAllowances defaultAllowances(DisplayUnit unit);

// One piece of wire: how long it hangs between its insulators, and what it is cut to.
struct WirePiece
{
    int count = 1;        // pieces of this length
    double span = 0;      // metres, from insulator to insulator as it hangs
    int wrappedEnds = 2;  // ends tied round an insulator
    double allowance = 0; // metres of wrap at each of them

    // Metres to cut: the span and the wrap at both ends.
    [[nodiscard]] double cut() const { return span + wrappedEnds * allowance; }
};

// The X-frame that holds the four corners: four arms from a hub in the middle of the
// rectangle, each to one corner, where the wire passes the arm's tip.
struct Spreaders
{
    int arms = 4;
    double arm = 0;          // metres, from the hub's centre to a corner
    double angleAcrossE = 0; // degrees between the two arms at one end of the depth E
    double angleAcrossA = 0; // degrees between the two arms at the ends of one element, A
};

// Everything a builder cuts, from the dimensions and the allowances.
struct CutList
{
    // The driven element's two halves, each from the feed point round its corner to its tail
    // tip, less half the feed gap: the halves and the gap make A + 2B.
    WirePiece driverHalf;
    // The reflector, one piece from tail tip to tail tip round both corners: A + 2D.
    WirePiece reflector;
    double feedGap = 0;     // metres between the driven element's halves
    double tailSpacing = 0; // metres between each pair of tail tips, C, across the tail insulator
    Spreaders spreaders;

    // Metres of wire the pieces take, wrap included.
    [[nodiscard]] double totalWire() const
    {
        return driverHalf.count * driverHalf.cut() + reflector.count * reflector.cut();
    }
};

// The cut list of a rectangle of `dims` with `allowances`. The spreader's arms run from the
// middle of the rectangle to its corners, half of A across and half of E along the beam: each
// is the hypotenuse of those two, and the arms meet at twice atan(E / A) across the depth and
// at its supplement across the elements.
[[nodiscard]] CutList cutList(const BuildDimensions &dims, const CutAllowances &allowances);

} // namespace moxon
