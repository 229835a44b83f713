#include "calculation.h"
#include "dimensions.h"
#include "testsuite.h"
#include "units.h"
#include "wiresize.h"

#include <QTest>

#include <cmath>

using namespace moxon;

class TestEquations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void referenceValues_data();
    void referenceValues();
    void depthIsSumOfTailsAndGap_data();
    void depthIsSumOfTailsAndGap();
    void signChanges_data();
    void signChanges();
    void gaugeDiameter_data();
    void gaugeDiameter();
    void gaugeValidity_data();
    void gaugeValidity();
    void rangeWarning_data();
    void rangeWarning();
    void startUpDesign();
    void wavelengthConstants();
};

void TestEquations::referenceValues_data()
{
    QTest::addColumn<double>("l");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("c");
    QTest::addColumn<double>("d");
    QTest::addColumn<double>("e");

    QTest::newRow("L=-2") << -2.0 << 0.355571 << 0.040429 << 0.023262 << 0.069786 << 0.133476;
    QTest::newRow("L=-3") << -3.0 << 0.360857 << 0.050071 << 0.014500 << 0.068786 << 0.133357;
    QTest::newRow("L=-4") << -4.0 << 0.364429 << 0.055429 << 0.009357 << 0.067786 << 0.132571;
    QTest::newRow("L=-5") << -5.0 << 0.366286 << 0.056500 << 0.007833 << 0.066786 << 0.131119;
    QTest::newRow("L=-6") << -6.0 << 0.366429 << 0.053286 << 0.009929 << 0.065786 << 0.129000;
}

void TestEquations::referenceValues()
{
    QFETCH(double, l);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, c);
    QFETCH(double, d);
    QFETCH(double, e);

    // The table gives six decimals: a value is right when it rounds to them.
    const Dimensions dims = dimensionsFor(l);
    const double halfUnit = 0.5e-6;
    QVERIFY2(std::fabs(dims.a - a) <= halfUnit, qPrintable(QString::number(dims.a, 'g', 17)));
    QVERIFY2(std::fabs(dims.b - b) <= halfUnit, qPrintable(QString::number(dims.b, 'g', 17)));
    QVERIFY2(std::fabs(dims.c - c) <= halfUnit, qPrintable(QString::number(dims.c, 'g', 17)));
    QVERIFY2(std::fabs(dims.d - d) <= halfUnit, qPrintable(QString::number(dims.d, 'g', 17)));
    QVERIFY2(std::fabs(dims.e - e) <= halfUnit, qPrintable(QString::number(dims.e, 'g', 17)));
}

void TestEquations::depthIsSumOfTailsAndGap_data()
{
    QTest::addColumn<double>("l");
    QTest::newRow("inside the range") << -3.5;
    QTest::newRow("very thin wire") << -40.0;
    QTest::newRow("very thick wire") << 12.0;
    QTest::newRow("lowest possible L") << -324.0;
    QTest::newRow("highest possible L") << 309.0;
}

void TestEquations::depthIsSumOfTailsAndGap()
{
    QFETCH(double, l);
    const Dimensions dims = dimensionsFor(l);
    QCOMPARE(dims.e, (dims.c + dims.b) + dims.d);
    QVERIFY(std::isfinite(dims.a) && std::isfinite(dims.e));
    QVERIFY(dims.c > 0);
}

void TestEquations::signChanges_data()
{
    QTest::addColumn<double>("l");
    QTest::addColumn<bool>("aNegative");
    QTest::addColumn<bool>("bNegative");
    QTest::addColumn<bool>("dNegative");

    QTest::newRow("B turns negative above 0.391") << 0.40 << false << true << false;
    QTest::newRow("B still positive at 0.38") << 0.38 << false << false << false;
    QTest::newRow("B negative below -9.891") << -9.90 << false << true << false;
    QTest::newRow("B positive at -9.88") << -9.88 << false << false << false;
    QTest::newRow("A negative above 15.10") << 15.11 << true << true << false;
    QTest::newRow("A negative below -26.26") << -26.27 << true << true << false;
    QTest::newRow("D negative below -71.79") << -71.80 << true << true << true;
    QTest::newRow("D positive at -71.78") << -71.78 << true << true << false;
}

void TestEquations::signChanges()
{
    QFETCH(double, l);
    QFETCH(bool, aNegative);
    QFETCH(bool, bNegative);
    QFETCH(bool, dNegative);

    const Dimensions dims = dimensionsFor(l);
    QCOMPARE(dims.a < 0, aNegative);
    QCOMPARE(dims.b < 0, bNegative);
    QCOMPARE(dims.d < 0, dNegative);
}

