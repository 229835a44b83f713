#include "designprobe.h"

#include "enginebatch.h"
#include "sweepplan.h"

#include <algorithm>
#include <cmath>

namespace moxon {

namespace {

// One engine run of a round: which probe it answers, and its deck.
struct PlannedRun
{
    qsizetype probe = 0;
    bool figures = false;
    CheckRequest request; // the figures run's, at its frequency
    SweepSlice slice;     // the impedance run's
    int cost = 0;         // frequencies the engine solves: over ground each is a new grid
};

} // namespace

ProbeEngine nec2cProbeEngine(std::function<CheckRequest(const TuneDimensions &)> requestFor,
                             EngineScheduler &scheduler, CheckOptions options,
                             std::function<bool()> cancelled)
{
    return [requestFor = std::move(requestFor), &scheduler, options = std::move(options),
            cancelled = std::move(cancelled)](
               const QList<DesignProbe> &probes) -> std::optional<QList<ProbeAnswer>> {
        QList<ProbeAnswer> answers(probes.size());
        QList<PlannedRun> runs;
        for (qsizetype i = 0; i < probes.size(); ++i) {
            const DesignProbe &probe = probes.at(i);
            const CheckRequest request = requestFor(probe.dims);
            if (!request.refusal.isEmpty()) {
                answers[i].failure = EngineFailure::Refused;
                answers[i].message = request.refusal;
                continue;
            }
            if (probe.figuresMhz) {
                PlannedRun run{i, true, request, {}, 1};
                // The deck as written keeps the frequency as the user typed it.
                if (std::fabs(*probe.figuresMhz - request.frequencyMhz) >
                    1e-12 * request.frequencyMhz) {
                    run.request.deck = deckAtFrequency(request.deck, *probe.figuresMhz);
                    run.request.frequencyMhz = *probe.figuresMhz;
                }
                runs.append(run);
            }
            if (!probe.frequenciesMhz.isEmpty()) {
                runs.append({i, false, request, frequencySlice(request.deck, probe.frequenciesMhz),
                             int(probe.frequenciesMhz.size())});
            }
        }
        // The longest runs first: the scheduler starts them in the order asked, so that the
        // short ones fill in beside them and the cores end the round together.
        std::stable_sort(runs.begin(), runs.end(),
                         [](const PlannedRun &a, const PlannedRun &b) { return a.cost > b.cost; });
        QList<QByteArray> decks;
        for (const PlannedRun &run : std::as_const(runs)) {
            decks.append(run.figures ? run.request.deck : run.slice.deck);
        }
        const std::optional<QList<EngineRun>> done =
            runEngineBatch(decks, scheduler, options, cancelled);
        if (!done) {
            return std::nullopt;
        }
        for (qsizetype k = 0; k < runs.size(); ++k) {
            const PlannedRun &run = runs.at(k);
            ProbeAnswer &answer = answers[run.probe];
            if (run.figures) {
                const FiguresStep step = readFiguresRun(done->at(k), run.request);
                if (step.failure == EngineFailure::None) {
                    answer.figures = step.figures;
                } else if (answer.ok()) {
                    answer.failure = step.failure;
                    answer.message = step.message;
                }
            } else {
                const SliceStep step = readSliceRun(done->at(k), run.slice);
                if (step.failure == EngineFailure::None) {
                    answer.points = step.points;
                } else if (answer.ok()) {
                    answer.failure = step.failure;
                    answer.message = step.message;
                }
            }
        }
        for (ProbeAnswer &answer : answers) {
            if (!answer.ok()) {
                answer.figures.reset();
                answer.points.clear();
            }
        }
        return answers;
    };
}

} // namespace moxon
