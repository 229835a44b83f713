#include "sweepplan.h"

#include <QString>

#include <algorithm>

namespace moxon {

namespace {

// Numbers in a deck always carry "." whatever the locale; QString::number does not localize.
QString deckNumber(double value)
{
    return QString::number(value, 'g', 15);
}

QByteArray frequencyCard(const FrequencyRun &run)
{
    return QStringLiteral("FR 0 %1 0 0 %2 %3")
        .arg(run.count)
        .arg(deckNumber(run.startMhz), deckNumber(run.stepMhz))
        .toLatin1();
}

// The points as runs of equal steps, one frequency card each.
QList<FrequencyRun> frequencyRuns(double f0Mhz, const QList<int> &points)
{
    QList<FrequencyRun> runs;
    for (qsizetype i = 0; i < points.size();) {
        const int stride = i + 1 < points.size() ? points.at(i + 1) - points.at(i) : 1;
        qsizetype end = i + 1;
        while (end < points.size() && points.at(end) - points.at(end - 1) == stride) {
            ++end;
        }
        runs.append(
            {sweepFrequency(f0Mhz, points.at(i)), f0Mhz * kSweepStep * stride, int(end - i)});
        i = end;
    }
    return runs;
}

} // namespace

double sweepFrequency(double f0Mhz, int index)
{
    return f0Mhz * (kSweepStart + index * kSweepStep);
}

double sweepLowEdge(double f0Mhz)
{
    return sweepFrequency(f0Mhz, 0);
}

double sweepHighEdge(double f0Mhz)
{
    return sweepFrequency(f0Mhz, kSweepPoints - 1);
}

QByteArray sweepDeck(const QByteArray &deck, const QList<FrequencyRun> &runs)
{
    QList<QByteArray> cards;
    bool executed = false;
    for (const QByteArray &card : deck.split('\n')) {
        const QByteArray line = card.trimmed();
        if (line.startsWith("FR")) {
            if (!runs.isEmpty()) {
                cards.append(frequencyCard(runs.first()));
            }
        } else if (line.startsWith("RP")) {
            // The first pattern card becomes the runs' execute cards. Without the currents of
            // every segment the engine's output is a sixth as long; the print card holds for
            // the frequency cards after it.
            if (!executed) {
                cards.append("PT -1 0 0 0");
                cards.append("XQ");
                for (qsizetype i = 1; i < runs.size(); ++i) {
                    cards.append(frequencyCard(runs.at(i)));
                    cards.append("XQ");
                }
                executed = true;
            }
        } else if (!line.isEmpty()) {
            cards.append(line);
        }
    }
    return cards.join("\r\n") + "\r\n";
}

QByteArray sweepDeck(const QByteArray &deck, double startMhz, double stepMhz, int steps)
{
    return sweepDeck(deck, QList<FrequencyRun>{{startMhz, stepMhz, steps}});
}

QByteArray deckAtFrequency(const QByteArray &deck, double frequencyMhz)
{
    QList<QByteArray> cards;
    for (const QByteArray &card : deck.split('\n')) {
        const QByteArray line = card.trimmed();
        if (line.startsWith("FR")) {
            cards.append(frequencyCard({frequencyMhz, 0, 1}));
        } else if (!line.isEmpty()) {
            cards.append(line);
        }
    }
    return cards.join("\r\n") + "\r\n";
}

QByteArray withCard(const QByteArray &deck, const QByteArray &card)
{
    const qsizetype end = deck.lastIndexOf("EN");
    return end < 0 ? deck + card + "\r\n" : deck.left(end) + card + "\r\n" + deck.mid(end);
}

QByteArray azimuthDeck(const QByteArray &deck, double thetaDeg)
{
    return withCard(
        deck, QStringLiteral("RP 0 1 361 1000 %1 0 1 1").arg(deckNumber(thetaDeg)).toLatin1());
}

SweepSlice sweepSlice(const QByteArray &designDeck, double f0Mhz, const QList<int> &points)
{
    SweepSlice slice;
    slice.points = points;
    for (const int index : points) {
        slice.frequenciesMhz.append(sweepFrequency(f0Mhz, index));
    }
    slice.deck = sweepDeck(designDeck, frequencyRuns(f0Mhz, points));
    return slice;
}

SweepSlice frequencySlice(const QByteArray &designDeck, const QList<double> &frequenciesMhz)
{
    SweepSlice slice;
    QList<FrequencyRun> runs;
    for (qsizetype i = 0; i < frequenciesMhz.size(); ++i) {
        slice.points.append(int(i));
        runs.append({frequenciesMhz.at(i), 0, 1});
    }
    slice.frequenciesMhz = frequenciesMhz;
    slice.deck = sweepDeck(designDeck, runs);
    return slice;
}

QList<SweepSlice> sweepSlices(const QByteArray &designDeck, double f0Mhz, int cores,
                              double figuresRunPoints, const QList<int> &points)
{
    QList<int> indices = points;
    if (indices.isEmpty()) {
        for (int index = 0; index < kSweepPoints; ++index) {
            indices.append(index);
        }
    }
    const auto count = int(indices.size());
    const int n = std::clamp(cores, 1, count);
    // Each core's share of the work, in sweep points; the figures run's core takes that much
    // less of the sweep. Where the share is smaller than the figures run, that core runs the
    // design deck alone.
    const double share = (count + figuresRunPoints) / n;
    const bool follower = share - figuresRunPoints >= 1;
    QList<double> quotas;
    if (follower) {
        quotas.append(share - figuresRunPoints);
    }
    // The other cores start their slices beside the figures run.
    const double besideShare = follower ? share : double(count) / (n - 1);
    for (int k = 1; k < n; ++k) {
        quotas.append(besideShare);
    }

    // Points dealt out in order, each to the slice furthest below its quota (the method of
    // highest averages): the slices interleave in proportion to their quotas.
    QList<QList<int>> dealt(quotas.size());
    for (const int index : std::as_const(indices)) {
        qsizetype best = 0;
        double bestPriority = -1;
        for (qsizetype k = 0; k < quotas.size(); ++k) {
            const double priority = quotas.at(k) / (2.0 * double(dealt.at(k).size()) + 1);
            if (priority > bestPriority) {
                best = k;
                bestPriority = priority;
            }
        }
        dealt[best].append(index);
    }

    QList<SweepSlice> slices;
    for (qsizetype k = 0; k < dealt.size(); ++k) {
        if (dealt.at(k).isEmpty()) {
            continue;
        }
        SweepSlice slice = sweepSlice(designDeck, f0Mhz, dealt.at(k));
        slice.followsFiguresRun = follower && k == 0;
        slices.append(slice);
    }
    return slices;
}

} // namespace moxon
