#include "diagnosis.h"
#include "diagnosiscurve.h"
#include "diagnosisstandin.h"
#include "diagnosistrim.h"
#include "lossyline.h"
#include "standinantenna.h"
#include "testsuite.h"

#include <QTest>

#include <cmath>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

class TestDiagnosis : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recoversTheErrors_data();
    void recoversTheErrors();
    void findsTheLinesTurn_data();
    void findsTheLinesTurn();
    void newFrameWhereNoTrimHolds_data();
    void newFrameWhereNoTrimHolds();
    void refusesWhatItCannotExplain_data();
    void refusesWhatItCannotExplain();
    void tooFewFrequencies_data();
    void tooFewFrequencies();
    void noiseFromTheCurve_data();
    void noiseFromTheCurve();
};

void TestDiagnosis::recoversTheErrors_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("driverError");    // metres, each tail
    QTest::addColumn<double>("reflectorError"); // metres, each tail
    QTest::addColumn<double>("lineError");      // metres; NaN: measured at the antenna
    QTest::addColumn<bool>("trimGap");          // whether the frame was said to let E move

    QTest::newRow("as modelled") << 1.0 << 0.0 << 0.0 << qQNaN() << false;
    QTest::newRow("1 % long, driver 3 cm long, reflector 2 cm short")
        << 1.01 << 0.03 << -0.02 << qQNaN() << false;
    QTest::newRow("the same, the frame said to let E move")
        << 1.01 << 0.03 << -0.02 << qQNaN() << true;
    QTest::newRow("1.5 % short, reflector 4 cm long") << 0.985 << 0.0 << 0.04 << qQNaN() << false;
    QTest::newRow("at the radio, the line 40 cm longer than given")
        << 1.008 << -0.025 << 0.015 << 0.4 << false;
}

