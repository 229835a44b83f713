#include "calculation.h"
#include "checkrequest.h"
#include "enginebatch.h"
#include "enginedesign.h"
#include "feedline.h"
#include "moxoncli.h"
#include "runnec2c.h"
#include "testsuite.h"
#include "tolerance.h"
#include "touchstonewriter.h"
#include "trim.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <complex>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

// moxon-cli tolerance and trim against the real nec2c engine.
class TestCliTrim : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trimBringsTheAntennaOntoTheTarget_data();
    void trimBringsTheAntennaOntoTheTarget();
    void measuredAtTheRadioGivesTheSameCuts();
    void toleranceAgreesWithTheEngine();
    void dipAloneHoldsForLongTailsAndScale_data();
    void dipAloneHoldsForLongTailsAndScale();
};

void TestCliTrim::trimBringsTheAntennaOntoTheTarget_data()
{
    QTest::addColumn<double>("scale"); // of the antenna as really built
    QTest::addColumn<bool>("file");    // measured as a Touchstone file, else --dip
    QTest::addColumn<double>("lineMetres");
    QTest::addColumn<int>("format");   // into TouchstoneFormat: unit, parameter, numbers
    QTest::addColumn<bool>("trimGap"); // the frame lets E change: the front-to-back within 1 dB

    QTest::newRow("1 % long, S11 in dB, Hz, through 15 m of line")
        << 1.01 << true << 15.0 << 0 << false;
    QTest::newRow("0.7 % short, Z in RI, MHz, version 2, through 7 m of line")
        << 0.993 << true << 7.0 << 1 << false;
    QTest::newRow("1 % long, the dip given") << 1.01 << false << 0.0 << 0 << false;
    QTest::newRow("1 % long, E moved too") << 1.01 << true << 0.0 << 0 << true;
}

