#include "bandrounds.h"

#include <algorithm>
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

} // namespace

BandRounds::BandRounds(const ProbeEngine &engine, const BandRange &band, double designMhz,
                       int engines)
    : m_engine(engine)
    , m_band(band)
    , m_designMhz(designMhz)
    , m_engines(std::max(engines, 1))
{
}

std::optional<int> BandRounds::run(const QList<TuneDimensions> &candidates, const BandWorth &worth,
                                   QList<ProbeAnswer> &answers)
{
    answers = QList<ProbeAnswer>(candidates.size());
    m_coverages.clear();
    m_left = QList<bool>(candidates.size(), false);
    QList<Wanted> wanted(candidates.size());
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        m_coverages.append(BandCoverage(m_band, m_designMhz));
        wanted[i] = {true, m_coverages.last().firstFrequencies(), {}};
    }
    int runs = 0;
    if (worth) {
        const std::optional<int> edgeRuns = edges(candidates, worth, answers, wanted);
        if (!edgeRuns) {
            return std::nullopt;
        }
        runs += *edgeRuns;
    }
    while (std::any_of(wanted.cbegin(), wanted.cend(), [](const Wanted &w) { return w.any(); })) {
        QList<qsizetype> owners; // the candidate of each probe
        const QList<DesignProbe> probes = planned(candidates, wanted, owners);
        const std::optional<QList<ProbeAnswer>> more = m_engine(probes);
        if (!more || more->size() != probes.size()) {
            return std::nullopt;
        }
        runs += engineRuns(probes);
        for (qsizetype k = 0; k < probes.size(); ++k) {
            ProbeAnswer &answer = answers[owners.at(k)];
            const ProbeAnswer &got = more->at(k);
            if (!got.ok()) {
                if (answer.ok()) {
                    answer.failure = got.failure;
                    answer.message = got.message;
                }
            } else if (probes.at(k).figuresMhz) {
                answer.figures = got.figures;
                if (got.figures) {
                    // The figures run's impedance at the design frequency comes free.
                    wanted[owners.at(k)].held.append(sweepPoint(m_designMhz, got.figures->feed));
                }
            } else {
                wanted[owners.at(k)].held += got.points;
            }
        }
        for (qsizetype i = 0; i < wanted.size(); ++i) {
            Wanted &w = wanted[i];
            if (!w.any()) {
                continue;
            }
            const bool sound = answers.at(i).ok() && (!w.figures || answers.at(i).figures);
            w.figures = false;
            w.frequenciesMhz =
                sound ? m_coverages[i].add(std::exchange(w.held, {})) : QList<double>{};
        }
    }
    return runs;
}

std::optional<int> BandRounds::edges(const QList<TuneDimensions> &candidates,
                                     const BandWorth &worth, QList<ProbeAnswer> &answers,
                                     QList<Wanted> &wanted)
{
    QList<DesignProbe> probes;
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        const QList<double> &first = wanted.at(i).frequenciesMhz;
        probes.append({candidates.at(i), std::nullopt, {first.first(), first.last()}});
    }
    const std::optional<QList<ProbeAnswer>> got = m_engine(probes);
    if (!got || got->size() != probes.size()) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        Wanted &w = wanted[i];
        if (!got->at(i).ok()) {
            answers[i].failure = got->at(i).failure;
            answers[i].message = got->at(i).message;
            w = {};
        } else if (!worth(m_coverages.at(i).leastWorstSwr(got->at(i).points))) {
            m_left[i] = true;
            w = {};
        } else {
            w.frequenciesMhz = w.frequenciesMhz.mid(1, w.frequenciesMhz.size() - 2);
            w.held = got->at(i).points;
        }
    }
    return engineRuns(probes);
}

QList<DesignProbe> BandRounds::planned(const QList<TuneDimensions> &candidates,
                                       const QList<Wanted> &wanted, QList<qsizetype> &owners) const
{
    QList<DesignProbe> probes;
    qsizetype work = 0; // frequencies solved in the round, a figures run counting as one
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        const Wanted &w = wanted.at(i);
        if (w.figures) {
            probes.append({candidates.at(i), m_designMhz, {}});
            owners.append(i);
            ++work;
        }
        if (!w.frequenciesMhz.isEmpty()) {
            probes.append({candidates.at(i), std::nullopt, w.frequenciesMhz});
            owners.append(i);
            work += w.frequenciesMhz.size();
        }
    }
    const qsizetype share = (work + m_engines - 1) / m_engines;
    while (true) {
        const auto longest = std::max_element(
            probes.begin(), probes.end(), [](const DesignProbe &a, const DesignProbe &b) {
                return a.frequenciesMhz.size() < b.frequenciesMhz.size();
            });
        const qsizetype count = longest == probes.end() ? 0 : longest->frequenciesMhz.size();
        if (count < 2 || (probes.size() >= m_engines && count <= share)) {
            return probes;
        }
        DesignProbe rest{longest->dims, std::nullopt, longest->frequenciesMhz.mid(count / 2)};
        longest->frequenciesMhz.resize(count / 2);
        owners.append(owners.at(longest - probes.begin()));
        probes.append(std::move(rest));
    }
}

std::optional<BandSwr> BandRounds::swr(qsizetype candidate) const
{
    return m_coverages.at(candidate).swr();
}

} // namespace moxon
