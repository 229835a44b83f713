#include "leastsquares.h"

#include <Eigen/Dense>
#include <cmath>
#include <limits>

namespace moxon {

namespace {

// Singular values below this share of the largest count as zero: the unknowns along them are
// not told apart by the residuals.
constexpr double kRankThreshold = 1e-10;

Eigen::MatrixXd jacobianOf(const LinearisedResiduals &problem)
{
    const auto rows = Eigen::Index(problem.residuals.size());
    const auto cols = Eigen::Index(problem.unknowns);
    Eigen::MatrixXd j(rows, cols);
    for (Eigen::Index r = 0; r < rows; ++r) {
        for (Eigen::Index c = 0; c < cols; ++c) {
            j(r, c) = problem.jacobian.at(r * cols + c);
        }
    }
    return j;
}

} // namespace

double LinearisedResiduals::sumOfSquares() const
{
    double sum = 0;
    for (const double r : residuals) {
        sum += r * r;
    }
    return sum;
}

std::optional<QList<double>> dampedStep(const LinearisedResiduals &problem, double lambda)
{
    const auto rows = Eigen::Index(problem.residuals.size());
    const auto cols = Eigen::Index(problem.unknowns);
    if (cols == 0 || problem.jacobian.size() != rows * cols) {
        return std::nullopt;
    }
    const Eigen::MatrixXd j = jacobianOf(problem);
    Eigen::MatrixXd stacked = Eigen::MatrixXd::Zero(rows + cols, cols);
    stacked.topRows(rows) = j;
    Eigen::VectorXd right = Eigen::VectorXd::Zero(rows + cols);
    for (Eigen::Index r = 0; r < rows; ++r) {
        right(r) = -problem.residuals.at(r);
    }
    for (Eigen::Index c = 0; c < cols; ++c) {
        stacked(rows + c, c) = std::sqrt(lambda) * j.col(c).norm();
    }
    const Eigen::VectorXd step = stacked.colPivHouseholderQr().solve(right);
    QList<double> result;
    for (Eigen::Index c = 0; c < cols; ++c) {
        if (!std::isfinite(step(c))) {
            return std::nullopt;
        }
        result.append(step(c));
    }
    return result;
}

QList<double> standardErrors(const LinearisedResiduals &problem)
{
    const auto rows = Eigen::Index(problem.residuals.size());
    const auto cols = Eigen::Index(problem.unknowns);
    const double infinite = std::numeric_limits<double>::infinity();
    if (rows <= cols || problem.jacobian.size() != rows * cols) {
        return QList<double>(cols, infinite);
    }
    const Eigen::JacobiSVD<Eigen::MatrixXd> svd(jacobianOf(problem), Eigen::ComputeThinV);
    const Eigen::VectorXd &singular = svd.singularValues();
    const Eigen::MatrixXd &v = svd.matrixV();
    const double variance = problem.sumOfSquares() / double(rows - cols);
    QList<double> sigmas;
    for (Eigen::Index c = 0; c < cols; ++c) {
        // (JᵀJ)⁻¹ = V S⁻² Vᵀ: its diagonal is the sum over singular values of v² / s².
        double diagonal = 0;
        for (Eigen::Index k = 0; k < singular.size(); ++k) {
            const double weight = v(c, k) * v(c, k);
            if (singular(k) <= kRankThreshold * singular(0)) {
                diagonal += weight > 1e-12 ? infinite : 0;
            } else {
                diagonal += weight / (singular(k) * singular(k));
            }
        }
        sigmas.append(std::sqrt(variance * diagonal));
    }
    return sigmas;
}

} // namespace moxon
