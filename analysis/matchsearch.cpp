#include "matchsearch.h"

#include <algorithm>
#include <cmath>

namespace moxon {

namespace {

constexpr double kMatchedEnough = 1.05; // SWR: the match search stops below it
constexpr double kVisibleSwr = 0.005;   // an SWR change the window shows (two decimals)
constexpr double kUnsound = 1e6;        // residual of a candidate the engine failed on

using Matrix = std::array<FactorSteps, 3>;

// Solves the 3 x 3 system m x = v by elimination with partial pivoting; zeros when singular.
FactorSteps solve(Matrix m, FactorSteps v)
{
    for (std::size_t col = 0; col < 3; ++col) {
        std::size_t pivot = col;
        for (std::size_t row = col + 1; row < 3; ++row) {
            if (std::fabs(m[row][col]) > std::fabs(m[pivot][col])) {
                pivot = row;
            }
        }
        if (std::fabs(m[pivot][col]) < 1e-15) {
            return {};
        }
        std::swap(m[col], m[pivot]);
        std::swap(v[col], v[pivot]);
        for (std::size_t row = col + 1; row < 3; ++row) {
            const double f = m[row][col] / m[col][col];
            for (std::size_t k = col; k < 3; ++k) {
                m[row][k] -= f * m[col][k];
            }
            v[row] -= f * v[col];
        }
    }
    FactorSteps x{};
    for (std::size_t i = 3; i-- > 0;) {
        double sum = v[i];
        for (std::size_t k = i + 1; k < 3; ++k) {
            sum -= m[i][k] * x[k];
        }
        x[i] = sum / m[i][i];
    }
    return x;
}

// Resistance off 50 ohms, reactance and any front-to-back lost against the formula's, scaled
// alike: what the match drives to zero; then, lightly weighted, how far the factors have moved,
// so that of the many designs that match, the search keeps to the one nearest the formula's.
using Residual = std::array<double, 6>;
constexpr FactorSteps kLeastChange = {0.01 / 0.01, 0.01 / 0.1, 0.01 / 0.1}; // per unit factor

Residual matchResidual(const TuneFigures &figures, double formulaFrontToBack,
                       const TuneFactors &factors)
{
    Residual r{kUnsound, kUnsound, kUnsound, 0, 0, 0};
    if (figures) {
        r[0] = (figures->feed.resistance - kLineImpedance) / kLineImpedance;
        r[1] = figures->feed.reactance / kLineImpedance;
        r[2] = std::max(0.0, formulaFrontToBack - figures->frontToBack) / 10;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        r[3 + i] = kLeastChange[i] * (factors[kMatchFactors[i]] - 1);
    }
    return r;
}

double squared(const Residual &r)
{
    double sum = 0;
    for (const double v : r) {
        sum += v * v;
    }
    return sum;
}

// The normal equations J^T J x = -J^T r of the residual's Jacobian over the three factors.
struct Normal
{
    Matrix matrix{};
    FactorSteps gradient{};
};

Normal normalEquations(const std::array<Residual, 3> &jacobian, const Residual &residual)
{
    Normal normal;
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = 0; j < 3; ++j) {
            for (std::size_t k = 0; k < residual.size(); ++k) {
                normal.matrix[i][j] += jacobian[i][k] * jacobian[j][k];
            }
        }
        for (std::size_t k = 0; k < residual.size(); ++k) {
            normal.gradient[i] -= jacobian[i][k] * residual[k];
        }
    }
    return normal;
}

class MatchSearch
{
public:
    MatchSearch(TuneSearch &search, const DesignFigures &formula)
        : m_search(search)
        , m_formula(formula)
        , m_residual(matchResidual(formula, formula.frontToBack, m_current))
        , m_bestSwr(formula.swr)
        , m_matched(formula.swr <= kMatchedEnough)
    {
        const TuneDimensions &f = search.formula();
        // Finite-difference steps well past the rounding of the shown dimensions.
        m_steps = {std::max(0.005, 3 * search.resolution(f.a)),
                   std::max(0.02, 3 * search.resolution(f.b)),
                   std::max(0.02, 3 * search.resolution(f.d))};
    }

