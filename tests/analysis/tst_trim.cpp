#include "standinantenna.h"
#include "testsuite.h"
#include "trim.h"
#include "trimline.h"

#include <QTest>

#include <cmath>
#include <complex>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

class TestTrim : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bringsTheDipOntoTheTarget_data();
    void bringsTheDipOntoTheTarget();
    void noResult_data();
    void noResult();
    void dipAloneHoldsEitherWay_data();
    void dipAloneHoldsEitherWay();
    void bestShareAtTheNull_data();
    void bestShareAtTheNull();
    void leastBehindOnThePlane_data();
    void leastBehindOnThePlane();
};

void TestTrim::bringsTheDipOntoTheTarget_data()
{
    // The antenna as it really is: the formula's dimensions times a scale, with its driven
    // element's tails off besides; the builder believes it is the formula's.
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("drivenTailError"); // metres
    QTest::addColumn<double>("targetMhz");
    QTest::addColumn<bool>("fieldTrim"); // whether the tails can do it

    QTest::newRow("1 % long") << 1.01 << 0.0 << 14.15 << true;
    QTest::newRow("1 % short") << 0.99 << 0.0 << 14.15 << true;
    QTest::newRow("1 % long, to a lower target") << 1.01 << 0.0 << 14.05 << true;
    QTest::newRow("driven tails 3 cm long") << 1.0 << 0.03 << 14.15 << true;
    QTest::newRow("driven tails 4 cm short, 0.5 % long") << 1.005 << -0.04 << 14.15 << true;
    // Scaled so that it dips on the target already.
    QTest::newRow("on the target") << 14.07 / 14.15 << 0.0 << 14.15 << true;
    // Tails long enough to reach would close the gap: only a rebuild.
    QTest::newRow("3 % short") << 0.97 << 0.0 << 14.15 << false;
}

void TestTrim::bringsTheDipOntoTheTarget()
{
    QFETCH(double, scale);
    QFETCH(double, drivenTailError);
    QFETCH(double, targetMhz);
    QFETCH(bool, fieldTrim);

    StandInAntenna antenna;
    const TuneDimensions &formula = antenna.reference;
    const double f0 = 14.15;
    const TuneDimensions real = scaledBy(withTails(formula, drivenTailError, 0), scale);
    const double measured = antenna.dipMhz(real);
    int rounds = 0;
    const TrimResult result = trim(standInSetup(formula, f0), measured, targetMhz, antenna.engine(),
                                   [&rounds](const AnalysisProgress &progress) {
                                       ++rounds;
                                       return progress.round == rounds;
                                   });
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(result.engineRuns, antenna.engineRuns);
    QVERIFY2(result.engineRuns <= 24, qPrintable(QString::number(result.engineRuns)));
    QCOMPARE(result.measuredDipMhz, measured);
    QVERIFY(std::fabs(result.modelDipMhz - antenna.dipMhz(formula)) < 1e-5 * f0);
    if (drivenTailError == 0) {
        // The model times the scale found dips where the antenna was measured to.
        QVERIFY2(std::fabs(result.scale - scale) < 1e-4,
                 qPrintable(u"scale %1, expected %2"_s.arg(result.scale).arg(scale)));
    }

    // Rebuilt as measured over target, an antenna the same scale too long dips on the target.
    if (drivenTailError == 0) {
        const TuneDimensions rebuilt = scaledBy(result.rebuild.dimensions, scale);
        QVERIFY2(std::fabs(antenna.dipMhz(rebuilt) / targetMhz - 1) < 0.0025,
                 qPrintable(u"rebuild dips at %1 MHz"_s.arg(antenna.dipMhz(rebuilt))));
    }
    QCOMPARE(result.fieldTrim.has_value(), fieldTrim);
    QCOMPARE(result.fieldTrimRefusal.isEmpty(), fieldTrim);
    if (!fieldTrim) {
        return;
    }

    // The builder cuts the antenna itself: where does it dip now, and its front-to-back?
    const FieldTrim &field = *result.fieldTrim;
    const TuneDimensions cut = withTails(real, field.drivenTailChange, field.reflectorTailChange);
    const double designFrontToBack = antenna.frontToBack(formula, f0);
    const QString figures =
        u"cuts %1 and %2 m: dip %3 MHz (predicted %4), F/B %5 dB (design's %6)"_s
            .arg(field.drivenTailChange)
            .arg(field.reflectorTailChange)
            .arg(antenna.dipMhz(cut))
            .arg(field.antenna.predictedDipMhz)
            .arg(antenna.frontToBack(cut, targetMhz))
            .arg(designFrontToBack);
    QVERIFY2(std::fabs(antenna.dipMhz(cut) / targetMhz - 1) < 0.0025, qPrintable(figures));
    QVERIFY2(std::fabs(field.antenna.predictedDipMhz / targetMhz - 1) < 2 * kTrimDipAgreement,
             qPrintable(figures));
    QVERIFY2(antenna.frontToBack(cut, targetMhz) > designFrontToBack - 3, qPrintable(figures));
    // The trimmed dimensions are the built ones with the cuts: A and E kept, C the rest.
    const TuneDimensions &trimmed = field.antenna.dimensions;
    QCOMPARE(trimmed.a, formula.a);
    QCOMPARE(trimmed.e, formula.e);
    QVERIFY(std::fabs(trimmed.b - formula.b - field.drivenTailChange) < 1e-9);
    QVERIFY(std::fabs(trimmed.d - formula.d - field.reflectorTailChange) < 1e-9);
    if (std::fabs(measured / targetMhz - 1) < kTrimDipAgreement) {
        QVERIFY2(std::fabs(field.drivenTailChange) < 2e-4 &&
                     std::fabs(field.reflectorTailChange) < 2e-4,
                 qPrintable(figures));
    }
    // The predicted curve dips where the prediction says, over +-5 % of the target.
    const QList<SweepPoint> &curve = field.antenna.curve;
    QVERIFY(!curve.isEmpty());
    QVERIFY(std::fabs(curve.first().frequencyMhz / targetMhz - 0.95) < 1e-9);
    QVERIFY(std::fabs(curve.last().frequencyMhz / targetMhz - 1.05) < 1e-9);
    const auto lowest = std::min_element(
        curve.cbegin(), curve.cend(), [](const auto &x, const auto &y) { return x.swr < y.swr; });
    QVERIFY(std::fabs(lowest->frequencyMhz - field.antenna.predictedDipMhz) < 0.0026 * targetMhz);
}

