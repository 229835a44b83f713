// The tuner's engine for real: nec2cTuneEngine(), declared in tuner.h.

#include "bandrounds.h"
#include "designprobe.h"
#include "tuner.h"

#include <utility>

namespace moxon {

TuneEngine nec2cTuneEngine(std::function<CheckRequest(const TuneDimensions &)> requestFor,
                           EngineScheduler &scheduler, CheckOptions options,
                           std::function<bool()> cancelled,
                           std::function<void(const FiguresStep &)> failed,
                           std::optional<BandRange> band)
{
    const ProbeEngine engine =
        nec2cProbeEngine(requestFor, scheduler, std::move(options), std::move(cancelled));
    return [engine, requestFor = std::move(requestFor), failed = std::move(failed), band,
            engines = scheduler.slots()](const QList<TuneDimensions> &candidates,
                                         const BandWorth &worth) -> std::optional<TuneRound> {
        if (candidates.isEmpty()) {
            return TuneRound{};
        }
        // Every candidate is checked at the design frequency, whatever its dimensions.
        const double designMhz = requestFor(candidates.first()).frequencyMhz;
        TuneRound round;
        QList<ProbeAnswer> answers;
        std::optional<BandRounds> bands;
        if (band) {
            bands.emplace(engine, *band, designMhz, engines);
            const std::optional<int> runs = bands->run(candidates, worth, answers);
            if (!runs) {
                return std::nullopt;
            }
            round.engineRuns = *runs;
        } else {
            QList<DesignProbe> probes;
            for (const TuneDimensions &candidate : candidates) {
                probes.append({candidate, designMhz, {}});
            }
            const std::optional<QList<ProbeAnswer>> got = engine(probes);
            if (!got || got->size() != probes.size()) {
                return std::nullopt;
            }
            answers = *got;
            round.engineRuns = int(probes.size());
        }
        for (qsizetype i = 0; i < answers.size(); ++i) {
            const ProbeAnswer &answer = answers.at(i);
            if (bands && bands->left(i)) {
                round.figures.append(std::nullopt); // it could not matter: not a failure
                continue;
            }
            if (!answer.ok() || !answer.figures) {
                if (failed) {
                    failed({answer.failure, answer.message, {}});
                }
                round.figures.append(std::nullopt);
                continue;
            }
            DesignFigures figures = *answer.figures;
            if (bands) {
                figures.band = bands->swr(i);
            }
            round.figures.append(figures);
        }
        return round;
    };
}

} // namespace moxon
