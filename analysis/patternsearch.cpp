#include "patternsearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace moxon {

namespace {

constexpr double kCleanFrontToBack = 50; // dB: beyond it the back is no longer worth chasing
constexpr double kLeastGain = 0.01;      // of score: a neighbour must beat the centre by it

using Score = std::function<double(const TuneFigures &)>;
// The most a band goal's candidate can score, from the least its worst SWR over the band can
// be.
using ScoreBound = std::function<double(double leastWorstSwr)>;

// A pattern search from the formula design: each round tries each factor a step either way,
// moves to the best neighbour that scores higher (and strides longer that way), or else halves
// every step; it ends when every step is finer than the display's rounding, or when `enough`
// says the current design needs no more. With a `bound`, a neighbour that cannot score enough
// to be moved to is left unfinished: the move and the halving come out as with its score.
void patternSearch(TuneSearch &search, const TuneFigures &formula,
                   const std::array<std::size_t, 3> &factors, FactorSteps steps,
                   const FactorSteps &smallest, const Score &score,
                   const std::function<bool(const TuneFigures &)> &enough,
                   const ScoreBound &bound = {})
{
    TuneFactors current{1, 1, 1, 1};
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
        QList<TuneFactors> neighbours;
        for (std::size_t i = 0; i < 3; ++i) {
            for (const double sign : {1.0, -1.0}) {
                TuneFactors next = current;
                next[factors[i]] += sign * steps[i];
                neighbours.append(next);
            }
        }
        BandWorth couldMove;
        if (bound) {
            couldMove = [&](double leastWorstSwr) {
                return bound(leastWorstSwr) > currentScore + kLeastGain;
            };
        }
        const QList<TuneFigures> figures = search.evaluate(neighbours, couldMove);
        if (figures.isEmpty()) {
            return;
        }
        qsizetype pick = 0;
        for (qsizetype i = 1; i < figures.size(); ++i) {
            if (score(figures.at(i)) > score(figures.at(pick))) {
                pick = i;
            }
        }
        if (score(figures.at(pick)) > currentScore + kLeastGain) {
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

} // namespace

void searchFrontToBack(TuneSearch &search, const DesignFigures &formula)
{
    const TuneDimensions &f = search.formula();
    // Front-to-back, less a heavy penalty for every step of SWR past 1.5.
    const auto score = [](const TuneFigures &figures) {
        return figures ? figures->frontToBack - 20 * std::max(0.0, figures->swr - kFrontToBackSwr)
                       : -std::numeric_limits<double>::infinity();
    };
    const FactorSteps smallest = {std::max(0.001, search.resolution(f.a)),
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
void searchBand(TuneSearch &search, const DesignFigures &formula)
{
    const TuneDimensions &f = search.formula();
    const double floor = formula.frontToBack - kBandFrontToBackDrop;
    const auto score = [floor](const TuneFigures &figures) {
        return figures && figures->band
                   ? -figures->band->worst - 0.5 * std::max(0.0, floor - figures->frontToBack)
                   : -std::numeric_limits<double>::infinity();
    };
    const FactorSteps smallest = {std::max(0.001, search.resolution(f.a)),
                                  std::max(0.005, search.resolution(f.b)),
                                  std::max(0.005, search.resolution(f.d))};
    // The penalty is never negative: a candidate scores at most its worst SWR's negative.
    patternSearch(
        search, formula, kMatchFactors, {0.01, 0.04, 0.04}, smallest, score,
        [](const TuneFigures &) { return false; },
        [](double leastWorstSwr) { return -leastWorstSwr; });
}

} // namespace moxon
