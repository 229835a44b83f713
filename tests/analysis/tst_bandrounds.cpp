#include "bandrounds.h"
#include "knownimpedance.h"
#include "testsuite.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace moxon;
using moxon::test::Known;

namespace {

const BandRange kBand{14.0, 14.35};
constexpr double kDesignMhz = 14.15;

// A stand-in engine whose antenna's impedance over 20 m moves with the width A: a larger
// antenna resonates lower. It keeps every run it was asked for, by candidate, and fails every
// run of a design as wide as `failing`.
struct StandIn
{
    std::optional<double> failing;
    QList<int> callRuns;                   // the runs of each call
    QMap<double, QList<double>> asked;     // MHz asked of each design (by its A), every run
    QMap<double, int> figuresRuns;         // of each design
    QList<qsizetype> longestImpedanceRuns; // of each call, in frequencies

    [[nodiscard]] static std::complex<double> impedance(const TuneDimensions &t, double mhz)
    {
        const Known known{{50, 0}, {40, 200}, {{13.6, 0.5}}, {{-20, 10}}, kDesignMhz};
        return known.at(mhz * t.a);
    }

    ProbeEngine engine()
    {
        return [this](const QList<DesignProbe> &probes) {
            QList<ProbeAnswer> answers;
            int runs = 0;
            qsizetype longest = 0;
            for (const DesignProbe &probe : probes) {
                runs += probe.engineRuns();
                longest = std::max(longest, probe.frequenciesMhz.size());
                ProbeAnswer answer;
                if (failing && probe.dims.a == *failing) {
                    answer.failure = EngineFailure::UnsoundResult;
                    answer.message = QStringLiteral("nec2c gave no figures");
                    answers.append(answer);
                    continue;
                }
                if (probe.figuresMhz) {
                    ++figuresRuns[probe.dims.a];
                    DesignFigures figures;
                    figures.frequencyMhz = *probe.figuresMhz;
                    const std::complex<double> z = impedance(probe.dims, *probe.figuresMhz);
                    figures.feed = {z.real(), z.imag()};
                    figures.swr = standingWaveRatio(figures.feed);
                    figures.frontToBack = 20;
                    answer.figures = figures;
                }
                for (const double mhz : probe.frequenciesMhz) {
                    const std::complex<double> z = impedance(probe.dims, mhz);
                    answer.points.append(sweepPoint(mhz, {z.real(), z.imag()}));
                    asked[probe.dims.a].append(mhz);
                }
                answers.append(answer);
            }
            callRuns.append(runs);
            longestImpedanceRuns.append(longest);
            return std::optional(answers);
        };
    }
};

// The band as a coverage fed each whole run at once reads it, and the frequencies it ran
// besides the figures run's.
BandSwr wholeBand(const TuneDimensions &t, QList<double> *ran = nullptr)
{
    BandCoverage coverage(kBand, kDesignMhz);
    const std::complex<double> design = StandIn::impedance(t, kDesignMhz);
    QList<SweepPoint> points{sweepPoint(kDesignMhz, {design.real(), design.imag()})};
    for (QList<double> next = coverage.firstFrequencies(); !next.isEmpty();
         next = coverage.add(std::exchange(points, {}))) {
        for (const double mhz : next) {
            const std::complex<double> z = StandIn::impedance(t, mhz);
            points.append(sweepPoint(mhz, {z.real(), z.imag()}));
        }
    }
    if (ran) {
        *ran = coverage.engineFrequencies();
        ran->removeOne(kDesignMhz);
    }
    return *coverage.swr();
}

enum class Worth
{
    None,
    All,
    Nothing,
    BelowBar
};

} // namespace

Q_DECLARE_METATYPE(Worth)