    void run()
    {
        // A formula design that meets the goal already needs only the one round that shows
        // whether anything near it does better; one that does not gets a second try.
        const int idleRounds = m_formula.swr <= kMatchedSwr ? 1 : 2;
        while (!m_search.exhausted() && m_idle < idleRounds && !m_matched) {
            const std::optional<Normal> normal = linearised();
            if (!normal || !step(*normal)) {
                return;
            }
        }
    }

private:
    // The normal equations at the current factors, from a probe of each factor; none when the
    // tuning was cancelled.
    std::optional<Normal> linearised()
    {
        QList<TuneFactors> probes;
        for (std::size_t i = 0; i < 3; ++i) {
            TuneFactors probe = m_current;
            probe[kMatchFactors[i]] += m_steps[i];
            probes.append(probe);
        }
        const QList<TuneFigures> probed = m_search.evaluate(probes);
        if (probed.isEmpty()) {
            return std::nullopt;
        }
        std::array<Residual, 3> jacobian{}; // columns: one factor each
        for (std::size_t i = 0; i < 3; ++i) {
            const Residual r = matchResidual(probed.at(qsizetype(i)), m_formula.frontToBack,
                                             probes.at(qsizetype(i)));
            for (std::size_t k = 0; k < r.size(); ++k) {
                jacobian[i][k] = (r[k] - m_residual[k]) / m_steps[i];
            }
        }
        return normalEquations(jacobian, m_residual);
    }

    // Three dampings of the step side by side: the engine runs them in one round. Moves to the
    // best when it lowers the residual, else damps harder. False when the search is over.
    bool step(const Normal &normal)
    {
        const std::array<double, 3> dampings = {m_damping, m_damping * 10, m_damping * 100};
        const FactorSteps limits = {0.05, 0.15, 0.15}; // the largest step of a factor in a round
        QList<TuneFactors> trials;
        for (const double lambda : dampings) {
            Matrix damped = normal.matrix;
            for (std::size_t i = 0; i < 3; ++i) {
                damped[i][i] += lambda * normal.matrix[i][i] + 1e-9;
            }
            const FactorSteps step = solve(damped, normal.gradient);
            TuneFactors trial = m_current;
            for (std::size_t i = 0; i < 3; ++i) {
                trial[kMatchFactors[i]] += std::clamp(step[i], -limits[i], limits[i]);
            }
            trials.append(trial);
        }
        const QList<TuneFigures> tried = m_search.evaluate(trials);
        if (tried.isEmpty()) {
            return false;
        }
        std::size_t pick = 0;
        std::array<Residual, 3> residuals{};
        for (std::size_t i = 0; i < 3; ++i) {
            residuals[i] = matchResidual(tried.at(qsizetype(i)), m_formula.frontToBack,
                                         trials.at(qsizetype(i)));
            if (squared(residuals[i]) < squared(residuals[pick])) {
                pick = i;
            }
        }
        if (!(squared(residuals[pick]) < squared(m_residual))) {
            m_damping *= 100;
            ++m_idle;
            return true;
        }
        m_current = trials.at(qsizetype(pick));
        m_residual = residuals[pick];
        m_damping = dampings[pick] / 3;
        m_idle = 0;
        return accept(tried.at(qsizetype(pick)));
    }

    // Takes the figures of the step just made (a smaller residual than a sound one's comes
    // from sound figures); false when the search is over.
    bool accept(const TuneFigures &now)
    {
        // A design that met the goal already is left as it is unless a round lowers its SWR
        // visibly: a smaller residual alone is no reason for more runs.
        const bool better = now.has_value() && now->swr < m_bestSwr - kVisibleSwr &&
                            now->frontToBack >= m_formula.frontToBack;
        if (m_formula.swr <= kMatchedSwr && !better) {
            return false;
        }
        if (better) {
            m_bestSwr = now->swr;
        }
        m_matched = now.has_value() && now->swr <= kMatchedEnough &&
                    now->frontToBack >= m_formula.frontToBack;
        return true;
    }

    TuneSearch &m_search;
    DesignFigures m_formula;
    TuneFactors m_current{1, 1, 1, 1};
    Residual m_residual;
    FactorSteps m_steps{};
    double m_damping = 1e-3;
    int m_idle = 0;
    double m_bestSwr = 0; // the lowest SWR of a step made so far
    bool m_matched = false;
};

} // namespace

void searchMatch(TuneSearch &search, const DesignFigures &formula)
{
    MatchSearch(search, formula).run();
}

} // namespace moxon
