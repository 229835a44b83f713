#include "bandcoverage.h"
#include "knownimpedance.h"
#include "testsuite.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace moxon;
using moxon::test::Known;

namespace {

using Impedance = std::function<std::complex<double>(double)>;

SweepPoint pointAt(const Impedance &impedance, double mhz)
{
    const std::complex<double> z = impedance(mhz);
    return sweepPoint(mhz, {z.real(), z.imag()});
}

// What the coverage asked of a stand-in engine, as the tuner's engine feeds it: the first run
// with the design frequency's point from the figures run, then each further run.
struct Fed
{
    int runs = 0;
    QList<double> further; // MHz, every frequency asked for after the first run
    QList<SweepPoint> engine;
};

Fed feed(BandCoverage &coverage, const Impedance &impedance, double designMhz)
{
    Fed fed;
    QList<double> asked = coverage.firstFrequencies();
    QList<SweepPoint> points{pointAt(impedance, designMhz)};
    while (!asked.isEmpty() && fed.runs < 20) {
        for (const double mhz : asked) {
            points.append(pointAt(impedance, mhz));
        }
        fed.engine.append(points);
        ++fed.runs;
        asked = coverage.add(std::exchange(points, {}));
        fed.further.append(asked);
    }
    return fed;
}

double trueWorst(const Impedance &impedance, const BandRange &band)
{
    double worst = 0;
    for (int k = 0; k <= 2000; ++k) {
        const double mhz = band.lowerMhz + (band.upperMhz - band.lowerMhz) * k / 2000;
        worst = std::max(worst, pointAt(impedance, mhz).swr);
    }
    return worst;
}

} // namespace

Q_DECLARE_METATYPE(Known)

