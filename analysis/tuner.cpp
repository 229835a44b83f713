#include "tuner.h"

#include "matchsearch.h"
#include "patternsearch.h"

#include <QElapsedTimer>

namespace moxon {

TuneResult tune(TuneGoal goal, const TuneDimensions &formula, int decimals,
                const TuneEngine &engine, const std::function<bool(const TuneProgress &)> &progress)
{
    QElapsedTimer clock;
    clock.start();
    TuneResult result;
    result.goal = goal;
    result.formula = formula;
    result.tuned = formula;

    TuneSearch search(goal, formula, decimals, engine, progress);
    const QList<TuneFigures> start = search.evaluate({TuneFactors{1, 1, 1, 1}});
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
