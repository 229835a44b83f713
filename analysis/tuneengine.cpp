// The tuner's engine for real: nec2cTuneEngine(), declared in tuner.h.

#include "designprobe.h"
#include "tuner.h"

#include <utility>

namespace moxon {

namespace {

int engineRuns(const QList<DesignProbe> &probes)
{
    int runs = 0;
    for (const DesignProbe &probe : probes) {
        runs += probe.engineRuns();
    }
    return runs;
}

// One round's band runs: each candidate's first run went with its figures run; the further
// runs go side by side, one a candidate whose curve is not yet trusted, until every curve is.
class BandRounds
{
public:
    BandRounds(const ProbeEngine &engine, const BandRange &band, double designMhz)
        : m_engine(engine)
        , m_band(band)
        , m_designMhz(designMhz)
    {
    }

    // The first run's frequencies of a new candidate's band.
    QList<double> start()
    {
        m_coverages.append(BandCoverage(m_band, m_designMhz));
        return m_coverages.last().firstFrequencies();
    }

    // Takes the first round's answers (one a candidate, in order) and runs what their bands
    // need further; a candidate the engine failed on in a further run gets its failure. The
    // engine runs it took; none when cancelled.
    std::optional<int> finish(const QList<DesignProbe> &first, QList<ProbeAnswer> &answers)
    {
        QList<DesignProbe> further;
        QList<qsizetype> owners; // the candidate of each further run
        const auto take = [&](qsizetype i, const QList<SweepPoint> &points) {
            const QList<double> next = m_coverages[i].add(points);
            if (!next.isEmpty()) {
                further.append({first.at(i).dims, std::nullopt, next});
                owners.append(i);
            }
        };
        for (qsizetype i = 0; i < answers.size(); ++i) {
            if (answers.at(i).ok() && answers.at(i).figures) {
                // The figures run's impedance at the design frequency comes free.
                take(i, answers.at(i).points +
                            QList{sweepPoint(m_designMhz, answers.at(i).figures->feed)});
            }
        }
        int runs = 0;
        while (!further.isEmpty()) {
            const std::optional<QList<ProbeAnswer>> more = m_engine(further);
            if (!more || more->size() != further.size()) {
                return std::nullopt;
            }
            runs += engineRuns(further);
            const QList<qsizetype> asked = std::exchange(owners, {});
            further.clear();
            for (qsizetype k = 0; k < asked.size(); ++k) {
                if (more->at(k).ok()) {
                    take(asked.at(k), more->at(k).points);
                } else {
                    answers[asked.at(k)].failure = more->at(k).failure;
                    answers[asked.at(k)].message = more->at(k).message;
                }
            }
        }
        return runs;
    }

    [[nodiscard]] std::optional<BandSwr> swr(qsizetype candidate) const
    {
        return m_coverages.at(candidate).swr();
    }

private:
    const ProbeEngine &m_engine;
    BandRange m_band;
    double m_designMhz = 0;
    QList<BandCoverage> m_coverages; // one a candidate
};

} // namespace

TuneEngine nec2cTuneEngine(std::function<CheckRequest(const TuneDimensions &)> requestFor,
                           EngineScheduler &scheduler, CheckOptions options,
                           std::function<bool()> cancelled,
                           std::function<void(const FiguresStep &)> failed,
                           std::optional<BandRange> band)
{
    const ProbeEngine engine =
        nec2cProbeEngine(requestFor, scheduler, std::move(options), std::move(cancelled));
    return [engine, requestFor = std::move(requestFor), failed = std::move(failed),
            band](const QList<TuneDimensions> &candidates) -> std::optional<TuneRound> {
        if (candidates.isEmpty()) {
            return TuneRound{};
        }
        // Every candidate is checked at the design frequency, whatever its dimensions.
        const double designMhz = requestFor(candidates.first()).frequencyMhz;
        std::optional<BandRounds> bands;
        if (band) {
            bands.emplace(engine, *band, designMhz);
        }
        QList<DesignProbe> probes;
        for (const TuneDimensions &candidate : candidates) {
            probes.append({candidate, designMhz, bands ? bands->start() : QList<double>{}});
        }
        std::optional<QList<ProbeAnswer>> answers = engine(probes);
        if (!answers || answers->size() != probes.size()) {
            return std::nullopt;
        }
        TuneRound round{{}, engineRuns(probes)};
        if (bands) {
            const std::optional<int> further = bands->finish(probes, *answers);
            if (!further) {
                return std::nullopt;
            }
            round.engineRuns += *further;
        }
        for (qsizetype i = 0; i < answers->size(); ++i) {
            const ProbeAnswer &answer = answers->at(i);
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
