#include "tuner.h"

#include "enginebatch.h"
#include "localenumbers.h"

#include <QElapsedTimer>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace moxon {

namespace {

// Factors on the formula's dimensions: the overall scale, then the driven element's tails B,
// the gap C and the reflector's tails D, each on top of the scale.
using Factors = std::array<double, 4>;
constexpr std::size_t kScale = 0;
constexpr std::size_t kDrivenTails = 1;
constexpr std::size_t kGap = 2;
constexpr std::size_t kReflectorTails = 3;

// Scaling moves resonance and the front-to-back peak together in frequency; the tails and the
// gap move them against each other. The match needs the scale and both tails (reactance with
// the driven tails, resistance with the reflector's), the front-to-back the scale, the gap and
// the reflector's tails (the driven tails barely touch it).
constexpr std::array kMatchFactors = {kScale, kDrivenTails, kReflectorTails};
constexpr std::array kFrontToBackFactors = {kScale, kGap, kReflectorTails};
using Vector = std::array<double, 3>;

constexpr int kMaxEngineRuns = 64;
constexpr double kMatchedEnough = 1.05;  // SWR: the match search stops below it
constexpr double kVisibleSwr = 0.005;    // an SWR change the window shows (two decimals)
constexpr double kCleanFrontToBack = 50; // dB: beyond it the back is no longer worth chasing
constexpr double kUnsound = 1e6;         // residual of a candidate the engine failed on

double infinity()
{
    return std::numeric_limits<double>::infinity();
}

// Solves the 3 x 3 system m x = v by elimination with partial pivoting; zeros when singular.
Vector solve(std::array<Vector, 3> m, Vector v)
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
    Vector x{};
    for (std::size_t i = 3; i-- > 0;) {
        double sum = v[i];
        for (std::size_t k = i + 1; k < 3; ++k) {
            sum -= m[i][k] * x[k];
        }
        x[i] = sum / m[i][i];
    }
    return x;
}

// One tuning: every candidate tried with its figures, the engine runs, the best so far.
class Search
{
public:
    Search(TuneGoal goal, const TuneDimensions &formula, int decimals, const TuneEngine &engine,
           const std::function<bool(const TuneProgress &)> &progress)
        : m_goal(goal)
        , m_formula(formula)
        , m_decimals(decimals)
        , m_engine(engine)
        , m_progress(progress)
    {
    }

    [[nodiscard]] TuneDimensions at(const Factors &f) const
    {
        const auto shown = [this](double value) {
            return LocaleNumbers::roundedToMask(value, m_decimals);
        };
        const double a = shown(m_formula.a * f[kScale]);
        const double b = shown(m_formula.b * f[kScale] * f[kDrivenTails]);
        const double c = shown(m_formula.c() * f[kScale] * f[kGap]);
        const double d = shown(m_formula.d * f[kScale] * f[kReflectorTails]);
        return {a, b, d, shown(b + c + d)};
    }

    // The figures of each candidate; a candidate tried before is not run again. Empty when the
    // tuning was cancelled.
    QList<TuneFigures> evaluate(const QList<Factors> &factors)
    {
        QList<TuneDimensions> candidates;
        QList<TuneDimensions> fresh;
        for (const Factors &f : factors) {
            candidates.append(at(f));
            if (!known(candidates.last()) && !fresh.contains(candidates.last())) {
                fresh.append(candidates.last());
            }
        }
        if (!fresh.isEmpty()) {
            const std::optional<QList<TuneFigures>> figures = m_engine(fresh);
            if (!figures || figures->size() != fresh.size()) {
                m_cancelled = true;
                return {};
            }
            m_runs += int(fresh.size()) * (m_goal == TuneGoal::Band ? kBandRunsPerCandidate : 1);
            for (qsizetype i = 0; i < fresh.size(); ++i) {
                m_tried.append({fresh.at(i), figures->at(i)});
            }
            const auto [best, bestFigures] = this->best();
            if (m_progress && bestFigures && !m_progress({m_runs, best, *bestFigures})) {
                m_cancelled = true;
                return {};
            }
        }
        QList<TuneFigures> result;
        for (const TuneDimensions &candidate : candidates) {
            result.append(figuresOf(candidate));
        }
        return result;
    }

