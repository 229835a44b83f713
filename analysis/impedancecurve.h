#pragma once

#include "figures.h"
#include "rationalfit.h"

#include <QList>

#include <complex>
#include <functional>
#include <optional>

namespace moxon {

// The feed-point impedance of a design over frequency, for finding its SWR dip with few engine
// runs: the rational fit of a design near it, read at `stretch` times the frequency, plus a
// correction through this design's own engine samples.
//
// A design `stretch` times as large as the fitted one behaves at f as that one does at
// stretch * f, but for its wire and its height, which do not grow with it; a design that
// differs by a centimetre of one dimension differs from the fit by a small, smooth amount. Both
// are caught by the correction: the polynomial through the samples' differences from the
// stretched fit (degree one less than the samples, at most 3), carried on as a straight line
// beyond the outermost samples. With no samples it is the stretched fit.
class ImpedanceCurve
{
public:
    explicit ImpedanceCurve(RationalFit base, double stretch = 1,
                            const QList<SweepPoint> &samples = {});

    [[nodiscard]] std::complex<double> impedance(double frequencyMhz) const;
    // On kLineImpedance.
    [[nodiscard]] double swr(double frequencyMhz) const;
    // Where the SWR is lowest between `lowerMhz` and `upperMhz`, to a millionth of a per cent;
    // none when it is lowest at either end (the dip lies beyond) or the curve is not finite.
    [[nodiscard]] std::optional<double> dip(double lowerMhz, double upperMhz) const;
    // `count` points evenly from `lowerMhz` to `upperMhz`.
    [[nodiscard]] QList<SweepPoint> points(double lowerMhz, double upperMhz, int count) const;

    [[nodiscard]] double stretch() const { return m_stretch; }
    // The fit it reads, unstretched and uncorrected.
    [[nodiscard]] const RationalFit &base() const { return m_base; }

private:
    [[nodiscard]] std::complex<double> correction(double frequencyMhz) const;
    [[nodiscard]] std::complex<double> polynomial(double frequencyMhz) const;

    RationalFit m_base;
    double m_stretch = 1;
    QList<double> m_nodes;                     // MHz, ascending, of the samples
    QList<std::complex<double>> m_differences; // Newton's divided differences, ohms
};

// The impedance samples of `points`, one a frequency: a point at a frequency taken already is
// left out, since no function passes through two values there.
[[nodiscard]] QList<ImpedanceSample> impedanceSamples(const QList<SweepPoint> &points);

// Where `value` is smallest between `low` and `high`: the least of a grid of 400 steps,
// narrowed by golden-section search between its neighbours to `tolerance`. None when the least
// is at either end, or a value is not finite.
[[nodiscard]] std::optional<double> interiorMinimum(const std::function<double(double)> &value,
                                                    double low, double high, double tolerance);

} // namespace moxon