void TestTrim::noResult_data()
{
    QTest::addColumn<double>("measuredMhz");
    QTest::addColumn<double>("modelDipMhz");
    QTest::addColumn<bool>("failScaled");
    QTest::addColumn<AnalysisFault>("fault");

    QTest::newRow("measured 15 % off") << 12.0 << 14.07 << false << AnalysisFault::DipOutOfReach;
    QTest::newRow("model without a dip in range") << 14.0 << 15.2 << false << AnalysisFault::NoDip;
    QTest::newRow("the engine fails on the scaled model")
        << 13.93 << 14.07 << true << AnalysisFault::Engine;
    QTest::newRow("no frequency") << 0.0 << 14.07 << false << AnalysisFault::BadInput;
    QTest::newRow("target 10.5 % above the measured dip")
        << 12.8 << 14.07 << false << AnalysisFault::DipOutOfReach;
}

void TestTrim::noResult()
{
    QFETCH(double, measuredMhz);
    QFETCH(double, modelDipMhz);
    QFETCH(bool, failScaled);
    QFETCH(AnalysisFault, fault);

    StandInAntenna antenna;
    antenna.referenceDipMhz = modelDipMhz;
    if (failScaled) {
        antenna.failing = [&antenna](const TuneDimensions &dims) {
            return dims.a > antenna.reference.a;
        };
    }
    const TrimResult result =
        trim(standInSetup(antenna.reference), measuredMhz, 14.15, antenna.engine());
    QCOMPARE(result.fault, fault);
    QVERIFY(!result.message.isEmpty());
    QVERIFY(!result.ok());
    QVERIFY(!result.fieldTrim);
    if (fault != AnalysisFault::Engine) {
        QCOMPARE(result.failure, EngineFailure::None);
    }
}

void TestTrim::dipAloneHoldsEitherWay_data()
{
    QTest::addColumn<double>("measuredMhz"); // the stand-in as built dips at 14.07 MHz
    QTest::addColumn<bool>("longTailsTried");

    QTest::newRow("dips 1 % low") << 14.07 / 1.01 << true;
    QTest::newRow("dips 1 % high") << 14.07 / 0.99 << true;
    // Tails 7 cm long each would leave the 20 cm gap less than half of itself.
    QTest::newRow("dips 2 % low") << 14.07 / 1.02 << false;
}

