#pragma once

#include <QByteArray>
#include <QList>

namespace moxon {

// The SWR sweep of a design check: kSweepPoints frequencies from 5 % below to 5 % above the
// design frequency f0, point i at f0 * (kSweepStart + i * kSweepStep).
inline constexpr int kSweepPoints = 41;
inline constexpr double kSweepStart = 0.95;
inline constexpr double kSweepStep = 0.0025;
// Runs near a dip lie this share of it either side, half a step of the sweep: about as far as
// a difference step of the tuning moves the dip on any band, so that a changed design's
// correction interpolates.
inline constexpr double kSampleShare = kSweepStep / 2;
// Two frequencies this close, relative, are one: one sample a frequency.
inline constexpr double kSameFrequency = 1e-9;
inline constexpr int kDesignPoint = 20; // the sweep point at the design frequency

// What the figures run, with its two pattern cuts, costs its core in the check's own runs, in
// sweep points, as bench_check measures it: the slice after it then ends with the one beside it.
inline constexpr double kFiguresRunPoints = 5.5;
// Over ground the figures run (the elevation cut) and the run at the take-off angle (both
// cuts) go before the slice that follows them. Each sweep point there costs the engine a new
// ground, so the two runs cost fewer sweep points over Sommerfeld-Norton ground than over
// perfect ground, where a point is cheap (bare nec2c runs of the two decks against the sweep).
inline constexpr double kRealGroundRunPoints = 3.3;
inline constexpr double kPerfectGroundRunPoints = 9;

// Frequencies from `startMhz` in steps of `stepMhz`: one frequency card of the engine.
struct FrequencyRun
{
    double startMhz = 0;
    double stepMhz = 0;
    int count = 0;
};

// The deck with its frequency card replaced by the frequencies of `runs`, and its pattern
// cards by execute cards that print no currents: impedances only.
[[nodiscard]] QByteArray sweepDeck(const QByteArray &deck, const QList<FrequencyRun> &runs);
[[nodiscard]] QByteArray sweepDeck(const QByteArray &deck, double startMhz, double stepMhz,
                                   int steps);
// The deck with its frequency card set to the one frequency `frequencyMhz`, its pattern cards
// kept: the figures run of the same design at another frequency.
[[nodiscard]] QByteArray deckAtFrequency(const QByteArray &deck, double frequencyMhz);
// The deck with one more card, `card`, before its end.
[[nodiscard]] QByteArray withCard(const QByteArray &deck, const QByteArray &card);
// The deck with one more pattern card before its end: the azimuth cut at `thetaDeg` from the
// zenith, phi 0 to 360 in steps of a degree.
[[nodiscard]] QByteArray azimuthDeck(const QByteArray &deck, double thetaDeg);

// One engine run of the sweep.
struct SweepSlice
{
    QList<int> points;            // indices into the sweep, ascending
    QList<double> frequenciesMhz; // of each point, as asked for
    // Started when the figures run has finished, on the core that run frees; the other
    // slices start beside the figures run.
    bool followsFiguresRun = false;
    QByteArray deck; // the figures run with one frequency card per run of points, no patterns
};

// One engine run of the design deck at each of `frequenciesMhz`, impedances only: the slice's
// points are numbered as the frequencies.
[[nodiscard]] SweepSlice frequencySlice(const QByteArray &designDeck,
                                        const QList<double> &frequenciesMhz);

// Frequency of sweep point `index` around `f0Mhz`, in MHz.
[[nodiscard]] double sweepFrequency(double f0Mhz, int index);
// The sweep's first and last frequency around `f0Mhz`, in MHz: 5 % below and above it.
[[nodiscard]] double sweepLowEdge(double f0Mhz);
[[nodiscard]] double sweepHighEdge(double f0Mhz);

// One engine run of the given points of the sweep around `f0Mhz`.
[[nodiscard]] SweepSlice sweepSlice(const QByteArray &designDeck, double f0Mhz,
                                    const QList<int> &points);

// The sweep dealt out to `cores` engines at once, the scheduler's slots (at least one, at most
// one slice per point), so that every core finishes at about the same time: the figures run and
// cores − 1 slices start together, and one slice, shorter by the figures runs' cost in sweep points
// (`figuresRunPoints`), follows the figures run.
// The points interleave, each slice spanning the whole band, so that whichever slice arrives
// first already draws the curve across the band, coarsely; the others fill it in.
// `points` are the sweep's indices to deal out, all of them when empty.
[[nodiscard]] QList<SweepSlice> sweepSlices(const QByteArray &designDeck, double f0Mhz, int cores,
                                            double figuresRunPoints = kFiguresRunPoints,
                                            const QList<int> &points = {});

} // namespace moxon
