#include "cutlist.h"
#include "testsuite.h"

#include <QTest>

#include <cmath>
#include <numbers>

using namespace moxon;

Q_DECLARE_METATYPE(moxon::BuildDimensions)
Q_DECLARE_METATYPE(moxon::CutAllowances)

namespace {

// Lengths worked by hand agree to a micrometre; angles to a millionth of a degree.
constexpr double kMetre = 1e-6;
constexpr double kDegree = 1e-6;
constexpr double kInch = 0.0254;

} // namespace

// The cut list and the spreader's arithmetic against dimensions worked out by hand.
class TestCutList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void handWorked_data();
    void handWorked();
    void piecesAddUpToTheDimensions_data();
    void piecesAddUpToTheDimensions();
    void defaultAllowances_data();
    void defaultAllowances();
};

void TestCutList::handWorked_data()
{
    QTest::addColumn<BuildDimensions>("dims");
    QTest::addColumn<CutAllowances>("allowances");
    QTest::addColumn<double>("driverSpan");
    QTest::addColumn<double>("driverCut");
    QTest::addColumn<double>("reflectorSpan");
    QTest::addColumn<double>("reflectorCut");
    QTest::addColumn<double>("arm");
    QTest::addColumn<double>("acrossE");
    QTest::addColumn<double>("totalWire");

    // A frame of 3-4-5 triangles: half of A 4 m, half of E 3 m, so each arm is 5 m and the
    // arms meet at 2 atan(3/4) across E. The driver's half: 4 + 2 - 0.025 / 2 = 5.9875 m,
    // cut with 2 x 5 cm; the reflector 8 + 2 x 3.5 = 15 m.
    QTest::newRow("3-4-5 frame, metric allowances")
        << BuildDimensions{8, 2, 0.5, 3.5, 6} << CutAllowances{0.05, 0.025} << 5.9875 << 6.0875
        << 15.0 << 15.1 << 5.0 << 73.739795 << 27.275;
    // In inches: A 100, B 10, C 2, D 15, E 27, wrap 2 in, gap 1 in. The driver's half hangs
    // 50 + 10 - 0.5 = 59.5 in and is cut 63.5 in; the reflector 100 + 30 = 130 in, cut 134 in;
    // an arm is the square root of 50^2 + 13.5^2 = 2682.25, 51.790443 in; across E the arms
    // meet at 2 atan(0.27) = 30.219150 degrees. In all 2 x 63.5 + 134 = 261 in.
    QTest::newRow("inches, imperial allowances")
        << BuildDimensions{100 * kInch, 10 * kInch, 2 * kInch, 15 * kInch, 27 * kInch}
        << CutAllowances{2 * kInch, 1 * kInch} << 59.5 * kInch << 63.5 * kInch << 130 * kInch
        << 134 * kInch << 51.790443 * kInch << 30.219150 << 261 * kInch;
    // Nothing added: each half is A/2 + B, the reflector A + 2D.
    QTest::newRow("20 m, no allowances")
        << BuildDimensions{7.7224, 1.0372, 0.1332, 1.4109, 2.5813} << CutAllowances{0, 0}
        << 4.8984 << 4.8984 << 10.5442 << 10.5442 << 4.0711967 << 36.965582 << 20.341;
}

