#include "radiofigures.h"

#include "lossyline.h"

#include <cmath>

namespace moxon {

namespace {

std::complex<double> impedance(const FeedPoint &feed)
{
    return {feed.resistance, feed.reactance};
}

} // namespace

RadioFigures radioFigures(const FeedLine &line, double frequencyMhz, const FeedPoint &feed)
{
    const LossyLine cable(line.cable);
    const double length = line.lengthMetres;
    const std::complex<double> seen = cable.inputImpedance(impedance(feed), frequencyMhz, length);
    RadioFigures radio;
    radio.frequencyMhz = frequencyMhz;
    radio.feed = {seen.real(), seen.imag()};
    radio.swr = standingWaveRatio(radio.feed, kLineImpedance);
    radio.matchedLossDb = cable.matchedLossDb(frequencyMhz, length);
    radio.totalLossDb = cable.totalLossDb(impedance(feed), frequencyMhz, length);
    radio.antennaWatts = kRadioWatts * std::pow(10, -radio.totalLossDb / 10);
    return radio;
}

RadioFigures radioFigures(const FeedLine &line, const DesignFigures &figures,
                          const QList<SweepPoint> &points, const QList<SweepPoint> &curve)
{
    RadioFigures radio = radioFigures(line, figures.frequencyMhz, figures.feed);
    radio.sweep = seenThrough(line, points);
    radio.curve = seenThrough(line, curve);
    radio.bandwidth = bandwidth(radio.curve.isEmpty() ? radio.sweep : radio.curve,
                                figures.frequencyMhz, radio.swr);
    return radio;
}

QList<SweepPoint> seenThrough(const FeedLine &line, const QList<SweepPoint> &points)
{
    const LossyLine cable(line.cable);
    QList<SweepPoint> seen;
    seen.reserve(points.size());
    for (const SweepPoint &point : points) {
        const std::complex<double> z =
            cable.inputImpedance(impedance(point.feed), point.frequencyMhz, line.lengthMetres);
        seen.append(sweepPoint(point.frequencyMhz, {z.real(), z.imag()}));
    }
    return seen;
}

} // namespace moxon