void TestCliTrim::trimBringsTheAntennaOntoTheTarget()
{
    QFETCH(double, scale);
    QFETCH(bool, file);
    QFETCH(double, lineMetres);
    QFETCH(int, format);
    QFETCH(bool, trimGap);

    // The antenna as built: every dimension off by the scale, which the builder does not know.
    const TuneSetup setup = designSetup();
    const TuneDimensions built = scaledBy(setup.formula, scale);
    const double designFrontToBack = directFigures(setup, setup.formula).frontToBack;

    // What an analyser in the shack measures of it: 31 points over 13.7 to 14.6 MHz.
    QList<double> frequencies;
    for (int i = 0; i <= 30; ++i) {
        frequencies.append(13.7 + 0.03 * i);
    }
    const QList<SweepPoint> curve = impedances(setup, built, frequencies);
    QCOMPARE(curve.size(), frequencies.size());
    QStringList measurement;
    QTemporaryDir folder;
    if (file) {
        QList<TouchstonePoint> load;
        for (const SweepPoint &point : curve) {
            load.append(
                TouchstonePoint{point.frequencyMhz, {point.feed.resistance, point.feed.reactance}});
        }
        const TouchstoneFormat written =
            format == 0 ? TouchstoneFormat{FrequencyUnit::Hz, NetworkParameter::S,
                                           NumberFormat::DecibelAngle, 50, TouchstoneVersion::One}
                        : TouchstoneFormat{FrequencyUnit::MHz, NetworkParameter::Z,
                                           NumberFormat::RealImaginary, 75, TouchstoneVersion::Two};
        const QString path = folder.filePath(u"antenna.s1p"_s);
        QFile s1p(path);
        QVERIFY(s1p.open(QIODevice::WriteOnly));
        s1p.write(touchstoneS1p(throughLine(load, lineMetres, 0.66), written));
        s1p.close();
        measurement = {u"--measured"_s, path};
    } else {
        // The dip of the analyser's points, as a builder would read it off the screen.
        const auto lowest =
            std::min_element(curve.cbegin(), curve.cend(),
                             [](const auto &x, const auto &y) { return x.swr < y.swr; });
        measurement = {u"--dip"_s, QString::number(lowest->frequencyMhz, 'f', 3)};
    }

    QString err;
    const QJsonObject report = runJson(u"trim"_s,
                                       kDesign + measurement + QStringList{u"--json"_s} +
                                           (trimGap ? QStringList{u"--trim-gap"_s} : QStringList{}),
                                       err);
    QVERIFY2(!report.isEmpty(), qPrintable(err));
    QVERIFY2(std::fabs(report.value(u"scale"_s).toDouble() / scale - 1) < 0.002,
             qPrintable(u"scale %1 for %2"_s.arg(report.value(u"scale"_s).toDouble()).arg(scale)));
    const QJsonObject field = report.value(u"field_trim"_s).toObject();
    QVERIFY2(!field.isEmpty(), qPrintable(report.value(u"field_trim_refusal"_s).toString()));

    // The builder makes the cuts on the antenna itself; nec2c says where it dips now.
    const double driven = field.value(u"driver_tail_change"_s).toDouble();
    const double reflector = field.value(u"reflector_tail_change"_s).toDouble();
    TuneDimensions trimmed = withTails(built, driven, reflector);
    trimmed.e += field.value(u"gap_change"_s).toDouble();
    QCOMPARE(field.value(u"gap_change"_s).toDouble() != 0, trimGap);
    const double dip = directDip(setup, trimmed, kF0);
    const double frontToBack = directFigures(setup, trimmed).frontToBack;
    const QString figures = u"cuts %1 m and %2 m: dip %3 MHz (predicted %4), F/B %5 dB (predicted "
                            u"%6, design's %7)"_s.arg(driven)
                                .arg(reflector)
                                .arg(dip)
                                .arg(field.value(u"predicted_dip_mhz"_s).toDouble())
                                .arg(frontToBack)
                                .arg(field.value(u"front_to_back_db"_s).toDouble())
                                .arg(designFrontToBack);
    qInfo() << figures << report.value(u"scale"_s).toDouble();
    QVERIFY2(std::fabs(dip / kF0 - 1) < 0.0025, qPrintable(figures));
    QVERIFY2(frontToBack >= designFrontToBack - (trimGap ? 1 : 3), qPrintable(figures));
    // Near the deep null the gap's trim reaches, a millimetre moves the front-to-back by dBs:
    // there the prediction must only not promise more than the antenna gives.
    const double predicted = field.value(u"front_to_back_db"_s).toDouble();
    QVERIFY2(trimGap ? frontToBack > predicted - 1 : std::fabs(predicted - frontToBack) < 1,
             qPrintable(figures));
}