// Noise-free readings of a stand-in built with known errors: the fit lands on them, explains
// the measurement, and its trim brings the real antenna's dip onto the target.
void TestDiagnosis::recoversTheErrors()
{
    QFETCH(double, scale);
    QFETCH(double, driverError);
    QFETCH(double, reflectorError);
    QFETCH(double, lineError);
    QFETCH(bool, trimGap);

    StandInAntenna antenna;
    const TuneDimensions &built = antenna.reference;
    const TuneDimensions real = scaledBy(withTails(built, driverError, reflectorError), scale);
    DiagnosisMeasurement measurement;
    measurement.trimGap = trimGap;
    const bool atRadio = !std::isnan(lineError);
    if (atRadio) {
        measurement.line = FeedLine{cableOf(*cablePreset(u"RG-58")), 20};
    }
    const auto measured = [&](double mhz) {
        return diagnosing::atMeasuredPlane(impedance(antenna, real, mhz), mhz, measurement.line,
                                           20 + (atRadio ? lineError : 0));
    };
    measurement.points = readings(measured, 41, 0.05, 0);
    const DiagnosisResult result =
        diagnose(standInSetup(built, kF0), measurement, kF0, engineOf(antenna));
    QVERIFY2(result.ok(), qPrintable(result.message));
    const QString found = u"scale %1, driver %2 m, reflector %3 m, residual %4 ohm in %5 steps"_s
                              .arg(result.scale.value, 0, 'f', 6)
                              .arg(result.driverTailError.value, 0, 'f', 5)
                              .arg(result.reflectorTailError.value, 0, 'f', 5)
                              .arg(result.residualOhm)
                              .arg(result.iterations);
    qInfo() << found;
    QVERIFY2(std::fabs(result.scale.value - scale) < 1e-5, qPrintable(found));
    QVERIFY2(std::fabs(result.driverTailError.value - driverError) < 1e-4, qPrintable(found));
    QVERIFY2(std::fabs(result.reflectorTailError.value - reflectorError) < 1e-4, qPrintable(found));
    QCOMPARE(result.lineLengthError.has_value(), atRadio);
    if (atRadio) {
        QVERIFY2(std::fabs(result.lineLengthError->value - lineError) < 1e-3, qPrintable(found));
    }
    QVERIFY2(result.residualOhm < 0.01 && result.explained, qPrintable(found));
    QCOMPARE(result.engineRuns, antenna.engineRuns);
    QCOMPARE(result.measuredCurve.size(), 41);
    QCOMPARE(result.fittedCurve.size(), 41);

    // The trim's cuts, made on the real antenna, put its dip on the target.
    const auto madeOnTheReal = [&](const FieldTrim &trim) {
        return scaledBy(cutAs(withTails(built, driverError, reflectorError), trim), scale);
    };
    QVERIFY(result.trim && result.trim->fieldTrim);
    const TuneDimensions cut = madeOnTheReal(*result.trim->fieldTrim);
    QVERIFY2(std::fabs(antenna.dipMhz(cut) / kF0 - 1) < 0.0025,
             qPrintable(u"trimmed dip %1 MHz"_s.arg(antenna.dipMhz(cut))));
    // The trim is held to the design's front-to-back too: the dimensions as given, at f0.
    QCOMPARE(result.trim->designFrontToBack.value_or(-1), antenna.frontToBack(built, kF0));

    // Where the tails leave the front-to-back short or with little to spare and E was not said
    // to move, E's trim comes beside theirs where it does better, as here it always does.
    const double tailsFrontToBack = result.trim->fieldTrim->antenna.figures.frontToBack;
    const double held =
        heldFrontToBack(result.trim->rebuild.figures.frontToBack, result.trim->designFrontToBack);
    QCOMPARE(result.gapTrim.has_value(),
             !trimGap && tailsFrontToBack < held + diagnosing::kGapTrimSpareDb);
    QVERIFY(!result.newFrame); // the stand-in's frame is no matter: E gets back what it loses
    if (!result.gapTrim) {
        return;
    }
    QVERIFY(result.gapTrim->ok() && result.gapTrim->fieldTrim &&
            result.gapTrim->fieldTrim->antenna.figures.frontToBack > tailsFrontToBack);
    const FieldTrim &moved = *result.gapTrim->fieldTrim;
    const TuneDimensions movedCut = madeOnTheReal(moved);
    const double movedFrontToBack = antenna.frontToBack(movedCut, kF0);
    const QString said =
        u"E %1 m: dip %2 MHz, F/B %3 dB against %4 dB by the tails alone"_s.arg(moved.gapChange)
            .arg(antenna.dipMhz(movedCut))
            .arg(movedFrontToBack)
            .arg(antenna.frontToBack(cut, kF0));
    qInfo() << said;
    QVERIFY2(moved.gapChange != 0 && std::fabs(antenna.dipMhz(movedCut) / kF0 - 1) < 0.0025,
             qPrintable(said));
    QVERIFY2(movedFrontToBack >= result.trim->rebuild.figures.frontToBack - 1, qPrintable(said));
}

void TestDiagnosis::findsTheLinesTurn_data()
{
    QTest::addColumn<QString>("cable");
    QTest::addColumn<double>("turns"); // the told length's error, in half wavelengths in the line

    QTest::newRow("RG-58, 0.6 turn longer") << u"RG-58"_s << 0.6;
    QTest::newRow("RG-58, 1.3 turns shorter") << u"RG-58"_s << -1.3;
    QTest::newRow("LMR-400, 0.45 turn shorter") << u"LMR-400"_s << -0.45;
    QTest::newRow("LMR-400, 1.4 turns longer") << u"LMR-400"_s << 1.4;
    QTest::newRow("Aircell-7, 0.9 turn longer") << u"Aircell-7"_s << 0.9;
}

