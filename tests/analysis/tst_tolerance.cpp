#include "standinantenna.h"
#include "testsuite.h"
#include "tolerance.h"

#include <QTest>

#include <cmath>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

// The first change of `dimension` along `sign` where the stand-in leaves a limit, by a scan
// and bisection on the stand-in itself, and which limit; the search's end when none.
std::pair<double, ToleranceLimit> trueTolerance(const StandInAntenna &antenna,
                                                CutDimension dimension, double sign, double f0,
                                                double end)
{
    const TuneDimensions &dims = antenna.reference;
    const double floor = antenna.frontToBack(dims, f0) - kToleranceFrontToBackDrop;
    const auto past = [&](double t) {
        const TuneDimensions changed = withCut(dims, dimension, sign * t);
        return antenna.swr(changed, f0) > kToleranceSwr || antenna.frontToBack(changed, f0) < floor;
    };
    for (int i = 1; i <= 4000; ++i) {
        double b = end * i / 4000;
        if (!past(b)) {
            continue;
        }
        double a = end * (i - 1) / 4000;
        while (b - a > 1e-9) {
            const double m = (a + b) / 2;
            (past(m) ? b : a) = m;
        }
        const TuneDimensions changed = withCut(dims, dimension, sign * b);
        return {a, antenna.swr(changed, f0) > kToleranceSwr ? ToleranceLimit::Swr
                                                            : ToleranceLimit::FrontToBack};
    }
    return {end, ToleranceLimit::SearchEnd};
}

} // namespace

class TestTolerance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sensitivitiesAndTolerances_data();
    void sensitivitiesAndTolerances();
    void yieldOfBuilds();
    void noResult_data();
    void noResult();
};

void TestTolerance::sensitivitiesAndTolerances_data()
{
    QTest::addColumn<double>("dipMhz"); // the stand-in's dip, against a design frequency of 14.15
    QTest::newRow("dip below the design frequency") << 14.07;
    QTest::newRow("dip on the design frequency") << 14.15;
    QTest::newRow("dip above the design frequency") << 14.21;
}

void TestTolerance::sensitivitiesAndTolerances()
{
    QFETCH(double, dipMhz);

    StandInAntenna antenna;
    antenna.referenceDipMhz = dipMhz;
    const double f0 = 14.15;
    const ToleranceResult result =
        tolerances(standInSetup(antenna.reference, f0), 0.015, antenna.engine());
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(result.engineRuns, antenna.engineRuns);
    QVERIFY2(result.engineRuns <= 60, qPrintable(QString::number(result.engineRuns)));
    QVERIFY(std::fabs(result.dipMhz - dipMhz) < 1e-5 * dipMhz);
    QCOMPARE(result.step, 0.01);
    QCOMPARE(result.stepUnit, u"cm"_s);

    // The dip's move per centimetre, E following: A, B and D lengthen the weighted length by
    // their weight, C by its (negative) one.
    const std::array<double, 4> weights = {0.45, 0.45, -0.14, 0.55};
    for (std::size_t i = 0; i < 4; ++i) {
        const DimensionTolerance &cut = result.cuts[i];
        const double expected = antenna.dipSlope(weights[i]) * 1000 * 0.01;
        const QString row = u"%1: %2 kHz/cm, expected %3"_s.arg(QChar(u'A' + int(i)))
                                .arg(cut.dipKhzPerStep)
                                .arg(expected);
        QVERIFY2(std::fabs(cut.dipKhzPerStep - expected) < 0.01 * std::fabs(expected),
                 qPrintable(row));

        // Each tolerance where the stand-in itself leaves a limit, to the search's accuracy.
        const std::array<double, 4> lengths = {antenna.reference.a, antenna.reference.b,
                                               antenna.reference.c(), antenna.reference.d};
        for (const double sign : {-1.0, 1.0}) {
            const double end = sign < 0 ? std::min(0.05 * antenna.reference.a, 0.9 * lengths[i])
                                        : 0.05 * antenna.reference.a;
            const auto [tolerance, limit] = trueTolerance(antenna, cut.dimension, sign, f0, end);
            const std::optional<double> found = sign < 0 ? cut.minus : cut.plus;
            const ToleranceLimit foundLimit = sign < 0 ? cut.minusLimit : cut.plusLimit;
            const QString way = u"%1 %2: %3 (%4), expected %5 (%6)"_s.arg(row)
                                    .arg(sign < 0 ? u"shorter"_s : u"longer"_s)
                                    .arg(found.value_or(-1))
                                    .arg(int(foundLimit))
                                    .arg(tolerance)
                                    .arg(int(limit));
            QVERIFY2(found && std::fabs(*found - tolerance) <= 0.05 * tolerance + 1e-4,
                     qPrintable(way));
            QVERIFY2(foundLimit == limit, qPrintable(way));
        }
    }
}