// The same antenna measured at its feed point and at the radio's end of 30 m of RG-58: the
// file from the radio, turned back through the line, gives the same cuts within the display's
// step and the antenna's own SWR at the dip, which the line's loss hides at the radio.
void TestCliTrim::measuredAtTheRadioGivesTheSameCuts()
{
    const TuneSetup setup = designSetup();
    QList<double> frequencies;
    for (int i = 0; i <= 30; ++i) {
        frequencies.append(13.7 + 0.03 * i);
    }
    const QList<SweepPoint> curve = impedances(setup, scaledBy(setup.formula, 1.01), frequencies);
    QCOMPARE(curve.size(), frequencies.size());
    QList<TouchstonePoint> load;
    for (const SweepPoint &point : curve) {
        load.append(
            TouchstonePoint{point.frequencyMhz, {point.feed.resistance, point.feed.reactance}});
    }
    const LossyLine line(cableOf(*cablePreset(u"RG-58")));
    const TouchstoneFormat format{FrequencyUnit::Hz, NetworkParameter::S,
                                  NumberFormat::DecibelAngle, 50, TouchstoneVersion::One};
    QTemporaryDir folder;
    QList<QJsonObject> reports;
    for (const bool atRadio : {false, true}) {
        const QString path = folder.filePath(atRadio ? u"radio.s1p"_s : u"antenna.s1p"_s);
        QFile s1p(path);
        QVERIFY(s1p.open(QIODevice::WriteOnly));
        s1p.write(touchstoneS1p(atRadio ? throughLine(load, line, 30) : load, format));
        s1p.close();
        QStringList arguments = kDesign + QStringList{u"--measured"_s, path, u"--json"_s};
        if (atRadio) {
            arguments += {u"--measured-at"_s,     u"radio"_s, u"--feedline"_s, u"RG-58"_s,
                          u"--feedline-length"_s, u"30"_s};
        }
        QString err;
        reports.append(runJson(u"trim"_s, arguments, err));
        QVERIFY2(!reports.last().isEmpty(), qPrintable(err));
    }
    const QJsonObject &atAntenna = reports.at(0);
    const QJsonObject &atRadio = reports.at(1);
    QCOMPARE(atAntenna.value(u"measured_at"_s).toString(), u"antenna"_s);
    QCOMPARE(atRadio.value(u"measured_at"_s).toString(), u"radio"_s);
    const double dip = atAntenna.value(u"measured_dip_mhz"_s).toDouble();
    const double raw = atRadio.value(u"raw_dip_mhz"_s).toDouble();
    const double turned = atRadio.value(u"deembedded_dip_mhz"_s).toDouble();
    const QString dips =
        u"dip %1 MHz at the antenna; at the radio %2 MHz, turned back %3 MHz"_s.arg(dip)
            .arg(raw)
            .arg(turned);
    qInfo() << dips;
    QVERIFY2(std::fabs(turned - dip) < 0.0005, qPrintable(dips));
    QVERIFY2(std::fabs(atRadio.value(u"measured_dip_mhz"_s).toDouble() - turned) < 1e-9,
             qPrintable(dips));
    // The loss shrinks |Γ| alike at every frequency, so the raw dip stays near the antenna's.
    QVERIFY2(std::fabs(raw - dip) < 0.005, qPrintable(dips));
    const QRegularExpression swr(u"SWR (\\d+\\.\\d+)"_s);
    const QString whenceAntenna = atAntenna.value(u"measured_from"_s).toString();
    const QString whenceRadio = atRadio.value(u"measured_from"_s).toString();
    const double swrAntenna = swr.match(whenceAntenna).captured(1).toDouble();
    const double swrTurned = swr.match(whenceRadio).captured(1).toDouble();
    QVERIFY2(swrAntenna > 1 && std::fabs(swrTurned - swrAntenna) <= 0.011,
             qPrintable(whenceAntenna + u" / "_s + whenceRadio));
    QVERIFY2(whenceRadio.contains(u"turned back"_s), qPrintable(whenceRadio));
    const QJsonObject fieldAntenna = atAntenna.value(u"field_trim"_s).toObject();
    const QJsonObject fieldRadio = atRadio.value(u"field_trim"_s).toObject();
    QVERIFY(!fieldAntenna.isEmpty() && !fieldRadio.isEmpty());
    for (const QString &cut : {u"driver_tail_change"_s, u"reflector_tail_change"_s}) {
        const double a = fieldAntenna.value(cut).toDouble();
        const double b = fieldRadio.value(cut).toDouble();
        // Metres, shown to 0.1 mm.
        QVERIFY2(std::fabs(a - b) <= 1e-4 + 1e-9,
                 qPrintable(u"%1: %2 m and %3 m"_s.arg(cut).arg(a).arg(b)));
    }
}

