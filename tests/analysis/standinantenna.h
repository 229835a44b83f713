#pragma once

#include "designprobe.h"

#include <cmath>
#include <complex>
#include <functional>

namespace moxon::test {

// A 20 m antenna in metres whose figures are smooth functions of its dimensions, standing in
// for nec2c in the tests of the tolerances and the trim. Its reactance crosses zero, and its SWR
// dips, at a frequency inversely proportional to a weighted length, so that a design s times as
// large dips at 1 / s of it; longer A, B and D lower the dip and a wider gap C raises it, by
// about as much per centimetre as nec2c finds on 20 m (-13, -13, -16 and +4 kHz). Its
// resistance follows the reflector's tails against the driven element's; its front-to-back is
// best at the reference's proportions and at the dip, and falls away from both.
struct StandInAntenna
{
    TuneDimensions reference{7.7224, 1.176, 1.4356, 2.8081};
    double referenceDipMhz = 14.07;
    int engineRuns = 0;
    // Probes of the dimensions it holds for fail as an engine that does not accept the deck.
    std::function<bool(const TuneDimensions &)> failing;
    // dB: a front-to-back of its own at a frequency in MHz; none: the smooth one below.
    std::function<double(const TuneDimensions &, double)> frontToBackOf;
    // Metres of the weighted length per square of the gap's share of the width moved from the
    // reference's: nec2c's dip is not linear in E, and a trim that moves E holds it only to
    // first order.
    double gapBend = 0;

    static double length(const TuneDimensions &t)
    {
        return 0.45 * t.a + 0.45 * t.b + 0.55 * t.d - 0.14 * t.c();
    }
    [[nodiscard]] double dipMhz(const TuneDimensions &t) const
    {
        const double share = t.c() / t.a - reference.c() / reference.a;
        return referenceDipMhz * length(reference) / (length(t) + gapBend * t.a * share * share);
    }
    // MHz per metre of `dimension` changed alone, E following: for the tolerances' rows.
    [[nodiscard]] double dipSlope(double weight) const
    {
        return -referenceDipMhz * weight / length(reference);
    }
    [[nodiscard]] double reflectorRatio(const TuneDimensions &t) const
    {
        return t.d / t.b - reference.d / reference.b;
    }
    [[nodiscard]] std::complex<double> impedance(const TuneDimensions &t, double mhz) const
    {
        const double dip = dipMhz(t);
        return {53 + 60 * reflectorRatio(t), 300 * (mhz / dip - dip / mhz)};
    }
    [[nodiscard]] double frontToBack(const TuneDimensions &t, double mhz) const
    {
        const double gap = t.c() / t.a - reference.c() / reference.a;
        const double detuning = mhz / dipMhz(t) - 1;
        return 28 - 150 * std::pow(reflectorRatio(t), 2) - 5000 * gap * gap -
               2000 * detuning * detuning;
    }
    [[nodiscard]] double swr(const TuneDimensions &t, double mhz) const
    {
        const std::complex<double> z = impedance(t, mhz);
        return standingWaveRatio({z.real(), z.imag()});
    }
    [[nodiscard]] DesignFigures figures(const TuneDimensions &t, double mhz) const
    {
        DesignFigures f;
        f.frequencyMhz = mhz;
        const std::complex<double> z = impedance(t, mhz);
        f.feed = {z.real(), z.imag()};
        f.swr = swr(t, mhz);
        f.forwardGain = 6;
        f.frontToBack = frontToBackOf ? frontToBackOf(t, mhz) : frontToBack(t, mhz);
        return f;
    }

    ProbeEngine engine()
    {
        return [this](const QList<DesignProbe> &probes) {
            QList<ProbeAnswer> answers;
            for (const DesignProbe &probe : probes) {
                engineRuns += probe.engineRuns();
                ProbeAnswer answer;
                if (failing && failing(probe.dims)) {
                    answer.failure = EngineFailure::DeckError;
                    answer.message = QStringLiteral("nec2c did not accept the deck: stand-in.");
                } else {
                    if (probe.figuresMhz) {
                        answer.figures = figures(probe.dims, *probe.figuresMhz);
                    }
                    for (const double mhz : probe.frequenciesMhz) {
                        const std::complex<double> z = impedance(probe.dims, mhz);
                        answer.points.append(sweepPoint(mhz, {z.real(), z.imag()}));
                    }
                }
                answers.append(answer);
            }
            return std::optional<QList<ProbeAnswer>>(answers);
        };
    }
};

// `dims` times `scale`, every dimension.
inline TuneDimensions scaledBy(const TuneDimensions &dims, double scale)
{
    return {dims.a * scale, dims.b * scale, dims.d * scale, dims.e * scale};
}

// A setup of the stand-in in metres, to 4 decimals, at `f0Mhz`: the deck is unused.
inline TuneSetup standInSetup(const TuneDimensions &dims, double f0Mhz = 14.15)
{
    return {dims,
            4,
            QStringLiteral("m"),
            1,
            [f0Mhz](const TuneDimensions &) {
                CheckRequest request;
                request.frequencyMhz = f0Mhz;
                return request;
            },
            std::nullopt};
}

} // namespace moxon::test