class TestBandRounds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keepsWhatCanMatter_data()
    {
        QTest::addColumn<Worth>("worth");
        QTest::addColumn<int>("engines");

        QTest::newRow("no bar, one engine") << Worth::None << 1;
        QTest::newRow("no bar, two engines") << Worth::None << 2;
        QTest::newRow("every candidate worth it") << Worth::All << 2;
        QTest::newRow("none worth it") << Worth::Nothing << 2;
        QTest::newRow("those whose edges stay below a bar") << Worth::BelowBar << 2;
        QTest::newRow("below a bar, four engines") << Worth::BelowBar << 4;
    }

    // Left candidates cost their edges only; kept ones are read exactly as a band run whole.
    void keepsWhatCanMatter()
    {
        QFETCH(Worth, worth);
        QFETCH(int, engines);

        const QList<double> widths{0.99, 0.995, 1.0, 1.005, 1.01};
        QList<TuneDimensions> candidates;
        for (const double a : widths) {
            candidates.append({a, 1, 1, 3});
        }
        const BandCoverage reference(kBand, kDesignMhz);
        const auto edgeBound = [&reference](const TuneDimensions &t) {
            QList<SweepPoint> edges;
            for (const double mhz : {kBand.lowerMhz, kBand.upperMhz}) {
                const std::complex<double> z = StandIn::impedance(t, mhz);
                edges.append(sweepPoint(mhz, {z.real(), z.imag()}));
            }
            return reference.leastWorstSwr(edges);
        };
        // The bar: the middle candidate's edges, so that some pass and some do not.
        const double bar = edgeBound(candidates.at(2)) + 1e-9;
        BandWorth bandWorth;
        if (worth != Worth::None) {
            bandWorth = [worth, bar](double leastWorstSwr) {
                return worth == Worth::All || (worth == Worth::BelowBar && leastWorstSwr < bar);
            };
        }

        StandIn standIn;
        const ProbeEngine engine = standIn.engine();
        BandRounds rounds(engine, kBand, kDesignMhz, engines);
        QList<ProbeAnswer> answers;
        const std::optional<int> runs = rounds.run(candidates, bandWorth, answers);
        QVERIFY(runs);
        QCOMPARE(answers.size(), candidates.size());
        int counted = 0;
        for (const int r : std::as_const(standIn.callRuns)) {
            counted += r;
        }
        QCOMPARE(*runs, counted);

        int kept = 0;
        for (qsizetype i = 0; i < candidates.size(); ++i) {
            const TuneDimensions &t = candidates.at(i);
            const bool left =
                worth == Worth::Nothing || (worth == Worth::BelowBar && edgeBound(t) >= bar);
            QVERIFY(answers.at(i).ok());
            QCOMPARE(rounds.left(i), left);
            const QList<double> asked = standIn.asked.value(t.a);
            // No frequency of a design is run twice.
            QCOMPARE(QSet<double>(asked.cbegin(), asked.cend()).size(), asked.size());
            if (left) {
                QCOMPARE(asked, (QList<double>{kBand.lowerMhz, kBand.upperMhz}));
                QCOMPARE(standIn.figuresRuns.value(t.a), 0);
                QVERIFY(!answers.at(i).figures);
                QVERIFY(!rounds.swr(i));
                continue;
            }
            ++kept;
            QCOMPARE(standIn.figuresRuns.value(t.a), 1);
            QVERIFY(answers.at(i).figures);
            const std::optional<BandSwr> swr = rounds.swr(i);
            QList<double> ran;
            const BandSwr whole = wholeBand(t, &ran);
            // The same frequencies, the design frequency's impedance from the figures run.
            QList<double> sorted = asked;
            std::sort(sorted.begin(), sorted.end());
            QCOMPARE(sorted, ran);
            QVERIFY(swr);
            QCOMPARE(swr->worst, whole.worst);
            QCOMPARE(swr->worstMhz, whole.worstMhz);
            QCOMPARE(swr->atLower, whole.atLower);
            QCOMPARE(swr->atUpper, whole.atUpper);
        }
        QVERIFY(worth == Worth::Nothing || kept > 0);
        QVERIFY(worth != Worth::BelowBar || kept < candidates.size());
    }

    // A lone candidate's band is shared out so that each engine has a part of it, and no run
    // takes more than an engine's share of the round's frequencies.
    void sharesALoneCandidate_data()
    {
        QTest::addColumn<int>("engines");
        QTest::addColumn<int>("firstRuns");    // of the first call
        QTest::addColumn<int>("longestFirst"); // frequencies of its longest impedance run

        // The figures run and five first frequencies: six, three an engine.
        QTest::newRow("one engine: figures and band") << 1 << 2 << 5;
        QTest::newRow("two engines") << 2 << 3 << 3;
        QTest::newRow("four engines") << 4 << 4 << 2;
    }
    void sharesALoneCandidate()
    {
        QFETCH(int, engines);
        QFETCH(int, firstRuns);
        QFETCH(int, longestFirst);

        StandIn standIn;
        const ProbeEngine engine = standIn.engine();
        BandRounds rounds(engine, kBand, kDesignMhz, engines);
        QList<ProbeAnswer> answers;
        const TuneDimensions formula{1, 1, 1, 3};
        QVERIFY(rounds.run({formula}, {}, answers));
        QCOMPARE(standIn.callRuns.first(), firstRuns);
        QCOMPARE(standIn.longestImpedanceRuns.first(), longestFirst);
        QCOMPARE(rounds.swr(0)->worst, wholeBand(formula).worst);
    }

    // A design the engine fails on at its edges is a failure, not a candidate left.
    void failureAtTheEdges()
    {
        StandIn standIn;
        standIn.failing = 1.005;
        const ProbeEngine engine = standIn.engine();
        BandRounds rounds(engine, kBand, kDesignMhz, 2);
        QList<ProbeAnswer> answers;
        QVERIFY(rounds.run(
            {{1, 1, 1, 3}, {1.005, 1, 1, 3}}, [](double) { return false; }, answers));
        QVERIFY(answers.at(0).ok() && rounds.left(0));
        QCOMPARE(answers.at(1).failure, EngineFailure::UnsoundResult);
        QVERIFY(!rounds.left(1));
        QVERIFY(!answers.at(1).figures);
    }
};

MOXON_TEST_GUILESS_MAIN(TestBandRounds)
#include "tst_bandrounds.moc"
