#pragma once

#include "analysisoutcome.h"
#include "bandcoverage.h"
#include "checkreport.h"
#include "tunegoal.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace moxon {

// The dimensions the tuner moves, in the display unit, as the model takes them; the gap C is
// what E leaves of B and D.
struct TuneDimensions
{
    double a = 0;
    double b = 0;
    double d = 0;
    double e = 0;

    [[nodiscard]] double c() const { return e - b - d; }
    [[nodiscard]] bool operator==(const TuneDimensions &) const = default;
};

// What tuning a design needs: its dimensions as shown, the display unit they are shown in
// and the design check of any candidate, in the same installation.
struct TuneSetup
{
    TuneDimensions formula;
    int decimals = 2;         // of the display unit: candidates are rounded to them
    QString unit;             // the display unit's text: "m"
    double metresPerUnit = 1; // of the display unit
    std::function<CheckRequest(const TuneDimensions &)> requestFor;
    std::optional<BandRange> band; // what the band goal covers
};

// What the engine made of one candidate: its figures, or nothing when it failed on it or gave
// figures no antenna has.
using TuneFigures = std::optional<DesignFigures>;

// What the engine made of a round of candidates: their figures in the order asked, and the
// engine runs it took (for the band goal, as many as each candidate's band needed).
struct TuneRound
{
    QList<TuneFigures> figures;
    int engineRuns = 0;
};

// Whether a candidate of the band goal could still matter to the search, from the least its
// worst SWR over the band can be (`leastWorstSwr`, known from the band's edges before anything
// else of it is run). One that cannot is answered without figures, its figures run and the
// rest of its band left unrun. Empty: every candidate is run whole.
using BandWorth = std::function<bool(double leastWorstSwr)>;

// Runs the engine on candidates side by side and answers them; none when it was cancelled.
// It blocks, and may run on a thread of its own.
using TuneEngine =
    std::function<std::optional<TuneRound>(const QList<TuneDimensions> &, const BandWorth &)>;

// How far tuning has come: engine runs so far and the best design yet.
struct TuneProgress
{
    int engineRuns = 0;
    TuneDimensions best;
    DesignFigures bestFigures;
};

// The tuning; its outcome's failure says that the engine failed on the formula design, and
// nothing was tuned. Cancelled, it holds the best design found before.
struct TuneResult : AnalysisOutcome
{
    TuneGoal goal = TuneGoal::Match;
    TuneDimensions formula;
    TuneDimensions tuned; // the formula's own when nothing better was found
    DesignFigures before; // the formula design's figures
    DesignFigures after;  // the tuned design's, from the engine's run of its deck
    bool goalMet = false;
};

// Tunes the formula design for `goal`. Candidates are rounded to `decimals` of the display
// unit, as the result boxes show them, so that the model written from the tuned dimensions is
// the one the engine ran. The candidates come in rounds evaluated side by side: for the match
// a damped Gauss-Newton search on resistance, reactance and any loss of front-to-back over the
// overall scale, the driven element's tails and the reflector's tails; for the front-to-back a
// pattern search over the scale, the gap and the reflector's tails. `progress` is told after
// each round and may stop the tuning by returning false.
[[nodiscard]] TuneResult tune(TuneGoal goal, const TuneDimensions &formula, int decimals,
                              const TuneEngine &engine,
                              const std::function<bool(const TuneProgress &)> &progress = {});

// The engine for real: each candidate's check deck (`requestFor`) in an nec2c run of its own,
// a round's runs queued together in `scheduler` (which must outlive the engine), read as the
// check reads its figures run. With a `band`, each candidate's SWR over it too, from as many
// further runs of the same deck at the band's frequencies as BandCoverage asks for, as
// BandRounds plans them: given a BandWorth, the band's edges first, the rest only for the
// candidates it keeps. It waits in an event loop of its own, in whichever thread calls it.
// `cancelled` is looked at while they run; a run that fails gives no figures. `failed` hears
// of each candidate that gave no figures, with what the engine said (not of one the BandWorth
// left).
[[nodiscard]] TuneEngine nec2cTuneEngine(
    std::function<CheckRequest(const TuneDimensions &)> requestFor, EngineScheduler &scheduler,
    CheckOptions options = {}, std::function<bool()> cancelled = {},
    std::function<void(const FiguresStep &)> failed = {}, std::optional<BandRange> band = {});

// Tunes the design of `setup` for `goal` with nec2c, as the window and the command line do:
// the candidates queued in `scheduler` under `options`. When the formula design gives no
// figures, the result says what the engine said of it: nec2c missing, the deck refused, or
// figures no antenna has.
[[nodiscard]] TuneResult
tuneWithNec2c(TuneGoal goal, const TuneSetup &setup, EngineScheduler &scheduler,
              const CheckOptions &options = {}, std::function<bool()> cancelled = {},
              const std::function<bool(const TuneProgress &)> &progress = {});

} // namespace moxon
