#include "impedancecurve.h"

#include "sweepplan.h"

#include <algorithm>
#include <cmath>

namespace moxon {

namespace {

constexpr int kGridSteps = 400;
constexpr int kMostSamples = 4;        // a cubic at most: beyond, noise is fitted
constexpr double kDipTolerance = 1e-8; // relative to the frequency
constexpr double kSlopeStep = 1e-6;    // relative: the end slope's difference quotient
const double kGolden = (std::sqrt(5.0) - 1) / 2;

using Complex = std::complex<double>;

// |reflection|^2 on the line: smooth where the SWR has a cusp at a perfect match.
double reflection(Complex z)
{
    const Complex gamma = (z - kLineImpedance) / (z + kLineImpedance);
    return std::norm(gamma);
}

} // namespace

std::optional<double> interiorMinimum(const std::function<double(double)> &value, double low,
                                      double high, double tolerance)
{
    if (!(high > low)) {
        return std::nullopt;
    }
    const double step = (high - low) / kGridSteps;
    int best = 0;
    double bestValue = value(low);
    for (int i = 1; i <= kGridSteps; ++i) {
        const double v = value(low + i * step);
        if (!std::isfinite(v)) {
            return std::nullopt;
        }
        if (v < bestValue) {
            best = i;
            bestValue = v;
        }
    }
    if (!std::isfinite(bestValue) || best == 0 || best == kGridSteps) {
        return std::nullopt;
    }
    double a = low + (best - 1) * step;
    double b = low + (best + 1) * step;
    double x1 = b - kGolden * (b - a);
    double x2 = a + kGolden * (b - a);
    double f1 = value(x1);
    double f2 = value(x2);
    while (b - a > tolerance) {
        if (f1 <= f2) {
            b = x2;
            x2 = x1;
            f2 = f1;
            x1 = b - kGolden * (b - a);
            f1 = value(x1);
        } else {
            a = x1;
            x1 = x2;
            f1 = f2;
            x2 = a + kGolden * (b - a);
            f2 = value(x2);
        }
    }
    return (a + b) / 2;
}

ImpedanceCurve::ImpedanceCurve(RationalFit base, double stretch, const QList<SweepPoint> &samples)
    : m_base(std::move(base))
    , m_stretch(stretch)
{
    QList<SweepPoint> kept;
    for (const SweepPoint &sample : samples) {
        const bool known = std::any_of(kept.cbegin(), kept.cend(), [&](const SweepPoint &k) {
            return std::fabs(k.frequencyMhz - sample.frequencyMhz) <=
                   kSameFrequency * sample.frequencyMhz;
        });
        if (!known && std::isfinite(sample.frequencyMhz)) {
            kept.append(sample);
        }
    }
    std::sort(kept.begin(), kept.end(), [](const SweepPoint &a, const SweepPoint &b) {
        return a.frequencyMhz < b.frequencyMhz;
    });
    // The samples nearest the middle of them all when there are more than a cubic takes.
    while (kept.size() > kMostSamples) {
        kept.removeAt(kept.size() % 2 == 0 ? kept.size() - 1 : 0);
    }
    for (const SweepPoint &sample : std::as_const(kept)) {
        m_nodes.append(sample.frequencyMhz);
        m_differences.append(Complex(sample.feed.resistance, sample.feed.reactance) -
                             m_base.impedance(m_stretch * sample.frequencyMhz));
    }
    // Newton's divided differences, in place.
    for (qsizetype level = 1; level < m_nodes.size(); ++level) {
        for (qsizetype i = m_nodes.size() - 1; i >= level; --i) {
            m_differences[i] = (m_differences.at(i) - m_differences.at(i - 1)) /
                               (m_nodes.at(i) - m_nodes.at(i - level));
        }
    }
}

Complex ImpedanceCurve::polynomial(double frequencyMhz) const
{
    Complex sum = 0;
    for (qsizetype i = m_nodes.size() - 1; i >= 0; --i) {
        sum = sum * (frequencyMhz - m_nodes.at(i)) + m_differences.at(i);
    }
    return sum;
}

Complex ImpedanceCurve::correction(double frequencyMhz) const
{
    if (m_nodes.isEmpty()) {
        return 0;
    }
    const double first = m_nodes.first();
    const double last = m_nodes.last();
    if (m_nodes.size() == 1 || (frequencyMhz >= first && frequencyMhz <= last)) {
        return polynomial(frequencyMhz);
    }
    // Beyond the samples a polynomial of their rounding would run off: a straight line on.
    const double end = frequencyMhz < first ? first : last;
    const double h = kSlopeStep * end;
    const Complex slope = (polynomial(end + h) - polynomial(end - h)) / (2 * h);
    return polynomial(end) + slope * (frequencyMhz - end);
}

Complex ImpedanceCurve::impedance(double frequencyMhz) const
{
    return m_base.impedance(m_stretch * frequencyMhz) + correction(frequencyMhz);
}

double ImpedanceCurve::swr(double frequencyMhz) const
{
    const Complex z = impedance(frequencyMhz);
    return standingWaveRatio({z.real(), z.imag()}, kLineImpedance);
}

std::optional<double> ImpedanceCurve::dip(double lowerMhz, double upperMhz) const
{
    return interiorMinimum([this](double f) { return reflection(impedance(f)); }, lowerMhz,
                           upperMhz, kDipTolerance * upperMhz);
}

QList<SweepPoint> ImpedanceCurve::points(double lowerMhz, double upperMhz, int count) const
{
    QList<SweepPoint> result;
    for (int i = 0; i < count; ++i) {
        const double f = count > 1 ? lowerMhz + (upperMhz - lowerMhz) * i / (count - 1) : lowerMhz;
        const Complex z = impedance(f);
        result.append(sweepPoint(f, {z.real(), z.imag()}));
    }
    return result;
}

QList<ImpedanceSample> impedanceSamples(const QList<SweepPoint> &points)
{
    QList<ImpedanceSample> samples;
    for (const SweepPoint &point : points) {
        const bool known = std::any_of(samples.cbegin(), samples.cend(), [&](const auto &s) {
            return std::fabs(s.frequencyMhz - point.frequencyMhz) <= 1e-9 * point.frequencyMhz;
        });
        if (!known) {
            samples.append(
                ImpedanceSample{point.frequencyMhz, {point.feed.resistance, point.feed.reactance}});
        }
    }
    return samples;
}

} // namespace moxon