void TestCliTrim::toleranceAgreesWithTheEngine()
{
    QString err;
    const QJsonObject report = runJson(u"tolerance"_s, kDesign + QStringList{u"--json"_s}, err);
    QVERIFY2(!report.isEmpty(), qPrintable(err));
    const TuneSetup setup = designSetup();
    const double h = report.value(u"difference_step"_s).toDouble();
    const double dip = report.value(u"dip_mhz"_s).toDouble();
    const double floor =
        report.value(u"limits"_s).toObject().value(u"front_to_back_db"_s).toDouble();
    QVERIFY(h > 0.005 && h < 0.02);
    QVERIFY2(std::fabs(dip - directDip(setup, setup.formula, 14.073)) < 0.0005, qPrintable(err));

    const QJsonObject dimensions = report.value(u"dimensions"_s).toObject();
    for (const CutDimension dimension : kCutDimensions) {
        const QString letter = QString(QChar(u'a' + int(dimension)));
        const QJsonObject cut = dimensions.value(letter).toObject();
        // The dip's move per centimetre against nec2c's own dips of the changed antennas.
        const double longer = directDip(setup, withCut(setup.formula, dimension, h), dip);
        const double shorter = directDip(setup, withCut(setup.formula, dimension, -h), dip);
        const double perStep = (longer - shorter) / (2 * h) * 1000 * 0.01;
        const double reported = cut.value(u"dip_khz_per_step"_s).toDouble();
        const QString row = u"%1: %2 kHz/cm, nec2c's %3"_s.arg(letter).arg(reported).arg(perStep);
        qInfo() << row;
        QVERIFY2(longer > 0 && shorter > 0, qPrintable(row));
        QVERIFY2(std::fabs(reported - perStep) < 0.05 * std::fabs(perStep), qPrintable(row));

        // Each tolerance: within both limits a little short of it, past one a little beyond.
        for (const double sign : {-1.0, 1.0}) {
            const QString key = sign < 0 ? u"minus"_s : u"plus"_s;
            const double tolerance = cut.value(u"tolerance_"_s + key).toDouble();
            const QString limit = cut.value(u"limit_"_s + key).toString();
            const auto within = [&](double change) {
                const DesignFigures f =
                    directFigures(setup, withCut(setup.formula, dimension, sign * change));
                return f.swr <= kToleranceSwr && f.frontToBack >= floor;
            };
            const QString way = u"%1, %2 %3 m (%4)"_s.arg(row, key).arg(tolerance).arg(limit);
            QVERIFY2(tolerance > 0, qPrintable(way));
            QVERIFY2(within(0.9 * tolerance), qPrintable(way));
            if (limit != u"search_end") {
                QVERIFY2(!within(1.1 * tolerance), qPrintable(way));
            }
        }
    }
    QVERIFY(report.value(u"yield"_s).toDouble() > 0.5);
    QVERIFY(report.value(u"dip_spread_khz"_s).toDouble() > 5);
}

void TestCliTrim::dipAloneHoldsForLongTailsAndScale_data()
{
    QTest::addColumn<bool>("scaled"); // else both pairs of tails 2 cm long

    QTest::newRow("both pairs of tails 2 cm long") << false;
    QTest::newRow("longer all over, dipping alike") << true;
}