class TestBandCoverage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Stand-ins shaped as a Moxon's impedance over its bands: a resonance at the design
    // frequency, a pole pair off the band for the curvature, one beside the band's edge.
    void runsWhatTheBandNeeds_data()
    {
        QTest::addColumn<Known>("known");
        QTest::addColumn<BandRange>("band");
        QTest::addColumn<double>("designMhz");
        QTest::addColumn<int>("firstCount");
        QTest::addColumn<BandRange>("further"); // where further runs go; empty: none

        const Known twenty{{50, 0}, {40, 200}, {{13.6, 0.5}}, {{-20, 10}}, 14.15};
        QTest::newRow("20 m, the design frequency holds out")
            << twenty << BandRange{14.0, 14.35} << 14.15 << 5 << BandRange{};
        // Narrower than 0.8 %: four points and the hold-out, here the middle of their widest
        // gap.
        QTest::newRow("the design frequency beyond the band")
            << twenty << BandRange{14.0, 14.1} << 14.15 << 5 << BandRange{};
        QTest::newRow("17 m, four points and the design frequency")
            << Known{{50, 0}, {30, 160}, {{17.4, 0.6}}, {{-25, 12}}, 18.118}
            << BandRange{18.068, 18.168} << 18.118 << 4 << BandRange{};
        QTest::newRow("2 m, the design frequency a first point")
            << Known{{50, 0}, {2, 15}, {{139, 3}}, {{-40, 25}}, 146} << BandRange{144, 148} << 146.0
            << 6 << BandRange{};
        QTest::newRow("160 m, wider than 8 %")
            << Known{{50, 0}, {100, 700}, {{1.72, 0.05}}, {{-0.5, 0.3}}, 1.9} << BandRange{1.8, 2.0}
            << 1.83 << 7 << BandRange{};
        // Two narrow ones inside the band, which five points and the hold-out do not follow.
        QTest::newRow("10 m, two resonances in the band")
            << Known{{50, 0}, {5, 60}, {{28.6, 0.3}, {29.0, -0.35}}, {{3, -3}, {-3, 2.1}}, 28.5}
            << BandRange{28.0, 29.7} << 28.5 << 5 << BandRange{28.3, 29.35};
    }
    void runsWhatTheBandNeeds()
    {
        QFETCH(Known, known);
        QFETCH(BandRange, band);
        QFETCH(double, designMhz);
        QFETCH(int, firstCount);
        QFETCH(BandRange, further);

        BandCoverage coverage(band, designMhz);
        const QList<double> first = coverage.firstFrequencies();
        QCOMPARE(first.size(), firstCount);
        QCOMPARE(first.first(), band.lowerMhz);
        QCOMPARE(first.last(), band.upperMhz);
        QVERIFY(std::is_sorted(first.begin(), first.end()));

        const Impedance impedance = [&known](double mhz) {
            return known.at(mhz);
        };
        const Fed fed = feed(coverage, impedance, designMhz);
        QVERIFY(coverage.done());
        QVERIFY(coverage.converged());
        QStringList frequencies;
        for (const double mhz : fed.further) {
            frequencies.append(QString::number(mhz));
        }
        const QString asked = QStringLiteral("%1 runs, further at %2 MHz")
                                  .arg(fed.runs)
                                  .arg(frequencies.join(QStringLiteral(", ")));
        // Where the fits disagreed, and only there: a band the first run's fit follows takes
        // one run; the further runs go among the resonances.
        QCOMPARE(fed.runs > 1, further.upperMhz > 0);
        for (const double mhz : fed.further) {
            QVERIFY2(mhz > further.lowerMhz && mhz < further.upperMhz, qPrintable(asked));
        }
        // Every point fed in the band is a sample, the design frequency's once.
        QList<double> inBand;
        for (const SweepPoint &point : fed.engine) {
            if (point.frequencyMhz >= band.lowerMhz && point.frequencyMhz <= band.upperMhz &&
                !inBand.contains(point.frequencyMhz)) {
                inBand.append(point.frequencyMhz);
            }
        }
        std::sort(inBand.begin(), inBand.end());
        QCOMPARE(coverage.engineFrequencies(), inBand);

        const std::optional<BandSwr> swr = coverage.swr();
        QVERIFY(swr);
        const double worst = trueWorst(impedance, band);
        QVERIFY2(std::fabs(swr->worst - worst) <= 1e-3 * worst,
                 qPrintable(QStringLiteral("%1 against %2").arg(swr->worst).arg(worst)));
        QVERIFY(std::fabs(swr->atLower - pointAt(impedance, band.lowerMhz).swr) <= 1e-4 * worst);
        QVERIFY(std::fabs(swr->atUpper - pointAt(impedance, band.upperMhz).swr) <= 1e-4 * worst);
    }

    // The band's edges, before anything else of a band is run, bound the worst SWR its curve
    // will be read with from below, and closely: what a search leaves at its edges could never
    // have come out better.
    void edgesBoundTheWorst_data() { runsWhatTheBandNeeds_data(); }
    void edgesBoundTheWorst()
    {
        QFETCH(Known, known);
        QFETCH(BandRange, band);
        QFETCH(double, designMhz);

        const Impedance impedance = [&known](double mhz) {
            return known.at(mhz);
        };
        BandCoverage coverage(band, designMhz);
        const SweepPoint lower = pointAt(impedance, band.lowerMhz);
        const SweepPoint upper = pointAt(impedance, band.upperMhz);
        const SweepPoint inside = pointAt(impedance, (band.lowerMhz + band.upperMhz) / 2);
        const double bound = coverage.leastWorstSwr({inside, upper, lower});
        // Only the edges count: inside the band, a fit's check points need not fall on it.
        QCOMPARE(coverage.leastWorstSwr({inside}), 1.0);
        QVERIFY(coverage.leastWorstSwr({lower}) <= bound);

        feed(coverage, impedance, designMhz);
        const std::optional<BandSwr> swr = coverage.swr();
        QVERIFY(swr);
        const QString figures = QStringLiteral("bound %1, edges %2 and %3, worst %4")
                                    .arg(bound)
                                    .arg(lower.swr)
                                    .arg(upper.swr)
                                    .arg(swr->worst);
        QVERIFY2(bound <= swr->worst, qPrintable(figures));
        QVERIFY2(bound <= std::max(lower.swr, upper.swr), qPrintable(figures));
        // Within half a percent: what 0.05 ohm can take off an SWR, up to about 8.
        QVERIFY2(bound >= 0.995 * std::max(lower.swr, upper.swr), qPrintable(figures));
    }

    // Engine points scattered about every smooth curve by more than the agreement: the curve
    // runs the most frequencies it may and is then the engine's points, never a fit.
    void scatterEndsOnTheEnginesPoints()
    {
        const BandRange band{14.0, 14.35};
        const Known smooth{{50, 0}, {40, 200}, {{13.6, 0.5}}, {{-20, 10}}, 14.15};
        const Impedance scattered = [&smooth](double mhz) {
            const auto step = unsigned(std::lround(mhz * 1e4));
            return smooth.at(mhz) + std::complex<double>(step % 2 ? 0.3 : -0.3, 0);
        };
        BandCoverage coverage(band, 14.15);
        const Fed fed = feed(coverage, scattered, 14.15);
        QVERIFY(coverage.done());
        QVERIFY(!coverage.converged());
        QCOMPARE(coverage.engineFrequencies().size(), BandCoverage::kMostEnginePoints);

        double worst = 0;
        for (const SweepPoint &point : fed.engine) {
            worst = std::max(worst, point.swr);
        }
        const std::optional<BandSwr> swr = coverage.swr();
        QVERIFY(swr);
        QCOMPARE(swr->worst, worst);
        QVERIFY(coverage.engineFrequencies().contains(swr->worstMhz));
        QCOMPARE(swr->atLower, pointAt(scattered, band.lowerMhz).swr);
        QCOMPARE(swr->atUpper, pointAt(scattered, band.upperMhz).swr);
        const double bound = coverage.leastWorstSwr(
            {pointAt(scattered, band.lowerMhz), pointAt(scattered, band.upperMhz)});
        QVERIFY2(bound > 1 && bound <= swr->worst, qPrintable(QString::number(bound)));
    }
};

MOXON_TEST_GUILESS_MAIN(TestBandCoverage)
#include "tst_bandcoverage.moc"
