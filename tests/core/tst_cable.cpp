#include "cable.h"
#include "testsuite.h"

#include <QTest>

#include <cmath>
#include <vector>

using namespace moxon;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(moxon::CableLoss)

namespace {

// Points of k1·√f + k2·f at `frequencies`.
std::vector<LossPoint> pointsOf(const CableLoss &loss, std::initializer_list<double> frequencies)
{
    std::vector<LossPoint> points;
    for (const double f : frequencies) {
        points.push_back({f, loss.dbPer100m(f)});
    }
    return points;
}

} // namespace

// The cables' matched loss, fitted to their makers' data sheets, and the lines of one's own.
class TestCable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fitRecoversTheLaw_data();
    void fitRecoversTheLaw();
    void fitNeverGivesNegativeLoss();
    void fitOfLmr400IsTheMakersOwn();
    void presetsFollowTheirDataSheets_data();
    void presetsFollowTheirDataSheets();
    void linesOfOnesOwn_data();
    void linesOfOnesOwn();
};

void TestCable::fitRecoversTheLaw_data()
{
    QTest::addColumn<CableLoss>("law");
    QTest::newRow("conductors and dielectric") << CableLoss{0.52, 0.009};
    QTest::newRow("conductors only") << CableLoss{1.4, 0};
    QTest::newRow("dielectric only") << CableLoss{0, 0.02};
}

void TestCable::fitRecoversTheLaw()
{
    QFETCH(CableLoss, law);
    const std::vector<LossPoint> points = pointsOf(law, {1.8, 14, 50, 144, 432, 1296});
    const CableLoss fitted = fitCableLoss(points);
    QVERIFY(std::abs(fitted.rootCoefficient - law.rootCoefficient) < 1e-9);
    QVERIFY(std::abs(fitted.linearCoefficient - law.linearCoefficient) < 1e-9);
    // One point is conductor loss through it.
    const CableLoss single = fitCableLoss(std::span(points).first(1));
    QCOMPARE(single.linearCoefficient, 0.0);
    QVERIFY(std::abs(single.dbPer100m(1.8) - points.front().dbPer100m) < 1e-12);
    QCOMPARE(fitCableLoss({}), CableLoss{});
}

void TestCable::fitNeverGivesNegativeLoss()
{
    // Loss growing more slowly than √f, as a cable with a steel core has at the lowest
    // frequencies: the two-term fit would need a negative k2.
    const std::vector<LossPoint> slow = {{1, 2.0}, {10, 5.0}, {100, 13.0}, {1000, 35.0}};
    const CableLoss fitted = fitCableLoss(slow);
    QCOMPARE(fitted.linearCoefficient, 0.0);
    QVERIFY(fitted.rootCoefficient > 0);
    for (const double f : {0.5, 14.0, 5000.0}) {
        QVERIFY(fitted.dbPer100m(f) > 0);
    }
}

// Times Microwave gives LMR-400's loss as its own fit, 0.122290·√f + 0.000260·f dB per 100
// feet; the fit to the sheet's table agrees with it over HF and VHF.
void TestCable::fitOfLmr400IsTheMakersOwn()
{
    const std::optional<Cable> cable = cableFromText(u"LMR-400");
    QVERIFY(cable);
    for (const double f : {1.8, 3.6, 7.1, 14.15, 21.2, 28.5, 50.1, 144.0, 432.0}) {
        const double makers = (0.122290 * std::sqrt(f) + 0.000260 * f) / 0.3048;
        const double fitted = cable->loss.dbPer100m(f);
        QVERIFY2(
            std::abs(fitted / makers - 1) < 0.03,
            qPrintable(u"%1 MHz: %2 dB/100 m, the maker's %3"_s.arg(f).arg(fitted).arg(makers)));
    }
}

void TestCable::presetsFollowTheirDataSheets_data()
{
    QTest::addColumn<QString>("name");
    for (const CablePreset &preset : cablePresets()) {
        QTest::addRow("%s", qPrintable(preset.name.toString())) << preset.name.toString();
    }
}

void TestCable::presetsFollowTheirDataSheets()
{
    QFETCH(QString, name);
    const CablePreset *preset = cablePreset(name);
    QVERIFY(preset);
    QVERIFY2(preset->loss.size() >= 3, "a law of two terms needs three points to be checked");
    const Cable cable = cableOf(*preset);
    for (const LossPoint &point : preset->loss) {
        const double fitted = cable.loss.dbPer100m(point.frequencyMhz);
        QVERIFY2(std::abs(fitted / point.dbPer100m - 1) < 0.1,
                 qPrintable(u"%1 MHz: %2 dB/100 m, the sheet's %3"_s.arg(point.frequencyMhz)
                                .arg(fitted)
                                .arg(point.dbPer100m)));
    }
    QVERIFY(cable.velocityFactor > 0.5 && cable.velocityFactor < 1);
}

void TestCable::linesOfOnesOwn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    QTest::newRow("75 ohm, 0.66, 4.5 dB at 14 MHz") << u"75,0.66,4.5,14"_s << true;
    QTest::newRow("lossless ladder line") << u" 450 , 0.91 , 0 , 7 "_s << true;
    QTest::newRow("velocity factor above 1") << u"50,1.2,4,14"_s << false;
    QTest::newRow("negative loss") << u"50,0.66,-1,14"_s << false;
    QTest::newRow("no impedance") << u"0,0.66,4,14"_s << false;
    QTest::newRow("no frequency") << u"50,0.66,4,0"_s << false;
    QTest::newRow("three numbers") << u"50,0.66,4"_s << false;
    QTest::newRow("a word") << u"50,0.66,four,14"_s << false;
    QTest::newRow("a cable not in the table") << u"RG-59"_s << false;
}

void TestCable::linesOfOnesOwn()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);

    const std::optional<Cable> cable = cableFromText(text);
    QCOMPARE(bool(cable), valid);
    if (!cable) {
        return;
    }
    const QStringList fields = text.split(u',');
    QCOMPARE(cable->name, kCustomCable.toString());
    QCOMPARE(cable->z0Ohm, fields.at(0).trimmed().toDouble());
    QCOMPARE(cable->velocityFactor, fields.at(1).trimmed().toDouble());
    // The loss as given at its frequency, growing with √f: four times the frequency, twice it.
    const double loss = fields.at(2).trimmed().toDouble();
    const double at = fields.at(3).trimmed().toDouble();
    QVERIFY(std::abs(cable->loss.dbPer100m(at) - loss) < 1e-12);
    QVERIFY(std::abs(cable->loss.dbPer100m(4 * at) - 2 * loss) < 1e-12);
}

MOXON_TEST_GUILESS_MAIN(TestCable)
#include "tst_cable.moc"