    // The candidate the goal prefers among all tried, with its figures; the formula's when none
    // qualifies.
    [[nodiscard]] std::pair<TuneDimensions, TuneFigures> best() const
    {
        const TuneFigures formula = figuresOf(m_formula);
        std::pair<TuneDimensions, TuneFigures> best{m_formula, formula};
        double bestValue = qualifies(formula) ? value(formula) : -infinity();
        for (const Tried &tried : m_tried) {
            if (qualifies(tried.figures) && value(tried.figures) > bestValue) {
                best = {tried.candidate, tried.figures};
                bestValue = value(tried.figures);
            }
        }
        return best;
    }

    [[nodiscard]] bool goalMet(const TuneFigures &figures) const
    {
        if (!qualifies(figures)) {
            return false;
        }
        switch (m_goal) {
        case TuneGoal::Match:
            return figures->swr <= kMatchedSwr;
        case TuneGoal::FrontToBack:
            return true;
        case TuneGoal::Band:
            return figures->band->worst <= kBandSwr;
        }
        return false;
    }

    [[nodiscard]] int runs() const { return m_runs; }
    [[nodiscard]] bool cancelled() const { return m_cancelled; }
    [[nodiscard]] bool exhausted() const { return m_cancelled || m_runs >= kMaxEngineRuns; }
    // The smallest factor step that still moves dimension `value` past the display's rounding.
    [[nodiscard]] double resolution(double value) const
    {
        return std::pow(10.0, -m_decimals) / std::max(std::fabs(value), 1e-12);
    }
    [[nodiscard]] const TuneDimensions &formula() const { return m_formula; }

private:
    struct Tried
    {
        TuneDimensions candidate;
        TuneFigures figures;
    };

    [[nodiscard]] bool known(const TuneDimensions &candidate) const
    {
        return std::any_of(m_tried.begin(), m_tried.end(),
                           [&](const Tried &tried) { return tried.candidate == candidate; });
    }
    [[nodiscard]] TuneFigures figuresOf(const TuneDimensions &candidate) const
    {
        for (const Tried &tried : m_tried) {
            if (tried.candidate == candidate) {
                return tried.figures;
            }
        }
        return std::nullopt;
    }
    // Match: a front-to-back no worse than the formula's; front-to-back: an SWR within 1.5;
    // band: its SWR over the band known, and the front-to-back within the goal's allowance.
    [[nodiscard]] bool qualifies(const TuneFigures &figures) const
    {
        if (!figures) {
            return false;
        }
        const TuneFigures formula = figuresOf(m_formula);
        switch (m_goal) {
        case TuneGoal::Match:
            return formula && figures->frontToBack >= formula->frontToBack;
        case TuneGoal::FrontToBack:
            return figures->swr <= kFrontToBackSwr;
        case TuneGoal::Band:
            return formula && figures->band &&
                   figures->frontToBack >= formula->frontToBack - kBandFrontToBackDrop;
        }
        return false;
    }
    [[nodiscard]] double value(const TuneFigures &figures) const
    {
        switch (m_goal) {
        case TuneGoal::Match:
            return -figures->swr;
        case TuneGoal::FrontToBack:
            return figures->frontToBack;
        case TuneGoal::Band:
            return -figures->band->worst;
        }
        return -infinity();
    }

    TuneGoal m_goal;
    TuneDimensions m_formula;
    int m_decimals;
    const TuneEngine &m_engine;
    const std::function<bool(const TuneProgress &)> &m_progress;
    QList<Tried> m_tried;
    int m_runs = 0;
    bool m_cancelled = false;
};

// Resistance off 50 ohms, reactance and any front-to-back lost against the formula's, scaled
// alike: what the match drives to zero; then, lightly weighted, how far the factors have moved,
// so that of the many designs that match, the search keeps to the one nearest the formula's.
using Residual = std::array<double, 6>;
constexpr Vector kLeastChange = {0.01 / 0.01, 0.01 / 0.1, 0.01 / 0.1}; // weight per unit factor

Residual matchResidual(const TuneFigures &figures, double formulaFrontToBack,
                       const Factors &factors)
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

