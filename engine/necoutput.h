#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace moxon {

// Feed-point impedance in ohms.
struct FeedPoint
{
    double resistance = 0;
    double reactance = 0;
};

// One direction of a radiation pattern: angles in degrees, total power gain in dBi.
struct PatternPoint
{
    double theta = 0;
    double phi = 0;
    double totalGain = 0;
};

// What one frequency of an NEC-2 run gives.
struct NecFrequencyResult
{
    double frequency = 0; // MHz
    FeedPoint feed;
    QList<PatternPoint> pattern;  // every pattern point computed at this frequency, in order
    QList<qsizetype> tableStarts; // where each printed pattern table begins in `pattern`
};

// Why an output could not be used.
enum class OutputFault
{
    None,
    DeckError,  // the engine reported an error in the deck
    Unreadable, // a table the reader needs is missing or holds no numbers where it must
    Truncated,  // the output stops before the engine's closing run-time line
};

struct NecOutput
{
    QList<NecFrequencyResult> frequencies;
    QString error; // not empty when the engine reported a deck error or the output is unreadable
    OutputFault fault = OutputFault::None;
};

// Reads the printed output of an NEC-2 engine: the frequency blocks, the feed point of each
// from its antenna input parameters and the radiation pattern tables. An engine reports
// errors in its output as well as in its exit status, so a "ERROR" line, a missing input
// parameter table or an output that stops before its closing run-time line makes the whole
// output an error.
[[nodiscard]] NecOutput parseNecOutput(const QString &text);

// Standing-wave ratio of a feed point on a line of `z0` ohms.
[[nodiscard]] double standingWaveRatio(const FeedPoint &feed, double z0 = 50);

// Total gain towards (theta, phi) within half a degree, if the pattern has that direction.
[[nodiscard]] std::optional<double> gainTowards(const QList<PatternPoint> &pattern, double theta,
                                                double phi);

// The pattern table `index` (in printed order) of one frequency's result.
[[nodiscard]] QList<PatternPoint> patternTable(const NecFrequencyResult &result, qsizetype index);

} // namespace moxon
