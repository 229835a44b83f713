#pragma once

#include <QByteArray>
#include <QList>

namespace moxon {

// The SWR sweep of a design check: kSweepPoints frequencies from 5 % below to 5 % above the
// design frequency f0, point i at f0 * (kSweepStart + i * kSweepStep).
inline constexpr int kSweepPoints = 41;
inline constexpr double kSweepStart = 0.95;
inline constexpr double kSweepStep = 0.0025;

// One engine run of the sweep: every `stride`-th point from `first`, on one frequency card.
struct SweepSlice
{
    int first = 0;       // index of the slice's first point in the sweep
    int stride = 1;      // points of the sweep from one of the slice's points to the next
    int count = 0;       // points in the slice
    double startMhz = 0; // frequency of the first point, MHz
    double stepMhz = 0;  // from one point of the slice to the next, MHz
    QByteArray deck;     // the design deck with this slice's frequency card, no patterns
};

// Frequency of sweep point `index` around `f0Mhz`, in MHz.
[[nodiscard]] double sweepFrequency(double f0Mhz, int index);

// The sweep split into `sliceCount` engine runs (at least one, at most one per point). The
// slices interleave: slice k holds points k, k + n, k + 2n, ... of the n slices, so that each
// one spans the whole band. They run side by side, one per core, and whichever arrives first
// already draws the curve across the band, coarsely; the others fill it in. An equal share of
// points per slice keeps them finishing together.
[[nodiscard]] QList<SweepSlice> sweepSlices(const QByteArray &designDeck, double f0Mhz,
                                            int sliceCount);

} // namespace moxon