void searchMatch(Search &search, const DesignFigures &formula)
{
    const TuneDimensions &f = search.formula();
    // Finite-difference steps well past the rounding of the shown dimensions.
    const Vector steps = {std::max(0.005, 3 * search.resolution(f.a)),
                          std::max(0.02, 3 * search.resolution(f.b)),
                          std::max(0.02, 3 * search.resolution(f.d))};
    const Vector limits = {0.05, 0.15, 0.15}; // the largest step of each factor in one round
    Factors current{1, 1, 1, 1};
    Residual residual = matchResidual(formula, formula.frontToBack, current);
    double damping = 1e-3;
    int idle = 0;
    // A formula design that meets the goal already needs only the one round that shows
    // whether anything near it does better; one that does not gets a second try.
    const int idleRounds = formula.swr <= kMatchedSwr ? 1 : 2;
    double bestSwr = formula.swr;
    bool matched = formula.swr <= kMatchedEnough;
    while (!search.exhausted() && idle < idleRounds && !matched) {
        QList<Factors> probes;
        for (std::size_t i = 0; i < 3; ++i) {
            Factors probe = current;
            probe[kMatchFactors[i]] += steps[i];
            probes.append(probe);
        }
        const QList<TuneFigures> probed = search.evaluate(probes);
        if (probed.isEmpty()) {
            return;
        }
        // J^T J and J^T r from the probes' residuals.
        std::array<Residual, 3> jacobian{}; // columns: one factor each
        for (std::size_t i = 0; i < 3; ++i) {
            const Residual r = matchResidual(probed.at(qsizetype(i)), formula.frontToBack,
                                             probes.at(qsizetype(i)));
            for (std::size_t k = 0; k < r.size(); ++k) {
                jacobian[i][k] = (r[k] - residual[k]) / steps[i];
            }
        }
        std::array<Vector, 3> normal{};
        Vector gradient{};
        for (std::size_t i = 0; i < 3; ++i) {
            for (std::size_t j = 0; j < 3; ++j) {
                for (std::size_t k = 0; k < residual.size(); ++k) {
                    normal[i][j] += jacobian[i][k] * jacobian[j][k];
                }
            }
            for (std::size_t k = 0; k < residual.size(); ++k) {
                gradient[i] -= jacobian[i][k] * residual[k];
            }
        }
        // Three dampings side by side: the engine runs them in one round.
        const std::array<double, 3> dampings = {damping, damping * 10, damping * 100};
        QList<Factors> trials;
        for (const double lambda : dampings) {
            std::array<Vector, 3> damped = normal;
            for (std::size_t i = 0; i < 3; ++i) {
                damped[i][i] += lambda * normal[i][i] + 1e-9;
            }
            const Vector step = solve(damped, gradient);
            Factors trial = current;
            for (std::size_t i = 0; i < 3; ++i) {
                trial[kMatchFactors[i]] += std::clamp(step[i], -limits[i], limits[i]);
            }
            trials.append(trial);
        }
        const QList<TuneFigures> tried = search.evaluate(trials);
        if (tried.isEmpty()) {
            return;
        }
        std::size_t pick = 0;
        std::array<Residual, 3> residuals{};
        for (std::size_t i = 0; i < 3; ++i) {
            residuals[i] =
                matchResidual(tried.at(qsizetype(i)), formula.frontToBack, trials.at(qsizetype(i)));
            if (squared(residuals[i]) < squared(residuals[pick])) {
                pick = i;
            }
        }
        if (squared(residuals[pick]) < squared(residual)) {
            current = trials.at(qsizetype(pick));
            residual = residuals[pick];
            damping = dampings[pick] / 3;
            idle = 0;
            // A smaller residual than a sound one's comes from sound figures.
            const TuneFigures &now = tried.at(qsizetype(pick));
            // A design that met the goal already is left as it is unless a round lowers its
            // SWR visibly: a smaller residual alone is no reason for more runs.
            const bool better = now.has_value() && now->swr < bestSwr - kVisibleSwr &&
                                now->frontToBack >= formula.frontToBack;
            if (formula.swr <= kMatchedSwr && !better) {
                return;
            }
            if (better) {
                bestSwr = now->swr;
            }
            matched = now.has_value() && now->swr <= kMatchedEnough &&
                      now->frontToBack >= formula.frontToBack;
        } else {
            damping *= 100;
            ++idle;
        }
    }
}