// A line's reflection turns once in every half wavelength of it, so that a length told that
// far off fits the readings near the centre as well as the true one: the fit still finds the
// true length, from the slope of the turn across the band, on lines of different speeds.
void TestDiagnosis::findsTheLinesTurn()
{
    QFETCH(QString, cable);
    QFETCH(double, turns);

    StandInAntenna antenna;
    const TuneDimensions &built = antenna.reference;
    const TuneDimensions real = scaledBy(withTails(built, 0.02, -0.01), 1.005);
    const CablePreset *preset = cablePreset(cable);
    QVERIFY(preset != nullptr);
    DiagnosisMeasurement measurement;
    measurement.line = FeedLine{cableOf(*preset), 30};
    const double error = turns * preset->velocityFactor * freeSpaceWavelength(kF0) / 2;
    measurement.points = readings(
        [&](double mhz) {
            return diagnosing::atMeasuredPlane(impedance(antenna, real, mhz), mhz,
                                               measurement.line, 30 + error);
        },
        41, 0.05, 0);
    const DiagnosisResult result =
        diagnose(standInSetup(built, kF0), measurement, kF0, engineOf(antenna));
    QVERIFY2(result.ok() && result.lineLengthError, qPrintable(result.message));
    const QString found = u"line %1 m against %2 m, scale %3, residual %4 ohm"_s
                              .arg(result.lineLengthError->value)
                              .arg(error)
                              .arg(result.scale.value)
                              .arg(result.residualOhm);
    QVERIFY2(std::fabs(result.lineLengthError->value - error) < 1e-3, qPrintable(found));
    QVERIFY2(std::fabs(result.scale.value - 1.005) < 1e-5 && result.explained, qPrintable(found));
}

void TestDiagnosis::newFrameWhereNoTrimHolds_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("frame"); // frameFrontToBack()'s three
    QTest::addColumn<double>("lift");
    QTest::addColumn<double>("stiff");
    QTest::addColumn<bool>("offered");

    QTest::newRow("1.3 % long, the frame's size telling") << 1.013 << 3.0 << 0.0 << 0.0 << true;
    QTest::newRow("1.2 % short, the frame's size telling") << 0.988 << 3.0 << 0.0 << 0.0 << true;
    QTest::newRow("1.3 % long, its size no matter") << 1.013 << 0.0 << 0.0 << 0.0 << false;
    QTest::newRow("0.3 % long, its size telling") << 1.003 << 3.0 << 0.0 << 0.0 << false;
    QTest::newRow("1.3 % long, short above 30 dB") << 1.013 << 3.0 << 10.0 << 0.0 << false;
    QTest::newRow("1.3 % long, E's trim only loses") << 1.013 << 3.0 << 0.0 << 20.0 << true;
}

// Where the frame's own size costs more front-to-back than the tails and E can get back, the
// diagnosis offers a new frame: built anew, the real antenna dips on the target and holds the
// design's front-to-back. None where a trim holds it, or where the trims are above 30 dB; and
// E's trim only where it does better than the tails'.
void TestDiagnosis::newFrameWhereNoTrimHolds()
{
    QFETCH(double, scale);
    QFETCH(double, frame);
    QFETCH(double, lift);
    QFETCH(double, stiff);
    QFETCH(bool, offered);

    StandInAntenna antenna;
    const TuneDimensions real = scaledBy(withTails(antenna.reference, 0.02, -0.015), scale);
    DiagnosisMeasurement measurement;
    measurement.points =
        readings([&](double mhz) { return impedance(antenna, real, mhz); }, 41, 0.05, 0);
    const DiagnosisResult result = diagnose(standInSetup(antenna.reference, kF0), measurement, kF0,
                                            frameEngineOf(antenna, frame, lift, stiff));
    QVERIFY2(result.ok() && result.explained, qPrintable(result.message));
    const double design = frameFrontToBack(antenna, antenna.reference, kF0, frame, lift, stiff);
    const double led = ledFrontToBack(result).value_or(qQNaN());
    const QString said = u"the trim led with: %1 dB, the design: %2 dB"_s.arg(led).arg(design);
    QVERIFY2(result.newFrame.has_value() == offered, qPrintable(said));
    QCOMPARE(result.engineRuns, antenna.engineRuns);
    QVERIFY(!result.gapTrim || result.gapTrim->fieldTrim->antenna.figures.frontToBack >
                                   result.trim->fieldTrim->antenna.figures.frontToBack);
    QVERIFY2(led < design - 1 || (!offered && lift == 0), qPrintable(said));
    QVERIFY2(led >= diagnosing::kNewFrameBelowDb || lift == 0, qPrintable(said));
    if (offered) {
        const TuneDimensions made = scaledBy(result.newFrame->fieldTrim->antenna.dimensions, scale);
        const double dip = antenna.dipMhz(made);
        const double madeFrontToBack = frameFrontToBack(antenna, made, kF0, frame, lift, stiff);
        qInfo() << said << "; the new frame:" << dip << "MHz," << madeFrontToBack << "dB";
        QVERIFY(std::fabs(dip / kF0 - 1) < 0.0025 && madeFrontToBack > design - 1);
    }
}

