#include "feedline.h"
#include "installation.h"
#include "radiofigures.h"
#include "testsuite.h"

#include <QTest>

#include <cmath>
#include <complex>

using namespace moxon;
using namespace Qt::StringLiterals;

namespace {

using Complex = std::complex<double>;

constexpr double kF0 = 14.0;
constexpr double kFeet = 0.3048; // metres

// 100 ft of a 50-ohm line losing 1.3 dB matched at 14 MHz: thin coax on 20 m.
FeedLine thinCoax()
{
    return {customCable(50, 0.66, 1.3 / kFeet, kF0), 100 * kFeet};
}

// An antenna that resonates at 14 MHz with 50 ohms and a Q of about 12.
QList<SweepPoint> resonance()
{
    QList<SweepPoint> points;
    for (int i = 0; i <= 40; ++i) {
        const double f = kF0 * (0.95 + 0.0025 * i);
        const FeedPoint feed{50, 600 * (f / kF0 - kF0 / f)};
        points.append(sweepPoint(f, feed));
    }
    return points;
}

} // namespace

// What the radio sees at the far end of a lossy feed line, against the closed forms of
// reflection along a matched line: |Γ| falls by 10^(−matched loss / 10) from the antenna to
// the radio, and the power lost follows the classic formula.
class TestRadioFigures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void swrShrinksAlongTheLine_data();
    void swrShrinksAlongTheLine();
    void bandAtTheRadioIsWider();
};

void TestRadioFigures::swrShrinksAlongTheLine_data()
{
    QTest::addColumn<Complex>("antenna");
    QTest::addColumn<double>("swrAtRadio"); // the round figure a builder reads there

    // 1.3 dB of matched loss: the SWR 1.25, 2 and 3 of an antenna read 1.18, 1.66 and 2.18.
    QTest::newRow("SWR 1.25, resistive") << Complex(62.5, 0) << 1.18;
    QTest::newRow("SWR 2, resistive") << Complex(100, 0) << 1.66;
    QTest::newRow("SWR 3, resistive") << Complex(150, 0) << 2.18;
    QTest::newRow("SWR 2, reactive") << Complex(40, 30) << 1.66;
}

void TestRadioFigures::swrShrinksAlongTheLine()
{
    QFETCH(Complex, antenna);
    QFETCH(double, swrAtRadio);

    const FeedLine line = thinCoax();
    const RadioFigures radio = radioFigures(line, kF0, {antenna.real(), antenna.imag()});
    QVERIFY2(std::fabs(radio.swr - swrAtRadio) < 0.006,
             qPrintable(u"SWR %1 at the radio"_s.arg(radio.swr)));
    QVERIFY(std::fabs(radio.matchedLossDb - 1.3) < 1e-9);

    const double gamma = std::abs((antenna - 50.0) / (antenna + 50.0));
    const double a = std::pow(10, 1.3 / 10);
    const double classic = 10 * std::log10((a * a - gamma * gamma) / (a * (1 - gamma * gamma)));
    QVERIFY2(std::fabs(radio.totalLossDb - classic) < 0.001,
             qPrintable(u"%1 dB lost, the formula's %2 dB"_s.arg(radio.totalLossDb).arg(classic)));
    QVERIFY(std::fabs(radio.antennaWatts - 100 * std::pow(10, -classic / 10)) < 1e-6);
    // The impedance the radio sees has that SWR on 50 ohms.
    const Complex seen(radio.feed.resistance, radio.feed.reactance);
    const double seenGamma = std::abs((seen - 50.0) / (seen + 50.0));
    QVERIFY(std::fabs((1 + seenGamma) / (1 - seenGamma) - radio.swr) < 1e-9);
    QVERIFY(std::fabs(seenGamma - gamma / a) < 1e-9);
}

// The same antenna's 2:1 band is wider at the radio: the line's loss hides the mismatch at
// its edges. Without a sweep there is no band.
void TestRadioFigures::bandAtTheRadioIsWider()
{
    const QList<SweepPoint> points = resonance();
    DesignFigures figures;
    figures.frequencyMhz = kF0;
    figures.feed = points.at(20).feed;
    const RadioFigures radio = radioFigures(thinCoax(), figures, points, {});
    const Bandwidth atAntenna = bandwidth(points, kF0, points.at(20).swr);
    QVERIFY(atAntenna.exists && radio.bandwidth.exists);
    QVERIFY2(
        radio.bandwidth.widthMhz() > 1.3 * atAntenna.widthMhz(),
        qPrintable(u"%1 MHz at the radio, %2 MHz at the antenna"_s.arg(radio.bandwidth.widthMhz())
                       .arg(atAntenna.widthMhz())));
    QCOMPARE(radio.sweep.size(), points.size());
    for (qsizetype i = 0; i < points.size(); ++i) {
        QCOMPARE(radio.sweep.at(i).frequencyMhz, points.at(i).frequencyMhz);
        QVERIFY(radio.sweep.at(i).swr <= points.at(i).swr + 1e-12);
    }
    QVERIFY(!radioFigures(thinCoax(), kF0, figures.feed).bandwidth.exists);
}

MOXON_TEST_GUILESS_MAIN(TestRadioFigures)
#include "tst_radiofigures.moc"
