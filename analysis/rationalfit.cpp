#include "rationalfit.h"

#include <Eigen/Dense>
#include <Eigen/Eigenvalues>
#include <algorithm>
#include <cmath>

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

// The zeros of the denominator sum_j w_j / (x - x_j): the eigenvalues of the arrowhead pencil
// ([0 w^T; 1 diag(x)], diag(0, I)) of the paper. Eigen has no complex generalized
// eigensolver, so the pencil is deflated to an ordinary (n-1)x(n-1) problem: its eigenvectors
// u satisfy w^T u = 0, so u = Q y with Q an orthonormal basis of that hyperplane, and
// (diag(x) - lambda) u is a multiple of the ones vector 1, which the projector
// P = I - 1 w^T / sum(w) removes while leaving Q's columns alone: lambda is an eigenvalue of
// Q^H P diag(x) Q.
QList<Complex> denominatorZeros(const QList<double> &nodes, const QList<Complex> &weights)
{
    const auto n = Eigen::Index(nodes.size());
    if (n < 2) {
        return {};
    }
    Eigen::VectorXcd w(n);
    Eigen::VectorXcd x(n);
    for (Eigen::Index j = 0; j < n; ++j) {
        w(j) = weights.at(j);
        x(j) = nodes.at(j);
    }
    // sum(w) is the leading coefficient of the denominator's numerator polynomial: zero when
    // the fit is a polynomial, one pole at infinity. Nudged off zero, that pole lies ~1e13 band
    // widths away and the others move by as little.
    Complex sum = w.sum();
    const double scale = w.cwiseAbs().sum() * 1e-13;
    if (std::abs(sum) < scale) {
        sum = sum == Complex(0) ? Complex(scale) : sum / std::abs(sum) * scale;
    }
    const Eigen::HouseholderQR<Eigen::MatrixXcd> qr(Eigen::MatrixXcd(w.conjugate()));
    const Eigen::MatrixXcd q =
        (qr.householderQ() * Eigen::MatrixXcd::Identity(n, n)).rightCols(n - 1);
    const Eigen::MatrixXcd projector =
        Eigen::MatrixXcd::Identity(n, n) - Eigen::VectorXcd::Ones(n) * w.transpose() / sum;
    const Eigen::MatrixXcd reduced = q.adjoint() * projector * x.asDiagonal() * q;
    const Eigen::ComplexEigenSolver<Eigen::MatrixXcd> solver(reduced, false);
    QList<Complex> zeros;
    for (Eigen::Index k = 0; k < solver.eigenvalues().size(); ++k) {
        zeros.append(solver.eigenvalues()(k));
    }
    return zeros;
}

} // namespace

std::optional<RationalFit> RationalFit::fit(const QList<ImpedanceSample> &samples, double lowMhz,
                                            double highMhz)
{
    const qsizetype m = samples.size();
    if (m < 2 || !std::isfinite(lowMhz) || !std::isfinite(highMhz) || !(highMhz > lowMhz)) {
        return std::nullopt;
    }
    RationalFit result;
    result.m_centreMhz = (lowMhz + highMhz) / 2;
    result.m_halfWidthMhz = (highMhz - lowMhz) / 2;

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

    // The greedy AAA iteration: the sample the fit misses most becomes a support point, and the
    // weights are the right singular vector of the smallest singular value of the Loewner
    // matrix (z_i - z_j) / (x_i - x_j), rows the other samples, columns the support points.
    // (m + 1) / 2 support points leave at most one more row than columns: a unique weight
    // vector, not a null space of several that would place poles anywhere.
    QList<bool> isSupport(m, false);
    QList<qsizetype> support;
    Complex mean = 0;
    for (const Complex value : z) {
        mean += value;
    }
    QList<Complex> approximation(m, mean / double(m));
    QList<Complex> lastWeights; // of the support points as they stand
    const qsizetype maxSupport = (m + 1) / 2;
    while (support.size() < maxSupport) {
        qsizetype worst = -1;
        double worstError = -1;
        for (qsizetype i = 0; i < m; ++i) {
            const double error = std::abs(z.at(i) - approximation.at(i));
            if (!isSupport.at(i) && error > worstError) {
                worst = i;
                worstError = error;
            }
        }
        support.append(worst);
        isSupport[worst] = true;

        const auto columns = Eigen::Index(support.size());
        Eigen::MatrixXcd loewner(Eigen::Index(m) - columns, columns);
        Eigen::Index row = 0;
        for (qsizetype i = 0; i < m; ++i) {
            if (isSupport.at(i)) {
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
        lastWeights = QList<Complex>(weights.begin(), weights.end());

        bool within = true;
        for (qsizetype i = 0; i < m; ++i) {
            if (isSupport.at(i)) {
                approximation[i] = z.at(i);
                continue;
            }
            Complex numerator = 0;
            Complex denominator = 0;
            for (Eigen::Index c = 0; c < columns; ++c) {
                const qsizetype j = support.at(c);
                numerator += weights(c) * z.at(j) / (x.at(i) - x.at(j));
                denominator += weights(c) / (x.at(i) - x.at(j));
            }
            approximation[i] = numerator / denominator;
            within = within && std::abs(z.at(i) - approximation.at(i)) <= tolerance.at(i);
        }
        if (within) {
            break;
        }
    }

    // The last iterate only: one with fewer support points misses samples the engine printed.
    return support.isEmpty() ? std::nullopt : result.finished(support, lastWeights, x, z);
}

std::optional<RationalFit> RationalFit::finished(const QList<qsizetype> &support,
                                                 const QList<std::complex<double>> &weights,
                                                 const QList<double> &x,
                                                 const QList<std::complex<double>> &z) const
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
    return result;
}

std::complex<double> RationalFit::impedance(double frequencyMhz) const
{
    return evaluate(m_nodes, m_values, m_weights, (frequencyMhz - m_centreMhz) / m_halfWidthMhz);
}

int RationalFit::supportPoints() const
{
    return int(m_nodes.size());
}

} // namespace moxon