void TestDiagnosis::refusesWhatItCannotExplain_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("dipole"); // else the stand-in itself, 1 % long
    QTest::addColumn<AnalysisFault>("fault");

    QTest::newRow("a dipole's file") << 41 << true << AnalysisFault::None;
}

void TestDiagnosis::refusesWhatItCannotExplain()
{
    QFETCH(int, count);
    QFETCH(bool, dipole);
    QFETCH(AnalysisFault, fault);

    StandInAntenna antenna;
    DiagnosisMeasurement measurement;
    // A half-wave dipole resonant near 14.1 MHz: 73 ohms rising with frequency, and a
    // reactance of its own slope (Balanis, "Antenna Theory", 3rd ed., §8.5, dipole impedance).
    const auto dipoleZ = [](double mhz) {
        const double x = mhz / 14.1 - 1;
        return std::complex<double>(73 + 250 * x, 42.5 + 900 * x);
    };
    const auto moxonZ = [&antenna](double mhz) {
        return impedance(antenna, scaledBy(antenna.reference, 1.01), mhz);
    };
    measurement.points =
        readings(dipole ? std::function(dipoleZ) : std::function(moxonZ), count, 0.05, 0.2);
    const DiagnosisResult result =
        diagnose(standInSetup(antenna.reference, kF0), measurement, kF0, engineOf(antenna));
    QCOMPARE(result.fault, fault);
    QVERIFY(!result.trim);
    if (fault == AnalysisFault::None) {
        QVERIFY2(result.ok(), qPrintable(result.message));
        QVERIFY2(
            !result.explained && result.residualOhm > 10 * result.noiseOhm,
            qPrintable(
                u"residual %1 ohm, noise %2 ohm"_s.arg(result.residualOhm).arg(result.noiseOhm)));
    } else {
        QVERIFY(!result.ok() && !result.message.isEmpty());
        QCOMPARE(result.engineRuns, 0);
    }
}

void TestDiagnosis::tooFewFrequencies_data()
{
    QTest::addColumn<int>("count"); // readings over +-5 % of the design frequency
    QTest::addColumn<bool>("trimmed");

    QTest::newRow("six readings: the trim from their dip") << 6 << true;
    QTest::newRow("two readings: no dip to trim from") << 2 << false;
}

