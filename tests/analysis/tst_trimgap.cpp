#include "standinantenna.h"
#include "testsuite.h"
#include "trim.h"

#include <QTest>

#include <cmath>
#include <complex>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

// The field trim where the frame lets E, and so the gap, change too.
class TestTrimGap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gapWhereTheFrameAllows_data();
    void gapWhereTheFrameAllows();
    void gapReachesASharpNull_data();
    void gapReachesASharpNull();
};

void TestTrimGap::gapWhereTheFrameAllows_data()
{
    QTest::addColumn<double>("scale"); // the whole antenna, frame and all

    QTest::newRow("1 % long") << 1.01;
    QTest::newRow("1 % short") << 0.99;
    QTest::newRow("1.5 % long") << 1.015;
    // E wants moving further than three rounds reach (7.5 thousandths of a wavelength).
    QTest::newRow("3 % long") << 1.03;
}

// A frame the wrong size: the tails alone bring the dip to the target but leave the gap's
// share of the width wrong, which the stand-in's front-to-back feels. Where the frame lets E
// change too, the trim brings that back as well.
void TestTrimGap::gapWhereTheFrameAllows()
{
    QFETCH(double, scale);

    StandInAntenna antenna;
    const TuneDimensions &formula = antenna.reference;
    const double f0 = 14.15;
    const TuneDimensions real = scaledBy(formula, scale);
    const double measured = antenna.dipMhz(real);
    double frontToBack[2] = {0, 0}; // tails alone, with the gap
    for (const bool gap : {false, true}) {
        const TrimResult result =
            trim(standInSetup(formula, f0), measured, f0, antenna.engine(), {}, {.gap = gap});
        QVERIFY2(result.ok() && result.fieldTrim, qPrintable(result.message));
        const FieldTrim &trimmed = *result.fieldTrim;
        QCOMPARE(trimmed.gapChange != 0, gap);
        TuneDimensions cut = withTails(real, trimmed.drivenTailChange, trimmed.reflectorTailChange);
        cut.e += trimmed.gapChange;
        const QString said =
            u"cuts %1 and %2 m, E %3 m: dip %4 MHz, F/B %5 dB"_s.arg(trimmed.drivenTailChange)
                .arg(trimmed.reflectorTailChange)
                .arg(trimmed.gapChange)
                .arg(antenna.dipMhz(cut))
                .arg(antenna.frontToBack(cut, f0));
        qInfo() << (gap ? "with the gap:" : "tails alone:") << said;
        QVERIFY2(std::fabs(antenna.dipMhz(cut) / f0 - 1) < 0.0025, qPrintable(said));
        frontToBack[gap ? 1 : 0] = antenna.frontToBack(cut, f0);
    }
    // The stand-in's best is 28 dB, with its proportions and its dip all as designed.
    QVERIFY2(frontToBack[1] > frontToBack[0] && frontToBack[1] > 27.5,
             qPrintable(u"%1 dB with the gap, %2 dB with the tails alone"_s.arg(frontToBack[1])
                            .arg(frontToBack[0])));
}

void TestTrimGap::gapReachesASharpNull_data()
{
    // The dimensions as built: the design's with each pair of tails off, so that the design's
    // null lies away from their own proportions; the antenna behaves as they do, scaled.
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("drivenTailError");    // metres
    QTest::addColumn<double>("reflectorTailError"); // metres
    QTest::addColumn<double>("gapBend");            // StandInAntenna::gapBend

    QTest::newRow("tails as designed") << 0.992 << 0.0 << 0.0 << 0.0;
    QTest::newRow("reflector's 2 cm short") << 0.992 << 0.0 << -0.02 << 0.0;
    QTest::newRow("driven element's 2 cm short") << 0.992 << -0.02 << 0.0 << 0.0;
    QTest::newRow("reflector's 1 cm short, driven's 1 cm long") << 0.996 << 0.01 << -0.01 << 0.0;
    // Dipping on the target already, or nearly: the tails must move against each other.
    QTest::newRow("on the target, driven's 1 cm long, reflector's 1 cm short")
        << 0.9943 << 0.01 << -0.01 << 0.0;
    QTest::newRow("on the target, driven's 1 cm short, reflector's 1 cm long")
        << 0.9943 << -0.01 << 0.01 << 0.0;
    QTest::newRow("near the target, reflector's 2 cm short") << 0.9953 << 0.0 << -0.02 << 0.0;
    // The dip bends with E: the search's best leaves it off the target, and moving it there
    // moves the null off.
    QTest::newRow("E bends the dip, reflector's 2 cm short") << 0.992 << 0.0 << -0.02 << 20.0;
}

// A design whose front-to-back is a sharp null, as nec2c's can be: the field behind, near it,
// is linear in the reflector's tails over the driven's, in the gap's share of the width and in
// the frequency's share off the dip, about as narrow in frequency as nec2c's. Where the tails
// were built off, the null takes them moved against each other, however near the target the
// antenna dips already; with E moving too the trim reaches it, the dip on the target.
void TestTrimGap::gapReachesASharpNull()
{
    QFETCH(double, scale);
    QFETCH(double, drivenTailError);
    QFETCH(double, reflectorTailError);
    QFETCH(double, gapBend);

    StandInAntenna antenna;
    antenna.gapBend = gapBend;
    const TuneDimensions &design = antenna.reference;
    antenna.frontToBackOf = [&antenna, &design](const TuneDimensions &t, double mhz) {
        const double gap = t.c() / t.a - design.c() / design.a;
        const double detuning = mhz / antenna.dipMhz(t) - 1;
        const std::complex<double> behind(antenna.reflectorRatio(t) + 10 * detuning, 3 * gap);
        return -10 * std::log10(std::norm(behind) + 1e-5);
    };
    const double f0 = 14.15;
    const TuneDimensions diagnosed = withTails(design, drivenTailError, reflectorTailError);
    const TuneDimensions real = scaledBy(diagnosed, scale);
    const double designFrontToBack = antenna.frontToBackOf(design, antenna.dipMhz(design));
    const TrimResult result =
        trim(standInSetup(diagnosed, f0), antenna.dipMhz(real), f0, antenna.engine(), {},
             {.gap = true, .designFrontToBack = designFrontToBack});
    QVERIFY2(result.ok() && result.fieldTrim, qPrintable(result.message));
    const FieldTrim &trimmed = *result.fieldTrim;
    TuneDimensions cut = withTails(real, trimmed.drivenTailChange, trimmed.reflectorTailChange);
    cut.e += trimmed.gapChange;
    const double frontToBack = antenna.frontToBackOf(cut, f0);
    const QString said = u"cuts %1 and %2 m, E %3 m: dip %4 MHz, F/B %5 dB (design's %6), %7 runs"_s
                             .arg(trimmed.drivenTailChange)
                             .arg(trimmed.reflectorTailChange)
                             .arg(trimmed.gapChange)
                             .arg(antenna.dipMhz(cut))
                             .arg(frontToBack)
                             .arg(designFrontToBack)
                             .arg(result.engineRuns);
    qInfo() << said;
    QVERIFY2(std::fabs(antenna.dipMhz(cut) / f0 - 1) < 0.0025, qPrintable(said));
    QVERIFY2(frontToBack > designFrontToBack - 1, qPrintable(said));
}

MOXON_TEST_GUILESS_MAIN(TestTrimGap)
#include "tst_trimgap.moc"