// A pattern search from the formula design: each round tries each factor a step either way,
// moves to the best neighbour that scores higher (and strides longer that way), or else halves
// every step; it ends when every step is finer than the display's rounding, or when `enough`
// says the current design needs no more.
using Score = std::function<double(const TuneFigures &)>;
void patternSearch(Search &search, const TuneFigures &formula,
                   const std::array<std::size_t, 3> &factors, Vector steps, const Vector &smallest,
                   const Score &score, const std::function<bool(const TuneFigures &)> &enough)
{
    Factors current{1, 1, 1, 1};
    TuneFigures currentFigures = formula;
    double currentScore = score(formula);
    while (!search.exhausted() && !enough(currentFigures)) {
        bool fine = true;
        for (std::size_t i = 0; i < 3; ++i) {
            fine = fine && steps[i] < smallest[i];
        }
        if (fine) {
            return;
        }
        QList<Factors> neighbours;
        for (std::size_t i = 0; i < 3; ++i) {
            for (const double sign : {1.0, -1.0}) {
                Factors next = current;
                next[factors[i]] += sign * steps[i];
                neighbours.append(next);
            }
        }
        const QList<TuneFigures> figures = search.evaluate(neighbours);
        if (figures.isEmpty()) {
            return;
        }
        qsizetype pick = 0;
        for (qsizetype i = 1; i < figures.size(); ++i) {
            if (score(figures.at(i)) > score(figures.at(pick))) {
                pick = i;
            }
        }
        if (score(figures.at(pick)) > currentScore + 0.01) {
            current = neighbours.at(pick);
            currentScore = score(figures.at(pick));
            currentFigures = figures.at(pick);
            steps[std::size_t(pick / 2)] *= 1.5; // a good direction: a longer stride
        } else {
            for (double &step : steps) {
                step /= 2;
            }
        }
    }
}

void searchFrontToBack(Search &search, const DesignFigures &formula)
{
    const TuneDimensions &f = search.formula();
    // Front-to-back, less a heavy penalty for every step of SWR past 1.5.
    const auto score = [](const TuneFigures &figures) {
        return figures ? figures->frontToBack - 20 * std::max(0.0, figures->swr - kFrontToBackSwr)
                       : -infinity();
    };
    const Vector smallest = {std::max(0.001, search.resolution(f.a)),
                             std::max(0.02, search.resolution(f.c())),
                             std::max(0.005, search.resolution(f.d))};
    patternSearch(search, formula, kFrontToBackFactors, {0.01, 0.2, 0.03}, smallest, score,
                  [](const TuneFigures &figures) {
                      return figures && figures->frontToBack >= kCleanFrontToBack;
                  });
}

// Band coverage: the scale moves the whole curve, the two pairs of tails tilt it and change
// its depth, so the same three factors as the match; the worst SWR over the band is lowered
// with a heavy penalty for every dB of front-to-back given up past the goal's allowance.
void searchBand(Search &search, const DesignFigures &formula)
{
    const TuneDimensions &f = search.formula();
    const double floor = formula.frontToBack - kBandFrontToBackDrop;
    const auto score = [floor](const TuneFigures &figures) {
        return figures && figures->band
                   ? -figures->band->worst - 0.5 * std::max(0.0, floor - figures->frontToBack)
                   : -infinity();
    };
    const Vector smallest = {std::max(0.001, search.resolution(f.a)),
                             std::max(0.005, search.resolution(f.b)),
                             std::max(0.005, search.resolution(f.d))};
    patternSearch(search, formula, kMatchFactors, {0.01, 0.04, 0.04}, smallest, score,
                  [](const TuneFigures &) { return false; });
}

} // namespace

TuneResult tune(TuneGoal goal, const TuneDimensions &formula, int decimals,
                const TuneEngine &engine, const std::function<bool(const TuneProgress &)> &progress)
{
    QElapsedTimer clock;
    clock.start();
    TuneResult result;
    result.goal = goal;
    result.formula = formula;
    result.tuned = formula;

    Search search(goal, formula, decimals, engine, progress);
    const QList<TuneFigures> start = search.evaluate({Factors{1, 1, 1, 1}});
    if (start.isEmpty() || !start.first()) {
        result.cancelled = search.cancelled();
        result.failure = result.cancelled
                             ? QString()
                             : QStringLiteral("nec2c gave no sound figures for the formula "
                                              "design, so there is nothing to tune from.");
        result.engineRuns = search.runs();
        result.seconds = double(clock.nsecsElapsed()) / 1e9;
        return result;
    }
    result.before = *start.first();
    switch (goal) {
    case TuneGoal::Match:
        searchMatch(search, result.before);
        break;
    case TuneGoal::FrontToBack:
        searchFrontToBack(search, result.before);
        break;
    case TuneGoal::Band:
        searchBand(search, result.before);
        break;
    }
    const auto [tuned, figures] = search.best();
    result.tuned = tuned;
    result.after = figures.value_or(result.before);
    result.goalMet = search.goalMet(figures);
    result.cancelled = search.cancelled();
    result.engineRuns = search.runs();
    result.seconds = double(clock.nsecsElapsed()) / 1e9;
    return result;
}

