#include "rationalfit.h"

#include <Eigen/Dense>
#include <Eigen/Eigenvalues>
#include <algorithm>
#include <cmath>
#include <limits>

namespace moxon {

namespace {

using Complex = std::complex<double>;

// The engine prints each part of an impedance to five significant digits, so a sample is
// known to half a unit in the fifth digit: 5e-5 of the part at worst. A fit within twice that
// of every sample has nothing left to learn from it; fitting closer fits the rounding, which
// is what makes spurious pole-zero pairs.
constexpr double kPrintedPrecision = 1e-4;
// A floor under each sample's tolerance, relative to the largest |Z|: a part printed as zero
// is not known exactly either.
constexpr double kToleranceFloor = 1e-9;
// Weights below this share of the largest are the SVD's rounding, not a support point.
constexpr double kNegligibleWeight = 1e-14;
// A fit that misses one of its own samples by more than this share of the largest |Z| does not
// describe them: it is smoothing over something no low degree follows.
constexpr double kMostSampleShare = 0.01;

bool finite(Complex value)
{
    return std::isfinite(value.real()) && std::isfinite(value.imag());
}

// The barycentric quotient at `x`; at a node, that node's value.
Complex evaluate(const QList<double> &nodes, const QList<Complex> &values,
                 const QList<Complex> &weights, double x)
{
    Complex numerator = 0;
    Complex denominator = 0;
    for (qsizetype j = 0; j < nodes.size(); ++j) {
        const double offset = x - nodes.at(j);
        if (offset == 0) {
            return values.at(j);
        }
        numerator += weights.at(j) * values.at(j) / offset;
        denominator += weights.at(j) / offset;
    }
    return numerator / denominator;
}

// The zeros of the denominator sum_j w_j / (x - x_j): the finite eigenvalues of the arrowhead
// pencil (E, B) = ([0 w^T; 1 diag(x)], diag(0, I)) of the paper. Eigen has no complex
// generalized eigensolver, so the pencil is shifted and inverted: mu = 1 / (lambda - sigma) is
// an eigenvalue of (E - sigma B)^-1 B, where the pencil's infinite eigenvalues (two always,
// one more when the fit is a polynomial in disguise) become zeros instead of overflowing. The
// shift lies off the real axis, away from the support points and from where a Moxon's poles
// lie.
QList<Complex> denominatorZeros(const QList<double> &nodes, const QList<Complex> &weights)
{
    const auto n = Eigen::Index(nodes.size());
    const Complex shift(0.37, 2.9);
    Eigen::MatrixXcd pencil = Eigen::MatrixXcd::Zero(n + 1, n + 1);
    Eigen::MatrixXcd b = Eigen::MatrixXcd::Zero(n + 1, n + 1);
    for (Eigen::Index j = 0; j < n; ++j) {
        pencil(0, j + 1) = weights.at(j);
        pencil(j + 1, 0) = 1;
        pencil(j + 1, j + 1) = nodes.at(j) - shift;
        b(j + 1, j + 1) = 1;
    }
    const Eigen::FullPivLU<Eigen::MatrixXcd> lu(pencil);
    if (!lu.isInvertible()) {
        // The shift is a pole itself, by a chance in millions: the fit is refused rather than
        // its other poles left unknown.
        return {Complex(shift.real(), std::numeric_limits<double>::quiet_NaN())};
    }
    const Eigen::ComplexEigenSolver<Eigen::MatrixXcd> solver(lu.solve(b), false);
    QList<Complex> zeros;
    for (Eigen::Index k = 0; k < solver.eigenvalues().size(); ++k) {
        // Below this, a pole more than 1e10 band half-widths away: at infinity.
        if (const Complex mu = solver.eigenvalues()(k); std::abs(mu) > 1e-10) {
            zeros.append(shift + 1.0 / mu);
        }
    }
    return zeros;
}

// The barycentric weights for support points `support` of the samples (x, z): the right
// singular vector of the smallest singular value of the Loewner matrix
// (z_i - z_j) / (x_i - x_j), rows the other samples, columns the support points.
QList<Complex> loewnerWeights(const QList<double> &x, const QList<Complex> &z,
                              const QList<qsizetype> &support)
{
    const auto columns = Eigen::Index(support.size());
    if (x.size() == columns) {
        // Nothing left to fit: the polynomial interpolant's weights 1 / prod_k (x_j - x_k),
        // the straight line through two samples.
        QList<Complex> weights;
        for (const qsizetype j : support) {
            double product = 1;
            for (const qsizetype k : support) {
                product *= k == j ? 1 : x.at(j) - x.at(k);
            }
            weights.append(1 / product);
        }
        return weights;
    }
    Eigen::MatrixXcd loewner(Eigen::Index(x.size()) - columns, columns);
    Eigen::Index row = 0;
    for (qsizetype i = 0; i < x.size(); ++i) {
        if (support.contains(i)) {
            continue;
        }
        for (Eigen::Index c = 0; c < columns; ++c) {
            const qsizetype j = support.at(c);
            loewner(row, c) = (z.at(i) - z.at(j)) / (x.at(i) - x.at(j));
        }
        ++row;
    }
    const Eigen::JacobiSVD<Eigen::MatrixXcd> svd(loewner, Eigen::ComputeFullV);
    const Eigen::VectorXcd weights = svd.matrixV().col(columns - 1);
    return {weights.begin(), weights.end()};
}

// The greedy AAA iteration: the sample the fit misses most becomes a support point, until
// the fit is within every sample's tolerance or has `maxSupport` of them. Each iterate's
// support points, in turn.
QList<QList<qsizetype>> greedyIterates(const QList<double> &x, const QList<Complex> &z,
                                       const QList<double> &tolerance, qsizetype maxSupport)
{
    const qsizetype m = x.size();
    QList<qsizetype> support;
    Complex mean = 0;
    for (const Complex value : z) {
        mean += value;
    }
    QList<Complex> approximation(m, mean / double(m));
    QList<QList<qsizetype>> iterates;
    while (support.size() < maxSupport) {
        qsizetype worst = -1;
        double worstError = -1;
        for (qsizetype i = 0; i < m; ++i) {
            const double error = std::abs(z.at(i) - approximation.at(i));
            if (!support.contains(i) && error > worstError) {
                worst = i;
                worstError = error;
            }
        }
        support.append(worst);
        iterates.append(support);
        const QList<Complex> weights = loewnerWeights(x, z, support);
        QList<double> nodes;
        QList<Complex> values;
        for (const qsizetype j : support) {
            nodes.append(x.at(j));
            values.append(z.at(j));
        }
        bool within = true;
        for (qsizetype i = 0; i < m; ++i) {
            approximation[i] = evaluate(nodes, values, weights, x.at(i));
            within = within && std::abs(z.at(i) - approximation.at(i)) <= tolerance.at(i);
        }
        if (within) {
            break;
        }
    }
    return iterates;
}

} // namespace

std::optional<RationalFit> RationalFit::fit(const QList<ImpedanceSample> &samples, double lowerMhz,
                                            double upperMhz)
{
    const qsizetype m = samples.size();
    if (m < 2 || !std::isfinite(lowerMhz) || !std::isfinite(upperMhz) || !(upperMhz > lowerMhz)) {
        return std::nullopt;
    }
    RationalFit result;
    result.m_centreMhz = (lowerMhz + upperMhz) / 2;
    result.m_halfWidthMhz = (upperMhz - lowerMhz) / 2;

    QList<double> x(m);
    QList<Complex> z(m);
    QList<double> tolerance(m);
    double largest = 0;
    for (qsizetype i = 0; i < m; ++i) {
        const ImpedanceSample &sample = samples.at(i);
        if (!std::isfinite(sample.frequencyMhz) || !finite(sample.impedance)) {
            return std::nullopt;
        }
        x[i] = (sample.frequencyMhz - result.m_centreMhz) / result.m_halfWidthMhz;
        z[i] = sample.impedance;
        largest = std::max(largest, std::abs(z.at(i)));
    }
    QList<double> sorted = x;
    std::sort(sorted.begin(), sorted.end());
    if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
        return std::nullopt; // one frequency twice: no function through both
    }
    for (qsizetype i = 0; i < m; ++i) {
        tolerance[i] = kPrintedPrecision * (std::fabs(z.at(i).real()) + std::fabs(z.at(i).imag())) +
                       kToleranceFloor * largest;
    }

