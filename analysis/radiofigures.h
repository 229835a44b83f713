#pragma once

#include "cable.h"
#include "figures.h"

#include <QList>

namespace moxon {

// The power the check tells reaches the antenna of, watts into the line at the radio.
inline constexpr double kRadioWatts = 100;

// What the radio sees of the antenna at the far end of its feed line, and what the line costs:
// arithmetic on the feed point's figures and curve, no engine run.
struct RadioFigures
{
    double frequencyMhz = 0; // the design frequency
    FeedPoint feed;          // the impedance at the radio, ohms
    double swr = 0;          // there, on kLineImpedance
    double matchedLossDb = 0;
    double totalLossDb = 0;  // into the antenna as it is
    double antennaWatts = 0; // of kRadioWatts into the line
    Bandwidth bandwidth;     // where the SWR at the radio is at most kBandwidthSwr
    QList<SweepPoint> sweep; // the sweep's points as seen at the radio
    QList<SweepPoint> curve; // the fit's dense curve as seen there; empty without one
};

// The radio's figures of an antenna whose feed point is `feed` at `frequencyMhz`, fed through
// `line`; without a sweep, no bandwidth.
[[nodiscard]] RadioFigures radioFigures(const FeedLine &line, double frequencyMhz,
                                        const FeedPoint &feed);
// The same with the check's sweep, its `points` and dense `curve` (empty without a fit)
// turned to the radio, and the bandwidth there from the dense curve when there is one, else
// from the points.
[[nodiscard]] RadioFigures radioFigures(const FeedLine &line, const DesignFigures &figures,
                                        const QList<SweepPoint> &points,
                                        const QList<SweepPoint> &curve);

// `points` as seen through `line`, SWR on kLineImpedance.
[[nodiscard]] QList<SweepPoint> seenThrough(const FeedLine &line, const QList<SweepPoint> &points);

} // namespace moxon
