#pragma once

#include "bandcoverage.h"
#include "designprobe.h"
#include "tuner.h"

#include <QList>

#include <optional>

namespace moxon {

// The runs of one round of band goal candidates, each over the band and at the design frequency.
// With a BandWorth, each candidate's band edges are run first, alone: every curve the band goal
// reads holds them, so they bound its worst SWR from below, and a candidate that bound shows
// cannot matter to the search is left there, without its figures run (most neighbours a search
// tries are worse than its centre, and mostly at an edge). The others' figures runs and
// remaining first frequencies go side by side, then what their coverages ask for further, until
// every curve is trusted. Without one, each candidate's figures run and first frequencies go
// together. The design frequency's impedance comes with the figures run, for each coverage's
// hold-out. While a round has fewer runs than engines, or one run far longer than an engine's
// share, its longest run of frequencies is split, so that no engine idles while a lone
// candidate's frequencies are solved one after another.
class BandRounds
{
public:
    // `engines`: how many runs go at once.
    BandRounds(const ProbeEngine &engine, const BandRange &band, double designMhz, int engines);

    // Runs `candidates` (their answers in order, into `answers`); a candidate the engine failed
    // on in any run gets its failure. The engine runs it took; none when cancelled.
    [[nodiscard]] std::optional<int> run(const QList<TuneDimensions> &candidates,
                                         const BandWorth &worth, QList<ProbeAnswer> &answers);

    // Left at its edges by the BandWorth: neither figures nor band.
    [[nodiscard]] bool left(qsizetype candidate) const { return m_left.at(candidate); }
    // The candidate's SWR over the band; none when it was left or failed.
    [[nodiscard]] std::optional<BandSwr> swr(qsizetype candidate) const;

private:
    // What each candidate still needs: its figures run, and the next frequencies of its band.
    struct Wanted
    {
        bool figures = false;
        QList<double> frequenciesMhz;
        QList<SweepPoint> held; // the engine's points its coverage takes with them

        [[nodiscard]] bool any() const { return figures || !frequenciesMhz.isEmpty(); }
    };

    [[nodiscard]] std::optional<int> edges(const QList<TuneDimensions> &candidates,
                                           const BandWorth &worth, QList<ProbeAnswer> &answers,
                                           QList<Wanted> &wanted);
    [[nodiscard]] QList<DesignProbe> planned(const QList<TuneDimensions> &candidates,
                                             const QList<Wanted> &wanted,
                                             QList<qsizetype> &owners) const;

    const ProbeEngine &m_engine;
    BandRange m_band;
    double m_designMhz = 0;
    int m_engines = 1;
    QList<BandCoverage> m_coverages; // one a candidate
    QList<bool> m_left;              // one a candidate
};

} // namespace moxon
