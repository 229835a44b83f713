#include "nec2crunner.h"
#include "necoutput.h"

#include <QTest>

using namespace moxon;
using namespace Qt::StringLiterals;

namespace {

// The shape of an engine's output for one frequency: the parts the parser reads, with the
// surrounding lines it must pass over.
QString engineOutput(const QString &inputRow, const QStringList &patternRows)
{
    QString text = uR"(
                               --------- FREQUENCY --------
                                FREQUENCY : 1.4600E+02 MHz
                                WAVELENGTH: 2.0534E+00 Mtr

                        --------- ANTENNA INPUT PARAMETERS ---------
  TAG   SEG       VOLTAGE (VOLTS)         CURRENT (AMPS)         IMPEDANCE (OHMS)        ADMITTANCE (MHOS)     POWER
  No:   No:     REAL      IMAGINARY     REAL      IMAGINARY     REAL      IMAGINARY    REAL       IMAGINARY   (WATTS)
)"_s + inputRow + uR"(


                             ---------- RADIATION PATTERNS -----------

 ---- ANGLES -----     ----- POWER GAINS -----       ---- POLARIZATION ----   ---- E(THETA) ----    ----- E(PHI) ------
  THETA      PHI       VERTC    HORIZ    TOTAL       AXIAL      TILT  SENSE   MAGNITUDE    PHASE    MAGNITUDE     PHASE
 DEGREES   DEGREES        DB       DB       DB       RATIO   DEGREES            VOLTS/M   DEGREES     VOLTS/M   DEGREES
)"_s;
    for (const QString &row : patternRows) {
        text += row + u'\n';
    }
    return text + u"\n\n  RUN TIME =     0.016\n"_s;
}

const QString kInputRow =
    u"    2    23  1.0000E+00  0.0000E+00  1.9468E-02  1.2481E-03  5.1155E+01 -3.2795E+00  1.9468E-02  1.2481E-03  9.7342E-03"_s;

const QStringList kPatternRows = {
    u"   90.00      0.00   -999.99     6.04     6.04      0.0000    -90.00 LINEAR  1.1852E-20    -91.50  1.5306E+00      1.41"_s,
    u"   90.00    180.00   -999.99   -37.20   -37.20      0.0000     90.00 LINEAR  1.2862E-20   -137.25  1.0546E-02   -166.41"_s,
    u"   90.00    360.00   -999.99     6.04     6.04      0.0000    -90.00 LINEAR  1.1852E-20    -91.50  1.5306E+00      1.41"_s,
};

} // namespace

class TestNecOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsFeedPointAndPattern();
    void rejects_data();
    void rejects();
    void standingWaveRatio_data();
    void standingWaveRatio();
    void sweepDeckReplacesFrequencyAndPatterns();
};

void TestNecOutput::readsFeedPointAndPattern()
{
    const NecOutput output = parseNecOutput(engineOutput(kInputRow, kPatternRows));
    QCOMPARE(output.error, QString());
    QCOMPARE(output.frequencies.size(), 1);
    const NecFrequencyResult &result = output.frequencies.first();
    QCOMPARE(result.frequency, 146.0);
    QCOMPARE(result.feed.resistance, 51.155);
    QCOMPARE(result.feed.reactance, -3.2795);
    QCOMPARE(result.pattern.size(), 3);
    QCOMPARE(gainTowards(result.pattern, 90, 0), std::optional<double>(6.04));
    QCOMPARE(gainTowards(result.pattern, 90, 180), std::optional<double>(-37.20));
    QCOMPARE(gainTowards(result.pattern, 90, 90), std::nullopt);
    QCOMPARE(gainTowards(result.pattern, 0, 0), std::nullopt);
}

void TestNecOutput::rejects_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");

    QTest::newRow("deck error") << u"\n  GEOMETRY DATA CARD ERROR\n"_s
                                << u"GEOMETRY DATA CARD ERROR"_s;
    QTest::newRow("no input parameters")
        << engineOutput(QString(), {}).remove(u"ANTENNA INPUT PARAMETERS"_s)
        << u"no antenna input parameters"_s;
    QTest::newRow("unreadable impedance")
        << engineOutput(u"    2    23  1.0000E+00  0.0000E+00"_s, kPatternRows)
        << u"unreadable antenna input parameters"_s;
    QTest::newRow("empty output") << QString() << u"no antenna input parameters"_s;
}

void TestNecOutput::rejects()
{
    QFETCH(QString, text);
    QFETCH(QString, error);
    const NecOutput output = parseNecOutput(text);
    QVERIFY2(output.error.contains(error), qPrintable(output.error));
}

void TestNecOutput::standingWaveRatio_data()
{
    QTest::addColumn<double>("resistance");
    QTest::addColumn<double>("reactance");
    QTest::addColumn<double>("swr");

    QTest::newRow("matched") << 50.0 << 0.0 << 1.0;
    QTest::newRow("twice the line") << 100.0 << 0.0 << 2.0;
    QTest::newRow("half the line") << 25.0 << 0.0 << 2.0;
    // |Z - 50| / |Z + 50| for 50 + j50 is 1 / sqrt(5).
    QTest::newRow("reactive") << 50.0 << 50.0
                              << (1 + 1 / std::sqrt(5.0)) / (1 - 1 / std::sqrt(5.0));
}

void TestNecOutput::standingWaveRatio()
{
    QFETCH(double, resistance);
    QFETCH(double, reactance);
    QFETCH(double, swr);
    QVERIFY(std::fabs(moxon::standingWaveRatio({resistance, reactance}) - swr) < 1e-12);
}

void TestNecOutput::sweepDeckReplacesFrequencyAndPatterns()
{
    const QByteArray deck = "CM Moxon Rectangle\r\nCE\r\nGW 1  5 0 0 0 1 0 0 0.01\r\nGS 0 0 1.0\r\n"
                            "GE 0\r\nEX 0 2 18 0 1 0\r\nFR 0 1 0 0 146 1\r\n"
                            "RP 0 1 361 1000 90 0 1 1\r\nRP 0 181 1 1000 -90 0 1 1\r\nEN\r\n";
    QCOMPARE(sweepDeck(deck, 138.7, 1.46, 11),
             QByteArray("CM Moxon Rectangle\r\nCE\r\nGW 1  5 0 0 0 1 0 0 0.01\r\nGS 0 0 1.0\r\n"
                        "GE 0\r\nEX 0 2 18 0 1 0\r\nFR 0 11 0 0 138.7 1.46\r\nXQ\r\nEN\r\n"));
}

QTEST_GUILESS_MAIN(TestNecOutput)
#include "tst_necoutput.moc"