void TestEquations::gaugeDiameter_data()
{
    QTest::addColumn<double>("gauge");
    QTest::addColumn<double>("inches");

    QTest::newRow("gauge 0") << 0.0 << 0.324861;
    QTest::newRow("gauge 12") << 12.0 << 0.080808;
    QTest::newRow("gauge 36 is 1/200 inch") << 36.0 << 0.005;
    QTest::newRow("gauge 40") << 40.0 << 0.003145;
}

void TestEquations::gaugeDiameter()
{
    QFETCH(double, gauge);
    QFETCH(double, inches);
    QVERIFY(std::fabs(gaugeDiameterInches(gauge) - inches) <= 0.5e-6);
}

void TestEquations::gaugeValidity_data()
{
    QTest::addColumn<double>("n");
    QTest::addColumn<bool>("valid");

    QTest::newRow("0 accepted") << 0.0 << true;
    QTest::newRow("40 accepted") << 40.0 << true;
    QTest::newRow("41 rejected") << 41.0 << false;
    QTest::newRow("-1 rejected") << -1.0 << false;
    QTest::newRow("12.5 rejected") << 12.5 << false;
    QTest::newRow("just below 40 rejected") << std::nextafter(40.0, 0.0) << false;
}

void TestEquations::gaugeValidity()
{
    QFETCH(double, n);
    QFETCH(bool, valid);
    QCOMPARE(isValidGauge(n), valid);
}

void TestEquations::rangeWarning_data()
{
    QTest::addColumn<double>("l");
    QTest::addColumn<int>("warning");

    QTest::newRow("exactly -2") << -2.0 << int(RangeWarning::None);
    QTest::newRow("exactly -6") << -6.0 << int(RangeWarning::None);
    QTest::newRow("just above -2") << std::nextafter(-2.0, 0.0) << int(RangeWarning::ThickWire);
    QTest::newRow("just below -6") << std::nextafter(-6.0, -7.0) << int(RangeWarning::ThinWire);
    QTest::newRow("start-up wire") << -3.000174 << int(RangeWarning::None);
}

void TestEquations::rangeWarning()
{
    QFETCH(double, l);
    QFETCH(int, warning);
    QCOMPARE(int(moxon::rangeWarning(l)), warning);
}

void TestEquations::startUpDesign()
{
    // 146 MHz, gauge 12: the design the window opens with.
    const DesignResult design =
        computeDesign(WireSize{WireUnit::Gauge, 12}, 146, DisplayUnit::Inch);
    QVERIFY(design.computable());
    QVERIFY(std::fabs(design.ratio - 0.00099960) <= 0.5e-8);
    QVERIFY(std::fabs(design.logRatio - -3.000174) <= 0.5e-6);
    const Dimensions &w = design.wavelengths;
    QVERIFY(std::fabs(w.a - 0.360858) <= 0.5e-6);
    QVERIFY(std::fabs(w.b - 0.050073) <= 0.5e-6);
    QVERIFY(std::fabs(w.c - 0.014499) <= 0.5e-6);
    QVERIFY(std::fabs(w.d - 0.068786) <= 0.5e-6);
    QVERIFY(std::fabs(w.e - 0.133357) <= 0.5e-6);
}

void TestEquations::wavelengthConstants()
{
    // The same wire in inches and in millimetres gives ratios that differ in the sixth
    // significant digit, because the two constants are not exactly consistent.
    const double inches = diameterRatio(WireSize{WireUnit::Inch, 0.1}, 100);
    const double millimetres = diameterRatio(WireSize{WireUnit::Millimetre, 2.54}, 100);
    QCOMPARE(inches, 0.1 / (11802.71 / 100));
    QCOMPARE(millimetres, 2.54 / (299792.5 / 100));
    QVERIFY(inches != millimetres);
    QVERIFY(std::fabs(inches / millimetres - 1) < 2e-5);

    QCOMPARE(unitInfo(DisplayUnit::Feet).wavelength(100), 983.5592 / 100);
    QCOMPARE(unitInfo(DisplayUnit::Inch).wavelength(100), 983.5592 / 100 * 12);
    QCOMPARE(unitInfo(DisplayUnit::Metre).wavelength(100), 983.5592 / 100 * 0.3048);
    QCOMPARE(unitInfo(DisplayUnit::Millimetre).wavelength(100), 983.5592 / 100 * 12 * 25.4);
}

MOXON_TEST_GUILESS_MAIN(TestEquations)
#include "tst_equations.moc"
