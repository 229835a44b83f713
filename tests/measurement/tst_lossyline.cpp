#include "feedline.h"
#include "installation.h"
#include "testsuite.h"
#include "touchstone.h"
#include "touchstonewriter.h"

#include <QTest>

#include <cmath>
#include <complex>

using namespace moxon;
using namespace Qt::StringLiterals;

namespace {

using Complex = std::complex<double>;

// A 75-ohm foam line losing 4 dB per 100 m at 10 MHz, growing with √f and f alike.
const Cable kLine{u"test"_s, 75, 0.8, {0.8, 0.147}};
// The same cable without loss.
const Cable kLossless{u"test"_s, 75, 0.8, {}};

// Metres of `line` that are `wavelengths` long at `frequencyMhz`.
double metres(const Cable &line, double wavelengths, double frequencyMhz)
{
    return wavelengths * line.velocityFactor * freeSpaceWavelength(frequencyMhz);
}

QString ohms(Complex z)
{
    return u"%1%2%3j"_s.arg(z.real(), 0, 'g', 10)
        .arg(z.imag() < 0 ? u'-' : u'+')
        .arg(std::abs(z.imag()), 0, 'g', 10);
}

} // namespace

// The lossy line against the closed forms of transmission-line theory, and the measured curve
// turned back through it.
class TestLossyLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void closedForms_data();
    void closedForms();
    void matchedLineGivesZ0AndItsLoss_data();
    void matchedLineGivesZ0AndItsLoss();
    void totalLossIsTheClassicFormula_data();
    void totalLossIsTheClassicFormula();
    void inverseUndoesTheLine();
    void fileThroughTheLineDeembeds_data();
    void fileThroughTheLineDeembeds();
};

void TestLossyLine::closedForms_data()
{
    QTest::addColumn<double>("wavelengths");
    QTest::addColumn<Complex>("load");
    QTest::addColumn<Complex>("seen");

    // Half a wave of lossless line repeats the load; a quarter wave inverts it on Z0².
    QTest::newRow("half wave, reactive load") << 0.5 << Complex(30, -25) << Complex(30, -25);
    QTest::newRow("three half waves, high load") << 1.5 << Complex(400, 120) << Complex(400, 120);
    QTest::newRow("quarter wave, resistive") << 0.25 << Complex(150, 0) << Complex(37.5, 0);
    QTest::newRow("quarter wave, reactive")
        << 0.25 << Complex(30, -25) << 5625.0 / Complex(30, -25);
    QTest::newRow("quarter wave, short") << 0.25 << Complex(0, 0) << Complex(INFINITY, 0);
    QTest::newRow("eighth wave, short") << 0.125 << Complex(0, 0) << Complex(0, 75);
}

void TestLossyLine::closedForms()
{
    QFETCH(double, wavelengths);
    QFETCH(Complex, load);
    QFETCH(Complex, seen);

    const LossyLine line(kLossless);
    const double f = 21.2;
    const Complex z = line.inputImpedance(load, f, metres(kLossless, wavelengths, f));
    if (std::isinf(seen.real())) {
        QVERIFY2(std::abs(z) > 1e12, qPrintable(ohms(z)));
        return;
    }
    QVERIFY2(std::abs(z - seen) < 1e-9 * std::max(1.0, std::abs(seen)), qPrintable(ohms(z)));
}

void TestLossyLine::matchedLineGivesZ0AndItsLoss_data()
{
    QTest::addColumn<double>("frequencyMhz");
    QTest::addColumn<double>("lengthMetres");

    QTest::newRow("10 MHz, 30 m") << 10.0 << 30.0;
    QTest::newRow("28.5 MHz, 7.3 m") << 28.5 << 7.3;
    QTest::newRow("144 MHz, 120 m") << 144.0 << 120.0;
}

void TestLossyLine::matchedLineGivesZ0AndItsLoss()
{
    QFETCH(double, frequencyMhz);
    QFETCH(double, lengthMetres);

    const LossyLine line(kLine);
    const Complex z = line.inputImpedance(75, frequencyMhz, lengthMetres);
    QVERIFY2(std::abs(z - 75.0) < 1e-9, qPrintable(ohms(z)));
    // The cable's matched loss per 100 m over the length, and the loss into Z0 the same.
    const double expected =
        (0.8 * std::sqrt(frequencyMhz) + 0.147 * frequencyMhz) * lengthMetres / 100;
    QCOMPARE_LE(std::abs(line.matchedLossDb(frequencyMhz, lengthMetres) - expected), 1e-12);
    QCOMPARE_LE(std::abs(line.totalLossDb(75, frequencyMhz, lengthMetres) - expected), 1e-9);
}