void TestCutList::handWorked()
{
    QFETCH(BuildDimensions, dims);
    QFETCH(CutAllowances, allowances);
    QFETCH(double, driverSpan);
    QFETCH(double, driverCut);
    QFETCH(double, reflectorSpan);
    QFETCH(double, reflectorCut);
    QFETCH(double, arm);
    QFETCH(double, acrossE);
    QFETCH(double, totalWire);

    const CutList list = cutList(dims, allowances);
    QCOMPARE(list.driverHalf.count, 2);
    QCOMPARE(list.reflector.count, 1);
    QCOMPARE(list.driverHalf.wrappedEnds, 2);
    QCOMPARE(list.reflector.wrappedEnds, 2);
    QVERIFY(std::fabs(list.driverHalf.span - driverSpan) < kMetre);
    QVERIFY(std::fabs(list.driverHalf.cut() - driverCut) < kMetre);
    QVERIFY(std::fabs(list.reflector.span - reflectorSpan) < kMetre);
    QVERIFY(std::fabs(list.reflector.cut() - reflectorCut) < kMetre);
    QVERIFY(std::fabs(list.tailSpacing - dims.c) < kMetre);
    QVERIFY(std::fabs(list.feedGap - allowances.feedGap) < kMetre);
    QCOMPARE(list.spreaders.arms, 4);
    QVERIFY2(std::fabs(list.spreaders.arm - arm) < kMetre,
             qPrintable(QString::number(list.spreaders.arm, 'g', 12)));
    QVERIFY2(std::fabs(list.spreaders.angleAcrossE - acrossE) < kDegree,
             qPrintable(QString::number(list.spreaders.angleAcrossE, 'g', 12)));
    QVERIFY(std::fabs(list.spreaders.angleAcrossA - (180 - acrossE)) < kDegree);
    QVERIFY(std::fabs(list.totalWire() - totalWire) < kMetre);
}

void TestCutList::piecesAddUpToTheDimensions_data()
{
    handWorked_data();
}

// What the builder cuts and spreads puts the antenna back together: the two halves and the
// gap make A and both driver tails, the reflector A and both of its tails, the spreader's arms
// at their angle the rectangle A by E, and the tails with the insulators' spacing the depth.
void TestCutList::piecesAddUpToTheDimensions()
{
    QFETCH(BuildDimensions, dims);
    QFETCH(CutAllowances, allowances);

    const CutList list = cutList(dims, allowances);
    const double halfAngle = list.spreaders.angleAcrossE / 2 * std::numbers::pi / 180;
    const double a = 2 * list.spreaders.arm * std::cos(halfAngle);
    const double e = 2 * list.spreaders.arm * std::sin(halfAngle);
    const double b = (2 * list.driverHalf.span + list.feedGap - a) / 2;
    const double d = (list.reflector.span - a) / 2;
    const double c = list.tailSpacing;
    // Exactly, to the rounding of a few operations on doubles.
    const double exact = 1e-12 * dims.a;
    QVERIFY(std::fabs(a - dims.a) < exact);
    QVERIFY(std::fabs(e - dims.e) < exact);
    QVERIFY(std::fabs(b - dims.b) < exact);
    QVERIFY(std::fabs(d - dims.d) < exact);
    QVERIFY(std::fabs(b + c + d - e) < exact);
    QVERIFY(std::fabs(list.driverHalf.cut() - list.driverHalf.span - 2 * allowances.wrap) < exact);
    QVERIFY(std::fabs(list.reflector.cut() - list.reflector.span - 2 * allowances.wrap) < exact);
}

void TestCutList::defaultAllowances_data()
{
    QTest::addColumn<DisplayUnit>("unit");
    QTest::addColumn<double>("wrap");
    QTest::addColumn<double>("feedGap");

    QTest::newRow("ft") << DisplayUnit::Feet << 2 * kInch << 1 * kInch;
    QTest::newRow("in") << DisplayUnit::Inch << 2 * kInch << 1 * kInch;
    QTest::newRow("m") << DisplayUnit::Metre << 0.05 << 0.025;
    QTest::newRow("mm") << DisplayUnit::Millimetre << 0.05 << 0.025;
}

void TestCutList::defaultAllowances()
{
    QFETCH(DisplayUnit, unit);
    QFETCH(double, wrap);
    QFETCH(double, feedGap);

    const CutAllowances allowances = moxon::defaultAllowances(unit);
    QCOMPARE(allowances.wrap, wrap);
    QCOMPARE(allowances.feedGap, feedGap);
}

MOXON_TEST_APPLESS_MAIN(TestCutList)
#include "tst_cutlist.moc"