void TestTolerance::yieldOfBuilds()
{
    StandInAntenna antenna;
    const TuneSetup setup = standInSetup(antenna.reference);
    const auto yieldFor = [&](double cutError) {
        return tolerances(setup, cutError, antenna.engine());
    };
    const ToleranceResult exact = yieldFor(0);
    const ToleranceResult small = yieldFor(0.01);
    const ToleranceResult again = yieldFor(0.01);
    // Twice the tightest tolerance: many builds pass it.
    double tightest = 1;
    for (const DimensionTolerance &cut : small.cuts) {
        tightest = std::min({tightest, cut.minus.value_or(1), cut.plus.value_or(1)});
    }
    const double largeError = 2 * tightest;
    const ToleranceResult large = yieldFor(largeError);
    QCOMPARE(exact.yield, 1.0);
    QCOMPARE(exact.dipSpreadKhz, 0.0);
    // The same seed: the same builds every time.
    QCOMPARE(small.yield, again.yield);
    QCOMPARE(small.builds, kToleranceBuilds);
    QVERIFY2(
        small.yield > large.yield && large.yield > 0 && large.yield < 1,
        qPrintable(u"%1 at 1 cm, %2 at %3 m"_s.arg(small.yield).arg(large.yield).arg(largeError)));
    // The dip's spread: each cut uniform over +-t adds (slope t)^2 / 3 to its variance.
    double variance = 0;
    for (const double weight : {0.45, 0.45, -0.14, 0.55}) {
        variance += std::pow(antenna.dipSlope(weight) * largeError, 2) / 3;
    }
    const double expected = std::sqrt(variance) * 1000;
    QVERIFY2(std::fabs(large.dipSpreadKhz - expected) < 0.03 * expected,
             qPrintable(u"%1 kHz, expected %2"_s.arg(large.dipSpreadKhz).arg(expected)));
}

void TestTolerance::noResult_data()
{
    QTest::addColumn<double>("dipMhz");
    QTest::addColumn<bool>("failOnLongerD");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<AnalysisFault>("fault");

    QTest::newRow("dip beyond the sweep") << 15.2 << false << false << AnalysisFault::NoDip;
    QTest::newRow("the engine fails on a change")
        << 14.07 << true << false << AnalysisFault::Engine;
    QTest::newRow("cancelled") << 14.07 << false << true << AnalysisFault::None;
}

void TestTolerance::noResult()
{
    QFETCH(double, dipMhz);
    QFETCH(bool, failOnLongerD);
    QFETCH(bool, cancel);
    QFETCH(AnalysisFault, fault);

    StandInAntenna antenna;
    antenna.referenceDipMhz = dipMhz;
    if (failOnLongerD) {
        antenna.failing = [&antenna](const TuneDimensions &dims) {
            return dims.d > antenna.reference.d;
        };
    }
    int rounds = 0;
    const ToleranceResult result =
        tolerances(standInSetup(antenna.reference), 0.015, antenna.engine(),
                   [&](const AnalysisProgress &progress) {
                       ++rounds;
                       return !cancel && progress.engineRuns > 0;
                   });
    QCOMPARE(result.cancelled, cancel);
    QCOMPARE(result.fault, fault);
    QCOMPARE(result.message.isEmpty(), fault == AnalysisFault::None);
    QVERIFY(!result.ok());
    if (cancel) {
        QCOMPARE(rounds, 1); // stopped after the first round
    }
    if (fault == AnalysisFault::Engine) {
        QCOMPARE(result.failure, EngineFailure::DeckError);
        QVERIFY(result.message.contains(u"stand-in"_s));
    }
}

MOXON_TEST_GUILESS_MAIN(TestTolerance)
#include "tst_tolerance.moc"
