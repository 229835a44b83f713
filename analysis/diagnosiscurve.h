#pragma once

#include "cable.h"
#include "figures.h"
#include "touchstone.h"

#include <QList>

#include <complex>
#include <optional>

namespace moxon::diagnosing {

// The engine runs each design of the fit at no more of the file's frequencies than this, spread
// evenly over them, and reads the others from a rational fit of the runs: over ground each
// frequency is an engine solution of its own, and a Moxon's impedance over +-10 % is a rational
// function of low degree (the fit of 7 runs misses nec2c's own curve by about 0.1 ohm RMS over
// +-10 % on 20 m over average ground, below any analyser's noise).
inline constexpr int kMostRunFrequencies = 7;

// The readings a diagnosis fits: the file's within the range around the design frequency,
// and of those the ones the engine runs at, spread evenly through them, both ends kept.
struct Readings
{
    QList<TouchstonePoint> inRange;
    QList<TouchstonePoint> run;

    [[nodiscard]] QList<double> runFrequencies() const;
};

// The readings of `points` (increasing frequency) within `share` of `designMhz`.
[[nodiscard]] Readings readingsAround(const QList<TouchstonePoint> &points, double designMhz,
                                      double share);

// One reading's noise, ohms in each of its real and imaginary parts, from the curve's own
// smoothness: how far each reading lies off the straight line through its neighbours. An
// antenna's impedance bends little between an analyser's steps, so what is left is the
// readings' scatter; the median of those misses keeps the few steps where the curve does bend
// (a sharp resonance, a band edge) from counting as noise. Readings taken at the radio through
// `line` (at its nominal length) turn round the chart with the line's phase, several times
// over a VHF sweep: the straight line is drawn through the neighbours turned back to the feed
// point, where the antenna's curve is smooth, and carried up the line again to the reading's
// frequency, so that the miss is still in the readings' own ohms. None with fewer than 3
// readings.
[[nodiscard]] std::optional<double>
readingNoise(const QList<TouchstonePoint> &readings,
             const std::optional<FeedLine> &line = std::nullopt);

// The model's feed-point impedance `feed` as it is seen where the file was measured: through
// `lengthMetres` of `line`'s cable to the radio, or at the feed point without one.
[[nodiscard]] std::complex<double> atMeasuredPlane(std::complex<double> feed, double frequencyMhz,
                                                   const std::optional<FeedLine> &line,
                                                   double lengthMetres);

// A sweep point of an impedance, as the charts draw it.
[[nodiscard]] SweepPoint pointOf(double frequencyMhz, std::complex<double> impedance);

} // namespace moxon::diagnosing
