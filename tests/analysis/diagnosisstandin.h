#pragma once

// The stand-in antenna as the diagnosis's tests fit it: its curve, its engine, and readings
// of a curve with noise.

#include "designprobe.h"
#include "standinantenna.h"
#include "touchstone.h"
#include "trim.h"

#include <QList>

#include <complex>
#include <functional>
#include <random>

namespace moxon::test {

inline constexpr double kF0 = 14.15;

// The stand-in antenna with a third feature of its own, so that the scale and the two pairs
// of tails each leave a different mark on the curve: the dip follows the weighted length, the
// resistance the reflector's tails against the driven element's, and the reactance's slope the
// gap against the boom, which both pairs of tails narrow and the scale does not.
inline std::complex<double> impedance(const StandInAntenna &antenna, const TuneDimensions &t,
                                      double mhz)
{
    const double gap = t.c() / t.a - antenna.reference.c() / antenna.reference.a;
    const double dip = antenna.dipMhz(t);
    return {53 + 60 * antenna.reflectorRatio(t), 300 * (1 + 8 * gap) * (mhz / dip - dip / mhz)};
}

// Its engine: the impedances from impedance(), the figures as the stand-in's own.
inline ProbeEngine engineOf(StandInAntenna &antenna)
{
    return [&antenna](const QList<DesignProbe> &probes) {
        std::optional<QList<ProbeAnswer>> answers = antenna.engine()(probes);
        for (qsizetype k = 0; answers && k < probes.size(); ++k) {
            for (qsizetype i = 0; i < probes.at(k).frequenciesMhz.size(); ++i) {
                const double mhz = probes.at(k).frequenciesMhz.at(i);
                const std::complex<double> z = impedance(antenna, probes.at(k).dims, mhz);
                (*answers)[k].points[i] = sweepPoint(mhz, {z.real(), z.imag()});
            }
        }
        return answers;
    };
}

// The stand-in's front-to-back where the frame's size matters too: `frame` dB lost with A 1 %
// off its length at kF0 in wavelengths, which no trim changes, `stiff` dB with E 1 % off its
// share of A, which E's trim changes; `lift` dB added all over.
inline double frameFrontToBack(const StandInAntenna &antenna, const TuneDimensions &t, double mhz,
                               double frame, double lift, double stiff)
{
    const double off = t.a * mhz / (antenna.reference.a * kF0) - 1;
    const double depth = t.e / t.a * antenna.reference.a / antenna.reference.e - 1;
    return antenna.frontToBack(t, mhz) - 1e4 * (frame * off * off + stiff * depth * depth) + lift;
}

// engineOf()'s, with that front-to-back.
inline ProbeEngine frameEngineOf(StandInAntenna &antenna, double frame, double lift, double stiff)
{
    return [=, &antenna, engine = engineOf(antenna)](const QList<DesignProbe> &probes) {
        std::optional<QList<ProbeAnswer>> answers = engine(probes);
        for (qsizetype k = 0; answers && k < probes.size(); ++k) {
            if (std::optional<DesignFigures> &f = (*answers)[k].figures; f) {
                f->frontToBack = frameFrontToBack(antenna, probes.at(k).dims, f->frequencyMhz,
                                                  frame, lift, stiff);
            }
        }
        return answers;
    };
}

// `count` readings evenly over +-`share` of kF0 of `z`, each part with Gaussian noise of `noise`
// ohms from a seeded generator.
inline QList<TouchstonePoint> readings(const std::function<std::complex<double>(double)> &z,
                                       int count, double share, double noise, unsigned seed = 7)
{
    std::mt19937 generator(seed);
    std::normal_distribution<double> gauss(0, noise > 0 ? noise : 1);
    QList<TouchstonePoint> points;
    for (int i = 0; i < count; ++i) {
        const double mhz = kF0 * (1 - share + 2 * share * i / (count - 1));
        const std::complex<double> error =
            noise > 0 ? std::complex<double>(gauss(generator), gauss(generator)) : 0.0;
        points.append({mhz, z(mhz) + error});
    }
    return points;
}

// `dims` cut as `trim` advises: each pair of tails, and E where it moves.
inline TuneDimensions cutAs(const TuneDimensions &dims, const FieldTrim &trim)
{
    TuneDimensions cut = withTails(dims, trim.drivenTailChange, trim.reflectorTailChange);
    cut.e += trim.gapChange;
    return cut;
}

} // namespace moxon::test