TuneEngine nec2cTuneEngine(std::function<CheckRequest(const TuneDimensions &)> requestFor,
                           EngineScheduler &scheduler, CheckOptions options,
                           std::function<bool()> cancelled,
                           std::function<void(const FiguresStep &)> failed,
                           std::optional<BandRange> band)
{
    return [requestFor = std::move(requestFor), &scheduler, options = std::move(options),
            cancelled = std::move(cancelled), failed = std::move(failed),
            band](const QList<TuneDimensions> &candidates) -> std::optional<QList<TuneFigures>> {
        QList<CheckRequest> requests;
        QList<SweepSlice> bandSlices; // for the band goal, one a candidate
        QList<QByteArray> decks;      // the figures runs, then the band runs
        QList<qsizetype> figuresRun;  // each candidate's index into decks; -1: refused
        QList<qsizetype> bandRun;
        for (const TuneDimensions &candidate : candidates) {
            requests.append(requestFor(candidate));
            figuresRun.append(requests.last().refusal.isEmpty() ? decks.size() : -1);
            if (requests.last().refusal.isEmpty()) {
                decks.append(requests.last().deck);
            }
        }
        if (band) {
            for (const CheckRequest &request : std::as_const(requests)) {
                bandSlices.append(frequencySlice(request.deck, bandFrequencies(*band)));
                bandRun.append(request.refusal.isEmpty() ? decks.size() : -1);
                if (request.refusal.isEmpty()) {
                    decks.append(bandSlices.last().deck);
                }
            }
        }
        const std::optional<QList<EngineRun>> runs =
            runEngineBatch(decks, scheduler, options, cancelled);
        if (!runs) {
            return std::nullopt;
        }
        QList<TuneFigures> figures;
        for (qsizetype i = 0; i < requests.size(); ++i) {
            const CheckRequest &request = requests.at(i);
            FiguresStep step = figuresRun.at(i) >= 0
                                   ? readFiguresRun(runs->at(figuresRun.at(i)), request)
                                   : FiguresStep{EngineFailure::Refused, request.refusal, {}};
            if (band && step.failure == EngineFailure::None) {
                SliceStep over = readSliceRun(runs->at(bandRun.at(i)), bandSlices.at(i));
                over.points.append(sweepPoint(request.frequencyMhz, step.figures.feed));
                step.figures.band = bandSwr(over.points, *band);
                if (over.failure != EngineFailure::None) {
                    step = {over.failure, over.message, {}};
                } else if (!step.figures.band) {
                    step = {EngineFailure::UnsoundResult,
                            QStringLiteral("The rational fit of nec2c's impedance over %1 to %2 "
                                           "MHz has a pole in the band.")
                                .arg(band->lowMhz)
                                .arg(band->highMhz),
                            {}};
                }
            }
            if (step.failure != EngineFailure::None && failed) {
                failed(step);
            }
            figures.append(step.failure == EngineFailure::None ? TuneFigures(step.figures)
                                                               : std::nullopt);
        }
        return figures;
    };
}

TuneResult tuneWithNec2c(TuneGoal goal, const TuneSetup &setup, EngineScheduler &scheduler,
                         const CheckOptions &options, std::function<bool()> cancelled,
                         const std::function<bool(const TuneProgress &)> &progress)
{
    if (goal == TuneGoal::Band && !setup.band) {
        TuneResult refused;
        refused.goal = goal;
        refused.formula = refused.tuned = setup.formula;
        refused.failure = QStringLiteral("nec2c was not run: the band goal needs a band, and the "
                                         "design frequency lies in no amateur band.");
        refused.failureKind = EngineFailure::NotRun;
        return refused;
    }
    // The formula design is the first candidate run: the first failure heard is its own.
    std::optional<FiguresStep> first;
    const auto failed = [&first](const FiguresStep &step) {
        if (!first) {
            first = step;
        }
    };
    TuneResult result =
        tune(goal, setup.formula, setup.decimals,
             nec2cTuneEngine(setup.requestFor, scheduler, options, std::move(cancelled), failed,
                             goal == TuneGoal::Band ? setup.band : std::nullopt),
             progress);
    if (!result.failure.isEmpty() && first) {
        result.failureKind = first->failure;
        if (!first->message.isEmpty()) {
            result.failure = first->message;
        }
    } else if (!result.failure.isEmpty()) {
        result.failureKind = EngineFailure::UnsoundResult;
    }
    return result;
}

} // namespace moxon
