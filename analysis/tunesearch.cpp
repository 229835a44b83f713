#include "tunesearch.h"

#include "localenumbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace moxon {

namespace {

// The candidates one tuning may try: a run each for the match and the front-to-back; for the
// band goal from one run (a candidate left at its band's edges) to several, and half as many,
// the length its search had when each took two.
constexpr int kMostCandidates = 64;
constexpr int kMostBandCandidates = 32;

} // namespace

TuneSearch::TuneSearch(TuneGoal goal, const TuneDimensions &formula, int decimals,
                       const TuneEngine &engine,
                       const std::function<bool(const TuneProgress &)> &progress)
    : m_goal(goal)
    , m_formula(formula)
    , m_decimals(decimals)
    , m_engine(engine)
    , m_progress(progress)
{
}

TuneDimensions TuneSearch::at(const TuneFactors &f) const
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

QList<TuneFigures> TuneSearch::evaluate(const QList<TuneFactors> &factors,
                                        const BandWorth &couldMove)
{
    QList<TuneDimensions> candidates;
    QList<TuneDimensions> fresh;
    for (const TuneFactors &f : factors) {
        candidates.append(at(f));
        if (!known(candidates.last()) && !fresh.contains(candidates.last())) {
            fresh.append(candidates.last());
        }
    }
    if (!fresh.isEmpty()) {
        BandWorth worth;
        if (couldMove) {
            worth = [this, &couldMove](double leastWorstSwr) {
                return couldMove(leastWorstSwr) || couldBeBest(leastWorstSwr);
            };
        }
        const std::optional<TuneRound> round = m_engine(fresh, worth);
        if (!round || round->figures.size() != fresh.size()) {
            m_cancelled = true;
            return {};
        }
        m_runs += round->engineRuns;
        m_candidates += int(fresh.size());
        for (qsizetype i = 0; i < fresh.size(); ++i) {
            m_tried.append({fresh.at(i), round->figures.at(i)});
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

std::pair<TuneDimensions, TuneFigures> TuneSearch::best() const
{
    const TuneFigures formula = figuresOf(m_formula);
    std::pair<TuneDimensions, TuneFigures> best{m_formula, formula};
    double bestValue =
        qualifies(formula) ? value(formula) : -std::numeric_limits<double>::infinity();
    for (const Tried &tried : m_tried) {
        if (qualifies(tried.figures) && value(tried.figures) > bestValue) {
            best = {tried.candidate, tried.figures};
            bestValue = value(tried.figures);
        }
    }
    return best;
}

bool TuneSearch::goalMet(const TuneFigures &figures) const
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

bool TuneSearch::exhausted() const
{
    return m_cancelled ||
           m_candidates >= (m_goal == TuneGoal::Band ? kMostBandCandidates : kMostCandidates);
}

double TuneSearch::resolution(double value) const
{
    return std::pow(10.0, -m_decimals) / std::max(std::fabs(value), 1e-12);
}

bool TuneSearch::known(const TuneDimensions &candidate) const
{
    return std::any_of(m_tried.begin(), m_tried.end(),
                       [&](const Tried &tried) { return tried.candidate == candidate; });
}

TuneFigures TuneSearch::figuresOf(const TuneDimensions &candidate) const
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
bool TuneSearch::qualifies(const TuneFigures &figures) const
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

// Whether a band goal's candidate whose worst SWR over the band is at least `leastWorstSwr`
// could take the best's place: its front-to-back, not yet known, may qualify.
bool TuneSearch::couldBeBest(double leastWorstSwr) const
{
    const TuneFigures best = this->best().second;
    return !qualifies(best) || -leastWorstSwr > value(best);
}

double TuneSearch::value(const TuneFigures &figures) const
{
    switch (m_goal) {
    case TuneGoal::Match:
        return -figures->swr;
    case TuneGoal::FrontToBack:
        return figures->frontToBack;
    case TuneGoal::Band:
        return -figures->band->worst;
    }
    return -std::numeric_limits<double>::infinity();
}

} // namespace moxon