// From a dip alone the antenna may behave longer than its model all over, or have long tails.
// The trim that knows it has only the dip takes a cut whose worse front-to-back of the two is
// no worse than that of the cut taking the antenna as scaled; its prediction stays the scaled
// antenna's, and the long-tailed antenna's front-to-back after the cut is given beside it.
void TestTrim::dipAloneHoldsEitherWay()
{
    QFETCH(double, measuredMhz);
    QFETCH(bool, longTailsTried);

    StandInAntenna antenna;
    const TuneDimensions &formula = antenna.reference;
    const double f0 = 14.15;
    // Both antennas that dip where it was measured: every dimension longer, or both pairs of
    // tails (each metre of them lengthens the weighted length by 0.45 + 0.55 + 2 * 0.14).
    const double longer = StandInAntenna::length(formula) * (antenna.referenceDipMhz / measuredMhz);
    const TuneDimensions scaled = scaledBy(formula, longer / StandInAntenna::length(formula));
    const double tails = (longer - StandInAntenna::length(formula)) / 1.28;
    const TuneDimensions longTails = withTails(formula, tails, tails);
    QVERIFY(std::fabs(antenna.dipMhz(longTails) / measuredMhz - 1) < 1e-9);

    double worse[2] = {0, 0}; // of the cut from the dip alone, and of the cut as scaled
    for (const bool dipAlone : {true, false}) {
        const TrimResult result =
            trim(standInSetup(formula, f0), measuredMhz, f0, antenna.engine(), {}, {dipAlone});
        QVERIFY2(result.ok() && result.fieldTrim, qPrintable(result.message));
        QCOMPARE(result.dipAlone, dipAlone);
        const FieldTrim &cut = *result.fieldTrim;
        const double scaledFb = antenna.frontToBack(
            withTails(scaled, cut.drivenTailChange, cut.reflectorTailChange), f0);
        const double tailsFb = antenna.frontToBack(
            withTails(longTails, cut.drivenTailChange, cut.reflectorTailChange), f0);
        const QString figures = u"cuts %1 and %2 m: F/B %3 dB scaled (predicted %4), %5 dB with "
                                u"long tails (given %6)"_s.arg(cut.drivenTailChange)
                                    .arg(cut.reflectorTailChange)
                                    .arg(scaledFb)
                                    .arg(cut.antenna.figures.frontToBack)
                                    .arg(tailsFb)
                                    .arg(cut.longTailsFrontToBack.value_or(qQNaN()));
        qInfo() << (dipAlone ? "dip alone:" : "as scaled:") << figures;
        // The prediction is the scaled antenna's either way.
        QVERIFY2(std::fabs(cut.antenna.figures.frontToBack - scaledFb) < 0.2, qPrintable(figures));
        worse[dipAlone ? 0 : 1] = std::min(scaledFb, tailsFb);
        if (!dipAlone) {
            QVERIFY(!cut.longTailsFrontToBack && result.longTailsRefusal.isEmpty());
            continue;
        }
        QCOMPARE(cut.longTailsFrontToBack.has_value(), longTailsTried);
        QCOMPARE(result.longTailsRefusal.isEmpty(), longTailsTried);
        if (longTailsTried) {
            QVERIFY2(std::fabs(*cut.longTailsFrontToBack - tailsFb) < 0.3, qPrintable(figures));
            const double design = antenna.frontToBack(formula, f0);
            QVERIFY2(scaledFb > design - 3 && tailsFb > design - 3, qPrintable(figures));
        }
    }
    QVERIFY2(worse[0] >= worse[1] - 0.1,
             qPrintable(u"%1 dB against %2 dB"_s.arg(worse[0]).arg(worse[1])));
}

void TestTrim::bestShareAtTheNull_data()
{
    // The field behind, relative to the field ahead, as a complex number linear in the share:
    // zero (a perfect null) at `null`, a floor of `depth` there. The line's candidates run at
    // 0, 0.5 and 1, as the trim's first ones do.
    QTest::addColumn<double>("null");
    QTest::addColumn<double>("depth");
    QTest::addColumn<double>("expected"); // the share advised

    QTest::newRow("deep null between the candidates") << 0.3 << 1e-3 << 0.3;
    QTest::newRow("shallow null near the middle") << 0.62 << 0.05 << 0.62;
    QTest::newRow("null a little beyond the last") << 1.15 << 0.01 << 1.15;
    QTest::newRow("null far beyond: the reach's end") << 2.5 << 0.01 << 1.25;
}

