// The tuner's engine for real: nec2cTuneEngine(), declared in tuner.h.

#include "enginebatch.h"
#include "tuner.h"

namespace moxon {

TuneEngine nec2cTuneEngine(std::function<CheckRequest(const TuneDimensions &)> requestFor,
                           EngineScheduler &scheduler, CheckOptions options,
                           std::function<bool()> cancelled,
                           std::function<void(const FiguresStep &)> failed,
                           std::optional<BandRange> band)
{
    return [requestFor = std::move(requestFor), &scheduler, options = std::move(options),
            cancelled = std::move(cancelled), failed = std::move(failed),
            band](const QList<TuneDimensions> &candidates) {
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
            return QList<TuneFigures>{};
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

} // namespace moxon