void TestLossyLine::totalLossIsTheClassicFormula_data()
{
    QTest::addColumn<Complex>("load");
    QTest::addColumn<double>("lengthMetres");

    QTest::newRow("SWR 2, resistive, 30 m") << Complex(150, 0) << 30.0;
    QTest::newRow("reactive, 17 m") << Complex(30, -45) << 17.0;
    QTest::newRow("low and inductive, 55 m") << Complex(8, 60) << 55.0;
    QTest::newRow("SWR 20, 3 m") << Complex(1500, 0) << 3.0;
}

void TestLossyLine::totalLossIsTheClassicFormula()
{
    QFETCH(Complex, load);
    QFETCH(double, lengthMetres);

    const double f = 14.15;
    const LossyLine line(kLine);
    const double matched = line.matchedLossDb(f, lengthMetres);
    const double a = std::pow(10, matched / 10);
    const double gamma = std::abs((load - 75.0) / (load + 75.0));
    const double classic = 10 * std::log10((a * a - gamma * gamma) / (a * (1 - gamma * gamma)));
    const double total = line.totalLossDb(load, f, lengthMetres);
    QVERIFY2(std::abs(total - classic) < 1e-9,
             qPrintable(u"%1 dB, classic %2 dB"_s.arg(total).arg(classic)));
    QVERIFY(total > matched);
    QVERIFY(std::isinf(line.totalLossDb(Complex(0, 40), f, lengthMetres)));
}

// The inverse of the line turns what is seen at its input back into the load, whatever the
// line does to it on the way.
void TestLossyLine::inverseUndoesTheLine()
{
    const LossyLine line(kLine);
    for (const Complex load : {Complex(50, 0), Complex(12, -80), Complex(300, 200)}) {
        for (const double length : {0.0, 3.1, 26.7, 140.0}) {
            const Complex seen = line.inputImpedance(load, 7.1, length);
            const Complex back = line.loadImpedance(seen, 7.1, length);
            QVERIFY2(
                std::abs(back - load) < 1e-8 * std::abs(load) + 1e-9,
                qPrintable(
                    u"%1 through %2 m back as %3"_s.arg(ohms(load)).arg(length).arg(ohms(back))));
        }
    }
}

void TestLossyLine::fileThroughTheLineDeembeds_data()
{
    QTest::addColumn<int>("format");
    QTest::newRow("S in dB and degrees, Hz") << 0;
    QTest::newRow("Z in RI, MHz, version 2, on 75 ohms") << 1;
}

// An antenna's curve written as an analyser at the radio reads it, through 30 m of lossy
// line, and read back and turned back to the feed point, is the antenna's curve.
void TestLossyLine::fileThroughTheLineDeembeds()
{
    QFETCH(int, format);

    QList<TouchstonePoint> antenna;
    for (int i = 0; i <= 40; ++i) {
        const double f = 13.5 + 0.035 * i;
        // A series resonance at 14.1 MHz with 35 ohms of radiation resistance.
        antenna.append({f, Complex(35 + 0.8 * (f - 14.1), 600 * (f / 14.1 - 14.1 / f))});
    }
    const LossyLine line(kLine);
    const TouchstoneFormat written =
        format == 0 ? TouchstoneFormat{FrequencyUnit::Hz, NetworkParameter::S,
                                       NumberFormat::DecibelAngle, 50, TouchstoneVersion::One}
                    : TouchstoneFormat{FrequencyUnit::MHz, NetworkParameter::Z,
                                       NumberFormat::RealImaginary, 75, TouchstoneVersion::Two};
    const TouchstoneResult read =
        readTouchstone(touchstoneS1p(throughLine(antenna, line, 30), written), u"radio.s1p"_s);
    QVERIFY(std::holds_alternative<TouchstoneFile>(read));
    const QList<TouchstonePoint> &atRadio = std::get<TouchstoneFile>(read).points;
    const QList<TouchstonePoint> atFeed = deembedded(atRadio, line, 30);
    QCOMPARE(atFeed.size(), antenna.size());
    double worst = 0;
    double turned = 0; // how far the line moved the curve, so that undoing it counts
    for (qsizetype i = 0; i < atFeed.size(); ++i) {
        QCOMPARE(atFeed.at(i).frequencyMhz, antenna.at(i).frequencyMhz);
        worst = std::max(worst, std::abs(atFeed.at(i).impedanceOhm - antenna.at(i).impedanceOhm));
        turned =
            std::max(turned, std::abs(atRadio.at(i).impedanceOhm - antenna.at(i).impedanceOhm));
    }
    QVERIFY2(worst < 0.1, qPrintable(u"%1 ohm off"_s.arg(worst)));
    QVERIFY2(turned > 20, qPrintable(u"the line moved the curve by %1 ohm only"_s.arg(turned)));
}

MOXON_TEST_GUILESS_MAIN(TestLossyLine)
#include "tst_lossyline.moc"
