#pragma once

#include <QList>

#include <complex>
#include <optional>

namespace moxon {

// The engine's feed-point impedance at one frequency.
struct ImpedanceSample
{
    double frequencyMhz = 0;
    std::complex<double> impedance; // ohms
};

// A rational function of frequency through the engine's feed-point impedances, so that a few
// engine runs stand in for a dense sweep: the impedance of a small antenna is smooth over a
// few per cent of its design frequency, with its poles far from the real frequency axis.
//
// Built by the AAA algorithm (adaptive Antoulas-Anderson: Nakatsukasa, Sete and Trefethen,
// "The AAA algorithm for rational approximation", SIAM J. Sci. Comput. 40(3), 2018) in
// barycentric form
//     r(x) = sum_j w_j z_j / (x - x_j)  /  sum_j w_j / (x - x_j)
// over support points x_j taken greedily where the fit is worst, the weights w_j from the
// SVD of the Loewner matrix of the other samples. Fitting a rational model to a few engine
// solutions to stand for the whole band is model-based parameter estimation (Werner and
// Allard, IEEE Trans. Antennas Propagat. 48(3), 2000).
//
// x is the frequency normalised to the band the fit is asked for, -1 at its lower and +1 at
// its upper end: MHz would leave the Loewner matrix badly scaled at 1296 MHz.
class RationalFit
{
public:
    // The most support points: a rational of degree 4 over 4, two resonances (the driven
    // element's and the reflector's, each a pole pair) and room to spare. Free-space designs
    // from 160 m to 23 cm need 4 support points to agree within 0.05 ohm over +-5 %.
    static constexpr int kMostSupportPoints = 5;
    // How close a pole may come to the band, as a fraction of the band's half-width: 1 % of f0
    // over a band of +-5 %. The impedance's own poles lie about f0 / (2 Q) from the real axis,
    // 2.5 to 5 % of f0 for a Moxon's Q of 10 to 20; a pole closer than 1 % is a feature
    // narrower than the antenna has: a spurious pole (a Froissart doublet, a pole-zero pair
    // that fits the samples' rounding) or one that follows the engine's own unevenness.
    static constexpr double kPoleClearance = 0.2;

    // The interpolant of `samples` (distinct frequencies, any order); none when there are fewer
    // than two or the fit is unusable (non-finite, or a pole within the band it is asked for).
    // The greedy iteration stops adding support points once the fit reproduces every sample
    // within the engine's printing precision (five significant digits of each part), at
    // (m + 1) / 2 support points for m samples (which interpolates them all when m is odd; two
    // samples give the straight line), or at kMostSupportPoints. Of its steps, the last that
    // keeps its poles kPoleClearance away from the band and passes within 1 % of the largest
    // |Z| of every sample is the fit: a step that needs a pole there is not trusted, and none
    // is when no step does both.
    [[nodiscard]] static std::optional<RationalFit> fit(const QList<ImpedanceSample> &samples,
                                                        double lowerMhz, double upperMhz);

    // Ohms at `frequencyMhz`; at a support point its sample exactly.
    [[nodiscard]] std::complex<double> impedance(double frequencyMhz) const;

    // The poles in the complex frequency plane, MHz; none for a constant fit.
    [[nodiscard]] QList<std::complex<double>> polesMhz() const { return m_polesMhz; }
    // The largest |r - z| over the samples, ohms: the printing precision where the fit
    // interpolates, more where it smooths (past kMostSupportPoints, an even count of samples,
    // or a step back from a pole near the band).
    [[nodiscard]] double largestSampleError() const { return m_sampleError; }

private:
    RationalFit() = default;
    // This fit's band with the support points `support` of the samples (x, z) and their
    // weights; none when unusable: not finite, a pole near the band, or a sample missed by
    // more than `mostErrorOhm`.
    [[nodiscard]] std::optional<RationalFit> finished(const QList<qsizetype> &support,
                                                      const QList<std::complex<double>> &weights,
                                                      const QList<double> &x,
                                                      const QList<std::complex<double>> &z,
                                                      double mostErrorOhm) const;

    double m_centreMhz = 0;                // the band's middle, where x = 0
    double m_halfWidthMhz = 1;             // MHz per unit of x
    QList<double> m_nodes;                 // support points, in x
    QList<std::complex<double>> m_values;  // ohms at the support points
    QList<std::complex<double>> m_weights; // barycentric weights
    QList<std::complex<double>> m_polesMhz;
    double m_sampleError = 0; // ohms
};

} // namespace moxon
