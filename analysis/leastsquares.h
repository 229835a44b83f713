#pragma once

#include <QList>

#include <optional>

namespace moxon {

// A nonlinear least-squares problem linearised at one point: the residuals r (m of them) and
// their Jacobian J (m rows, n columns, row by row), so that r(x + δ) ≈ r + J δ.
struct LinearisedResiduals
{
    QList<double> residuals;
    QList<double> jacobian; // row-major, residuals.size() rows of `unknowns` columns
    int unknowns = 0;

    [[nodiscard]] double sumOfSquares() const;
};

// The damped Gauss-Newton (Levenberg-Marquardt) step: the δ that minimises
// |r + J δ|² + λ |D δ|², D² the diagonal of JᵀJ, so that the damping is the same whatever
// unit each unknown is given in (Marquardt, "An algorithm for least-squares estimation of
// nonlinear parameters", J. SIAM 11(2), 1963; Nocedal and Wright, "Numerical Optimization",
// 2nd ed., ch. 10.3). Solved as the stacked system [J; √λ D] δ = [−r; 0] by column-pivoted
// QR, which never forms JᵀJ and so keeps the accuracy its square would lose. None when the
// system has no finite solution.
[[nodiscard]] std::optional<QList<double>> dampedStep(const LinearisedResiduals &problem,
                                                      double lambda);

// The 1-σ uncertainty of each unknown at a least-squares solution: the square roots of the
// diagonal of s² (JᵀJ)⁻¹, s² = |r|² / (m − n) the residual's variance per reading (Nocedal and
// Wright, ch. 10; Press et al., "Numerical Recipes", 3rd ed., §15.4). From the singular value
// decomposition of J, so that an unknown the residuals cannot tell apart from another gets an
// infinite uncertainty rather than a number from a rounding error.
[[nodiscard]] QList<double> standardErrors(const LinearisedResiduals &problem);

} // namespace moxon
