#pragma once

#include "tuner.h"

#include <QList>

#include <array>
#include <functional>
#include <utility>

namespace moxon {

// Factors on the formula's dimensions: the overall scale, then the driven element's tails B,
// the gap C and the reflector's tails D, each on top of the scale.
using TuneFactors = std::array<double, 4>;
inline constexpr std::size_t kScale = 0;
inline constexpr std::size_t kDrivenTails = 1;
inline constexpr std::size_t kGap = 2;
inline constexpr std::size_t kReflectorTails = 3;

// Scaling moves resonance and the front-to-back peak together in frequency; the tails and the
// gap move them against each other. The match needs the scale and both tails (reactance with
// the driven tails, resistance with the reflector's), the front-to-back the scale, the gap and
// the reflector's tails (the driven tails barely touch it). The band goal moves the match's.
inline constexpr std::array kMatchFactors = {kScale, kDrivenTails, kReflectorTails};
inline constexpr std::array kFrontToBackFactors = {kScale, kGap, kReflectorTails};
// A value, a step or a limit for each of the three factors a search moves.
using FactorSteps = std::array<double, 3>;

// One tuning: every candidate tried with its figures, the engine runs, the best so far.
class TuneSearch
{
public:
    TuneSearch(TuneGoal goal, const TuneDimensions &formula, int decimals, const TuneEngine &engine,
               const std::function<bool(const TuneProgress &)> &progress);

    // The candidate at `factors`, rounded to the display's decimals.
    [[nodiscard]] TuneDimensions at(const TuneFactors &factors) const;
    // The figures of each candidate; a candidate tried before is not run again. Empty when the
    // tuning was cancelled. For the band goal, a candidate is run whole only where `couldMove`
    // says it could move the caller's search, or it could be the best yet; one that could do
    // neither comes back without figures, as one the goal cannot take, and is never better
    // later, as the bars only rise. Without `couldMove`, every candidate is run whole.
    QList<TuneFigures> evaluate(const QList<TuneFactors> &factors, const BandWorth &couldMove = {});
    // The candidate the goal prefers among all tried, with its figures; the formula's when none
    // qualifies.
    [[nodiscard]] std::pair<TuneDimensions, TuneFigures> best() const;
    [[nodiscard]] bool goalMet(const TuneFigures &figures) const;

    [[nodiscard]] int runs() const { return m_runs; }
    [[nodiscard]] bool cancelled() const { return m_cancelled; }
    // Cancelled, or the candidates it may try spent.
    [[nodiscard]] bool exhausted() const;
    // The smallest factor step that still moves dimension `value` past the display's rounding.
    [[nodiscard]] double resolution(double value) const;
    [[nodiscard]] const TuneDimensions &formula() const { return m_formula; }

private:
    struct Tried
    {
        TuneDimensions candidate;
        TuneFigures figures;
    };

    [[nodiscard]] bool known(const TuneDimensions &candidate) const;
    [[nodiscard]] TuneFigures figuresOf(const TuneDimensions &candidate) const;
    [[nodiscard]] bool qualifies(const TuneFigures &figures) const;
    [[nodiscard]] bool couldBeBest(double leastWorstSwr) const;
    [[nodiscard]] double value(const TuneFigures &figures) const;

    TuneGoal m_goal;
    TuneDimensions m_formula;
    int m_decimals;
    const TuneEngine &m_engine;
    const std::function<bool(const TuneProgress &)> &m_progress;
    QList<Tried> m_tried;
    int m_runs = 0;
    int m_candidates = 0; // tried so far, each once
    bool m_cancelled = false;
};

} // namespace moxon