// Too few readings to fit: the stand-in 1 % long is trimmed from the file's dip alone, the cut
// holding for a long-tailed antenna too; without a dip the file is refused before any run.
void TestDiagnosis::tooFewFrequencies()
{
    QFETCH(int, count);
    QFETCH(bool, trimmed);

    StandInAntenna antenna;
    const TuneDimensions real = scaledBy(antenna.reference, 1.01);
    DiagnosisMeasurement measurement;
    measurement.points = readings(
        [&antenna, &real](double mhz) { return impedance(antenna, real, mhz); }, count, 0.05, 0);
    const DiagnosisResult result =
        diagnose(standInSetup(antenna.reference, kF0), measurement, kF0, engineOf(antenna));
    QCOMPARE(result.engineRuns, antenna.engineRuns);
    QVERIFY(!result.explained);
    if (!trimmed) {
        QCOMPARE(result.fault, AnalysisFault::BadInput);
        QVERIFY2(result.message.contains(u"takes at least 3"_s), qPrintable(result.message));
        QVERIFY(!result.trim && !result.dipAlone);
        QCOMPARE(result.engineRuns, 0);
        return;
    }
    QVERIFY2(result.ok(), qPrintable(result.message));
    QVERIFY(result.dipAlone && result.trim && result.trim->dipAlone);
    QCOMPARE(result.measuredCurve.size(), count);
    QVERIFY(result.fittedCurve.isEmpty());
    QVERIFY(result.trim->fieldTrim && result.trim->fieldTrim->longTailsFrontToBack);
    // The cut on the real antenna dips on the target, to the trim's agreement and the error of
    // the dip read between readings 2 % apart.
    const FieldTrim &field = *result.trim->fieldTrim;
    const double readError = std::fabs(result.trim->measuredDipMhz / antenna.dipMhz(real) - 1);
    const double cutDip =
        antenna.dipMhz(withTails(real, field.drivenTailChange, field.reflectorTailChange));
    QVERIFY2(
        std::fabs(cutDip / kF0 - 1) < 0.0025 + readError,
        qPrintable(u"dip read at %1 MHz, the cut dips at %2 MHz"_s.arg(result.trim->measuredDipMhz)
                       .arg(cutDip)));
}

void TestDiagnosis::noiseFromTheCurve_data()
{
    QTest::addColumn<double>("noise"); // ohms in each part
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("lineMetres"); // of RG-58 to the radio; 0: read at the antenna

    QTest::newRow("none, 201 readings") << 0.0 << 201 << 0.0;
    QTest::newRow("0.5 ohm, 201 readings") << 0.5 << 201 << 0.0;
    QTest::newRow("0.5 ohm, 21 readings") << 0.5 << 21 << 0.0;
    QTest::newRow("2 ohm, 101 readings") << 2.0 << 101 << 0.0;
    // The curve at the radio turns round the chart by some 30 degrees from one reading to the
    // next: a straight line through the neighbours there would miss it by more than the noise.
    QTest::newRow("0.5 ohm, 21 readings through 60 m") << 0.5 << 21 << 60.0;
    QTest::newRow("none, 41 readings through 60 m") << 0.0 << 41 << 60.0;
}

// The noise read from the curve's smoothness is the readings' own, whatever the curve does and
// wherever it was read.
void TestDiagnosis::noiseFromTheCurve()
{
    QFETCH(double, noise);
    QFETCH(int, count);
    QFETCH(double, lineMetres);

    StandInAntenna antenna;
    std::optional<FeedLine> line;
    if (lineMetres > 0) {
        line = FeedLine{cableOf(*cablePreset(u"RG-58")), lineMetres};
    }
    const auto z = [&antenna, &line](double mhz) {
        return diagnosing::atMeasuredPlane(impedance(antenna, antenna.reference, mhz), mhz, line,
                                           line ? line->lengthMetres : 0);
    };
    const std::optional<double> found =
        diagnosing::readingNoise(readings(z, count, kDiagnosisRangeShare, noise, 11), line);
    QVERIFY(found);
    // The median of 20 misses scatters by about a fifth; of 200, by less than a tenth.
    const double allowed = noise * (count < 50 ? 0.4 : 0.15) + 0.02;
    QVERIFY2(std::fabs(*found - noise) < allowed,
             qPrintable(u"found %1 ohm for %2 ohm"_s.arg(*found).arg(noise)));
}

MOXON_TEST_GUILESS_MAIN(TestDiagnosis)
#include "tst_diagnosis.moc"