    // (m + 1) / 2 support points leave at most one more row than columns in the Loewner matrix:
    // a unique weight vector, not a null space of several that would place poles anywhere.
    // Past kMostSupportPoints the fit is a least-squares fit of the other samples, which
    // smooths what no low degree follows.
    const qsizetype maxSupport = m == 2 ? 2 : std::min<qsizetype>((m + 1) / 2, kMostSupportPoints);
    const QList<QList<qsizetype>> iterates = greedyIterates(x, z, tolerance, maxSupport);

    // The last iterate with no pole near the band. A later one that put a pole there was
    // fitting what no smooth curve follows: over Sommerfeld-Norton ground, at some heights,
    // the engine's impedance steps by a few tenths of an ohm within a few sweep steps, and a
    // degree more than the antenna needs spends itself on a pole beside the step.
    const double mostError = kMostSampleShare * largest;
    for (qsizetype k = iterates.size() - 1; k >= 0; --k) {
        if (std::optional<RationalFit> usable = result.finished(
                iterates.at(k), loewnerWeights(x, z, iterates.at(k)), x, z, mostError)) {
            return usable;
        }
    }
    return std::nullopt;
}

std::optional<RationalFit> RationalFit::finished(const QList<qsizetype> &support,
                                                 const QList<std::complex<double>> &weights,
                                                 const QList<double> &x,
                                                 const QList<std::complex<double>> &z,
                                                 double mostErrorOhm) const
{
    RationalFit result = *this;
    double largestWeight = 0;
    for (const Complex weight : weights) {
        if (!finite(weight)) {
            return std::nullopt;
        }
        largestWeight = std::max(largestWeight, std::abs(weight));
    }
    for (qsizetype c = 0; c < weights.size(); ++c) {
        if (std::abs(weights.at(c)) > kNegligibleWeight * largestWeight) {
            result.m_nodes.append(x.at(support.at(c)));
            result.m_values.append(z.at(support.at(c)));
            result.m_weights.append(weights.at(c));
        }
    }
    if (result.m_nodes.isEmpty()) {
        return std::nullopt;
    }

    // A pole on the band or within kPoleClearance of it: the fit is not to be trusted there,
    // whatever its residue (a Froissart doublet's is tiny, but it still breaks the curve).
    for (const Complex pole : denominatorZeros(result.m_nodes, result.m_weights)) {
        if (!finite(pole)) {
            return std::nullopt;
        }
        const double beyondEnd = std::max(0.0, std::fabs(pole.real()) - 1);
        if (std::hypot(beyondEnd, pole.imag()) < kPoleClearance) {
            return std::nullopt;
        }
        result.m_polesMhz.append(result.m_centreMhz + result.m_halfWidthMhz * pole);
    }

    for (qsizetype i = 0; i < x.size(); ++i) {
        const Complex value = evaluate(result.m_nodes, result.m_values, result.m_weights, x.at(i));
        if (!finite(value)) {
            return std::nullopt;
        }
        result.m_sampleError = std::max(result.m_sampleError, std::abs(value - z.at(i)));
    }
    if (result.m_sampleError > mostErrorOhm) {
        return std::nullopt;
    }
    return result;
}

std::complex<double> RationalFit::impedance(double frequencyMhz) const
{
    return evaluate(m_nodes, m_values, m_weights, (frequencyMhz - m_centreMhz) / m_halfWidthMhz);
}

} // namespace moxon