// A 10 m antenna of 3 mm aluminium 6 m over very poor ground, built with both pairs of tails
// 2 cm long, and one that behaves longer all over instead, dipping where the first does: a dip
// alone cannot tell them apart. The trim from that dip, made on either real antenna, puts its
// dip on the design frequency and keeps its front-to-back within 3 dB of the design's; the
// front-to-back the trim gives for each is nec2c's of the antenna it stands for, trimmed: the
// prediction the scaled one's, the long-tailed figure that of the antenna with the tails the
// trim reads from the dip, which are the real 2 cm to first order.
void TestCliTrim::dipAloneHoldsForLongTailsAndScale()
{
    QFETCH(bool, scaled);

    const Calculation run = calculate(FormInputs{u"28.5"_s, u"3"_s, WireUnit::Millimetre},
                                      DisplayUnit::Metre, LocaleNumbers(QLocale::c()));
    const TuneSetup setup = tuneSetup(
        modelInputFor(run.shown, run.input, false, true), run.shown.values, run.form.wireSize,
        Installation{6, {GroundKind::Real, 5, 0.001}, aluminium(), {}});
    const QStringList design{u"-f"_s,          u"28.5"_s,     u"-w"_s,       u"3"_s,
                             u"--wire-unit"_s, u"mm"_s,       u"-u"_s,       u"m"_s,
                             u"--height"_s,    u"6"_s,        u"--ground"_s, u"very-poor"_s,
                             u"--conductor"_s, u"aluminium"_s};
    constexpr double kStep = 0.01; // MHz, of the direct runs finding a dip
    const auto dipOf = [&setup](const TuneDimensions &dims, double guessMhz) {
        return parabolaDip(impedances(setup, dims, dipSearchFrequencies(guessMhz, kStep)), kStep);
    };
    TuneDimensions real = withTails(setup.formula, 0.02, 0.02);
    const double dip = dipOf(real, 28.09);
    QVERIFY2(dip > 0, "the long-tailed antenna's dip lies beyond the search");
    if (scaled) {
        // Scaled by the dips' ratio, then once more by what is left, to dip within a kHz.
        const double modelDip = dipOf(setup.formula, 28.45);
        real = scaledBy(setup.formula, modelDip / dip);
        real = scaledBy(real, dipOf(real, dip) / dip);
        QVERIFY2(std::fabs(dipOf(real, dip) - dip) < 0.001, "the scaled antenna dips elsewhere");
    }

    QString err;
    const QJsonObject report =
        runJson(u"trim"_s,
                design + QStringList{u"--dip"_s, QString::number(dip, 'f', 4), u"--json"_s}, err);
    QVERIFY2(!report.isEmpty(), qPrintable(err));
    QVERIFY(report.value(u"dip_alone"_s).toBool());
    const QJsonObject field = report.value(u"field_trim"_s).toObject();
    QVERIFY2(!field.isEmpty(), qPrintable(report.value(u"field_trim_refusal"_s).toString()));
    const double driven = field.value(u"driver_tail_change"_s).toDouble();
    const double reflector = field.value(u"reflector_tail_change"_s).toDouble();
    const TuneDimensions trimmed = withTails(real, driven, reflector);
    const double designFb = directFigures(setup, setup.formula).frontToBack;
    const double frontToBack = directFigures(setup, trimmed).frontToBack;
    const double trimmedDip = dipOf(trimmed, 28.5);
    const double readTails = report.value(u"long_tails"_s).toDouble(qQNaN());
    const double given =
        field.value(scaled ? u"front_to_back_db"_s : u"long_tails_front_to_back_db"_s)
            .toDouble(qQNaN());
    // The antenna the given figure stands for, trimmed.
    const double standsFor =
        scaled ? frontToBack
               : directFigures(setup,
                               withTails(setup.formula, readTails + driven, readTails + reflector))
                     .frontToBack;
    const QString figures =
        u"dip %1 MHz; cuts %2 m and %3 m: dip %4 MHz, F/B %5 dB, the design's %6 dB; the trim "
        u"gives %7 dB for %8 dB, the tails read %9 m"_s.arg(dip)
            .arg(driven)
            .arg(reflector)
            .arg(trimmedDip)
            .arg(frontToBack)
            .arg(designFb)
            .arg(given)
            .arg(standsFor)
            .arg(readTails);
    qInfo() << figures;
    QVERIFY2(std::fabs(trimmedDip / 28.5 - 1) < 0.0025, qPrintable(figures));
    QVERIFY2(frontToBack > designFb - 3, qPrintable(figures));
    QVERIFY2(std::fabs(given - standsFor) < 1, qPrintable(figures));
    QVERIFY2(scaled || std::fabs(readTails - 0.02) < 0.002, qPrintable(figures));
}

MOXON_TEST_GUILESS_MAIN(TestCliTrim)
#include "tst_clitrim.moc"
