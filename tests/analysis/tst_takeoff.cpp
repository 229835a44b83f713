#include "elevationcuts.h"
#include "takeoff.h"
#include "testsuite.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace moxon;

namespace {

constexpr double kDegree = std::numbers::pi / 180;

// An elevation cut over ground as the two-ray model has it, printed to a hundredth of a dB:
// a direct wave of power 1 - 0.1 u² (u the sine of the elevation) and a reflected one of
// 0.9 of its field, `phase` behind at the horizon; 20 dB weaker away from the beam.
QList<CutPoint> twoRayCut(double heightWavelengths, const ElevationCut &card, int towardsBeam,
                          double phase)
{
    QList<CutPoint> cut;
    for (int i = 0; i < card.points; ++i) {
        const double theta = card.startDegrees + i * card.stepDegrees;
        const double u = std::cos(theta * kDegree);
        const double field = 4 * std::numbers::pi * heightWavelengths * u - phase;
        const double power = (1 - 0.1 * u * u) * (1 + 0.81 + 1.8 * std::cos(field)) *
                             (theta * towardsBeam >= 0 ? 1 : 0.01);
        cut.append({theta, std::round(1000 * std::log10(power)) / 100});
    }
    return cut;
}

// The cut the check deck's cards give at `heightWavelengths`: the displayed one's directions,
// and in their place the fine cut's up from the horizons where the height needs one.
QList<CutPoint> deckCut(double heightWavelengths, int towardsBeam, double phase)
{
    const QList<ElevationCut> cards = elevationCuts(heightWavelengths);
    QList<CutPoint> cut;
    for (const ElevationCut &card : cards.mid(1)) {
        cut += twoRayCut(heightWavelengths, card, towardsBeam, phase);
    }
    for (const CutPoint &point : twoRayCut(heightWavelengths, cards.first(), towardsBeam, phase)) {
        const bool covered = std::any_of(cards.begin() + 1, cards.end(), [&](const auto &card) {
            return point.angle >= card.startDegrees &&
                   point.angle <= card.startDegrees + (card.points - 1) * card.stepDegrees;
        });
        if (!covered) {
            cut.append(point);
        }
    }
    return cut;
}

} // namespace

// The take-off angle read from cuts whose lobes are known.
class TestTakeoff : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void forwardLobeOfTwoRays_data();
    void forwardLobeOfTwoRays();
    void sparseDirectionsShowNoLobes();
    void probesTellRivalsApart();
};

void TestTakeoff::forwardLobeOfTwoRays_data()
{
    QTest::addColumn<double>("heightWavelengths");
    QTest::addColumn<int>("towardsBeam");
    QTest::addColumn<double>("phase");     // radians, of the reflected wave at the horizon
    QTest::addColumn<double>("tolerance"); // of the lobes' spacing

    // The strongest lobe is the lowest, where the two waves first meet in phase.
    QTest::newRow("40 wavelengths, four directions a lobe") << 40.0 << 1 << 2.0 << 0.05;
    QTest::newRow("the same, the beam towards negative theta") << 40.0 << -1 << 2.0 << 0.05;
    QTest::newRow("19 wavelengths, a reflection nearly reversed") << 19.17 << 1 << 3.1 << 0.05;
    // 0.5 degree is 1/115 of the spacing: the highest printed direction is the top, which the
    // direct wave's fall with the elevation moves by a third of a degree.
    QTest::newRow("half a wavelength, the displayed cut") << 0.5 << 1 << 3.14159 << 0.02;
    // In phase at the horizon: the top is the horizon itself, the end of the cut.
    QTest::newRow("200 wavelengths, in phase at the horizon") << 200.0 << 1 << 0.0 << 0.0;
}

void TestTakeoff::forwardLobeOfTwoRays()
{
    QFETCH(double, heightWavelengths);
    QFETCH(int, towardsBeam);
    QFETCH(double, phase);
    QFETCH(double, tolerance);

    const QList<CutPoint> cut = deckCut(heightWavelengths, towardsBeam, phase);
    const QList<Lobe> lobes = forwardLobes(cut, towardsBeam, heightWavelengths);
    QVERIFY(!lobes.isEmpty());
    const double u = phase / (4 * std::numbers::pi * heightWavelengths);
    const double top = std::asin(u) / kDegree;
    const double gain = 10 * std::log10((1 - 0.1 * u * u) * 1.9 * 1.9);
    const double spacing = lobeSpacingDegrees(heightWavelengths);
    QVERIFY2(std::fabs(lobes.first().elevation - top) <= tolerance * spacing,
             qPrintable(QStringLiteral("%1 against %2").arg(lobes.first().elevation).arg(top)));
    QVERIFY(std::fabs(lobes.first().gain - gain) <= 0.02);
    // Away from the beam the same lobe, 20 dB down.
    const std::optional<double> back =
        backwardGain(cut, towardsBeam, heightWavelengths, lobes.first().elevation);
    QVERIFY(back.has_value());
    QVERIFY2(std::fabs(*back - (gain - 20)) <= 0.03, qPrintable(QString::number(*back)));
}

void TestTakeoff::sparseDirectionsShowNoLobes()
{
    // At 200 wavelengths the displayed half-degree cut samples a lobe 0.29 / cos(elevation)
    // times: its maxima below 84.5 degrees are its sampling's, and are not read as lobes.
    const double height = 200;
    const QList<CutPoint> cut = twoRayCut(height, elevationCuts(height).first(), 1, 2.0);
    const QList<Lobe> lobes = forwardLobes(cut, 1, height);
    QVERIFY(!lobes.isEmpty());
    for (const Lobe &lobe : lobes) {
        QVERIFY2(lobe.elevation >= 84.5, qPrintable(QString::number(lobe.elevation)));
    }
}

void TestTakeoff::probesTellRivalsApart()
{
    // Two lobes whose fitted tops come within the margin; each probe's strongest direction
    // decides, and of equal ones the lower lobe.
    const QList<Lobe> lobes{{1.5, 12.03}, {0.5, 12.0}, {2.5, 11.9}};
    const QList<double> rivals = rivalLobes(lobes);
    QCOMPARE(rivals, (QList<double>{1.5, 0.5}));
    const auto probe = [](double elevation, double gain) {
        return QList<CutPoint>{{90 - elevation - 0.01, gain - 0.01},
                               {90 - elevation, gain},
                               {90 - elevation + 0.01, gain - 0.02}};
    };
    QCOMPARE(probedLobe({probe(1.5, 12.01), probe(0.5, 12.02)}, rivals)->elevation, 0.5);
    QCOMPARE(probedLobe({probe(1.5, 12.02), probe(0.5, 12.02)}, rivals)->elevation, 0.5);
    QCOMPARE(probedLobe({probe(1.5, 12.03), probe(0.5, 12.02)}, rivals)->elevation, 1.5);
    // Probes through other lobes than the rivals' tell nothing.
    QVERIFY(!probedLobe({probe(1.5, 12.0), probe(0.7, 12.1)}, rivals));
    QVERIFY(!probedLobe({probe(1.5, 12.0)}, rivals));
}

MOXON_TEST_APPLESS_MAIN(TestTakeoff)
#include "tst_takeoff.moc"
