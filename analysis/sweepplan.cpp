#include "sweepplan.h"

#include "nec2crunner.h"

#include <algorithm>

namespace moxon {

double sweepFrequency(double f0Mhz, int index)
{
    return f0Mhz * (kSweepStart + index * kSweepStep);
}

QList<SweepSlice> sweepSlices(const QByteArray &designDeck, double f0Mhz, int sliceCount)
{
    const int slices = std::clamp(sliceCount, 1, kSweepPoints);
    QList<SweepSlice> result;
    for (int k = 0; k < slices; ++k) {
        SweepSlice slice;
        slice.first = k;
        slice.stride = slices;
        slice.count = (kSweepPoints - k + slices - 1) / slices;
        slice.startMhz = sweepFrequency(f0Mhz, k);
        slice.stepMhz = f0Mhz * kSweepStep * slices;
        slice.deck = sweepDeck(designDeck, slice.startMhz, slice.stepMhz, slice.count);
        result.append(slice);
    }
    return result;
}

} // namespace moxon