void TestTrim::bestShareAtTheNull()
{
    QFETCH(double, null);
    QFETCH(double, depth);
    QFETCH(double, expected);

    // Long tails and a wide gap: the line reaches from half the other way to half beyond.
    const TuneDimensions built{10, 2, 2.2, 5};
    const trimming::TailLine line(built, 0.05, -0.1, -0.1, 4);
    const auto frontToBack = [&](double u) {
        const std::complex<double> behind(0.4 * (u - null), depth);
        return -20 * std::log10(std::abs(behind));
    };
    QList<std::pair<double, double>> candidates;
    for (const double u : {0.0, 0.5, 1.0}) {
        candidates.append({u, frontToBack(u)});
    }
    const double best = line.bestShare(candidates);
    QVERIFY2(std::fabs(best - expected) < 0.01,
             qPrintable(u"best share %1, expected %2"_s.arg(best).arg(expected)));
}

void TestTrim::leastBehindOnThePlane_data()
{
    // The power behind over the power ahead (in steps from the centre). For `null`, the field
    // behind relative to the field ahead as a complex number linear in the share and the gap,
    // zero at (`share`, `gap`): a true least point there. For `valley`, both knobs move that
    // field the same way, so that a whole line is null. For `saddle`, a surface that falls
    // along the gap away from `gap` and rises along the share away from `share`.
    QTest::addColumn<QString>("kind");
    QTest::addColumn<double>("share");
    QTest::addColumn<double>("gap");
    QTest::addColumn<double>("expectedShare"); // NaN: any least point will do
    QTest::addColumn<double>("expectedGap");

    QTest::newRow("null near the centre") << u"null"_s << 0.4 << -0.7 << 0.4 << -0.7;
    QTest::newRow("null two steps out") << u"null"_s << -1.5 << 1.2 << -1.5 << 1.2;
    QTest::newRow("null beyond reach: the least on the edge")
        << u"null"_s << 5.0 << 0.0 << qQNaN() << qQNaN();
    QTest::newRow("valley of nulls") << u"valley"_s << 0.4 << -0.7 << qQNaN() << qQNaN();
    QTest::newRow("saddle: down its falling side to the edge")
        << u"saddle"_s << 0.5 << -0.3 << 0.5 << 2.5;
}

void TestTrim::leastBehindOnThePlane()
{
    QFETCH(QString, kind);
    QFETCH(double, share);
    QFETCH(double, gap);
    QFETCH(double, expectedShare);
    QFETCH(double, expectedGap);

    const std::complex<double> alongShare(0.03, 0.01);
    const std::complex<double> alongGap =
        kind == u"valley"_s ? 2.0 * alongShare : std::complex(-0.01, 0.02);
    const auto behind = [&](double s, double g) {
        if (kind == u"saddle"_s) {
            return 0.01 + 0.002 * (s - share) * (s - share) - 0.0005 * (g - gap) * (g - gap);
        }
        return std::norm(alongShare * (s - share) + alongGap * (g - gap)) + 1e-8;
    };
    // Around a centre at share 0.3, gap 0.01 (display unit), steps of 0.1 and 0.02.
    constexpr double reach = 2.5;
    QList<trimming::PlaneSample> samples;
    for (const auto &[s, g] :
         {std::pair(0.0, 0.0), {-1.0, 0.0}, {1.0, 0.0}, {0.0, -1.0}, {0.0, 1.0}, {1.0, 1.0}}) {
        samples.append({0.3 + 0.1 * s, 0.01 + 0.02 * g, -10 * std::log10(behind(s, g))});
    }
    const std::optional<std::pair<double, double>> least =
        trimming::leastBehind(samples, 0.1, 0.02, reach);
    QVERIFY(least.has_value());
    const double s = (least->first - 0.3) / 0.1;
    const double g = (least->second - 0.01) / 0.02;
    QVERIFY2(std::fabs(s) <= reach + 1e-9 && std::fabs(g) <= reach + 1e-9,
             qPrintable(u"least at %1, %2 steps"_s.arg(s).arg(g)));
    // No point within reach lies lower, on a grid of a hundredth of a step.
    double lowest = behind(s, g);
    for (int i = -250; i <= 250; ++i) {
        for (int j = -250; j <= 250; ++j) {
            lowest = std::min(lowest, behind(i / 100.0, j / 100.0));
        }
    }
    QVERIFY2(behind(s, g) <= lowest + 1e-7,
             qPrintable(u"%1 at %2, %3 steps, against %4"_s.arg(behind(s, g)).arg(s).arg(g).arg(
                 lowest)));
    if (!std::isnan(expectedShare)) {
        QVERIFY2(std::fabs(s - expectedShare) < 1e-2 && std::fabs(g - expectedGap) < 1e-2,
                 qPrintable(u"least at %1, %2 steps"_s.arg(s).arg(g)));
    }
}

MOXON_TEST_GUILESS_MAIN(TestTrim)
#include "tst_trim.moc"
