#include "checkreport.h"
#include "figures.h"
#include "machineformats.h"
#include "nec2crunner.h"
#include "necoutput.h"
#include "sweepplan.h"
#include "testsuite.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QTest>

#include <cmath>
#include <numeric>

using namespace moxon;
using namespace Qt::StringLiterals;

namespace {

CheckRequest request(BeamAxis axis)
{
    CheckRequest request;
    request.frequencyMhz = 146;
    request.axis = axis;
    return request;
}

// Outputs of nec2c 1.3 on the start-up deck (146 MHz, beam along X), on the same antenna
// turned onto the Y axis, on the 41-point sweep deck of that design and on a deck with an
// unknown geometry card; truncated.out is the start of startup.out, cut in a pattern table.
QString stored(const QString &name)
{
    QFile file(QStringLiteral(MOXON_TEST_DATA_DIR "/nec2c/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("missing test data %s", qPrintable(name));
    }
    return QString::fromLatin1(file.readAll());
}

EngineRun storedRun(const QString &name)
{
    return {stored(name), {}, EngineFailure::None};
}

// The first `count` points of the sweep in one slice; all of them are what the stored sweep
// output answers.
SweepSlice wholeSweep(int count = kSweepPoints)
{
    QList<int> points(count);
    std::iota(points.begin(), points.end(), 0);
    return sweepSlice({}, 146, points);
}

// The frequencies that the frequency cards of `deck` ask the engine for, in MHz.
QList<double> askedFrequencies(const QByteArray &deck)
{
    QList<double> frequencies;
    for (const QByteArray &card : deck.split('\n')) {
        const QList<QByteArray> fields = card.simplified().split(' ');
        if (fields.size() == 7 && fields.first() == "FR") {
            for (int i = 0; i < fields.at(2).toInt(); ++i) {
                frequencies.append(fields.at(5).toDouble() + i * fields.at(6).toDouble());
            }
        }
    }
    return frequencies;
}

bool near(double a, double b, double tolerance = 1e-9)
{
    return std::fabs(a - b) <= tolerance;
}

// A cut of whole degrees whose gain falls by `slope` dB per degree either side of `forward`.
QList<CutPoint> vee(double forward, double slopeLeft, double slopeRight)
{
    QList<CutPoint> cut;
    for (int phi = 0; phi <= 360; ++phi) {
        double offset = std::fmod(phi - forward + 540.0, 360.0) - 180;
        cut.append({double(phi), 5 - (offset >= 0 ? slopeRight * offset : -slopeLeft * offset)});
    }
    return cut;
}

} // namespace

class TestNecOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsStoredOutput_data();
    void readsStoredOutput();
    void rejects_data();
    void rejects();
    void standingWaveRatio_data();
    void standingWaveRatio();
    void sweepDeckReplacesFrequencyAndPatterns();
    void slicesCoverTheSweepOnce_data();
    void slicesCoverTheSweepOnce();
    void designFigures_data();
    void designFigures();
    void figuresOverGround();
    void beamwidth_data();
    void beamwidth();
    void bandwidth_data();
    void bandwidth();
    void sliceRun_data();
    void sliceRun();
    void reportAsJson();
};

void TestNecOutput::readsStoredOutput_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("frequencies");
    QTest::addColumn<double>("firstMhz");
    QTest::addColumn<double>("lastMhz");
    QTest::addColumn<double>("resistance"); // of the first frequency, ohms
    QTest::addColumn<double>("reactance");
    QTest::addColumn<QList<qsizetype>>("tableStarts");
    QTest::addColumn<int>("patternPoints");

    QTest::newRow("design run") << u"startup.out"_s << 1 << 146.0 << 146.0 << 51.155 << -3.2795
                                << QList<qsizetype>{0, 361} << 361 + 181;
    QTest::newRow("sweep run") << u"sweep41.out"_s << 41 << 138.70 << 153.30 << 13.469 << -77.389
                               << QList<qsizetype>{} << 0;
}

void TestNecOutput::readsStoredOutput()
{
    QFETCH(QString, file);
    QFETCH(int, frequencies);
    QFETCH(double, firstMhz);
    QFETCH(double, lastMhz);
    QFETCH(double, resistance);
    QFETCH(double, reactance);
    QFETCH(QList<qsizetype>, tableStarts);
    QFETCH(int, patternPoints);

    const NecOutput output = parseNecOutput(stored(file));
    QCOMPARE(output.error, QString());
    QCOMPARE(output.fault, OutputFault::None);
    QCOMPARE(output.frequencies.size(), frequencies);
    QCOMPARE(output.frequencies.first().frequency, firstMhz);
    QCOMPARE(output.frequencies.last().frequency, lastMhz);
    QCOMPARE(output.frequencies.first().feed.resistance, resistance);
    QCOMPARE(output.frequencies.first().feed.reactance, reactance);
    QCOMPARE(output.frequencies.first().tableStarts, tableStarts);
    QCOMPARE(output.frequencies.first().pattern.size(), patternPoints);
}

void TestNecOutput::rejects_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<OutputFault>("fault");
    QTest::addColumn<QString>("error");

    const QString design = stored(u"startup.out"_s);
    QTest::newRow("deck error") << stored(u"deckerror.out"_s) << OutputFault::DeckError
                                << u"GEOMETRY DATA CARD ERROR"_s;
    QTest::newRow("truncated in a pattern table")
        << stored(u"truncated.out"_s) << OutputFault::Truncated << u"stops before"_s;
    QTest::newRow("no input parameters")
        << QString(design).remove(u"ANTENNA INPUT PARAMETERS"_s) << OutputFault::Unreadable
        << u"no antenna input parameters"_s;
    QTest::newRow("unreadable impedance")
        << QString(design).replace(u"5.1155E+01 -3.2795E+00"_s, u"5.1155E+01 ******"_s)
        << OutputFault::Unreadable << u"unreadable antenna input parameters"_s;
    QTest::newRow("empty output") << QString() << OutputFault::Unreadable
                                  << u"no antenna input parameters"_s;
}

void TestNecOutput::rejects()
{
    QFETCH(QString, text);
    QFETCH(OutputFault, fault);
    QFETCH(QString, error);
    const NecOutput output = parseNecOutput(text);
    QCOMPARE(output.fault, fault);
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
    QFile design(QStringLiteral(MOXON_TEST_DATA_DIR "/startup.nec"));
    QFile sweep(QStringLiteral(MOXON_TEST_DATA_DIR "/nec2c/sweep41.nec"));
    QVERIFY(design.open(QIODevice::ReadOnly) && sweep.open(QIODevice::ReadOnly));
    QCOMPARE(sweepDeck(design.readAll(), 138.7, 0.365, 41), sweep.readAll());
}

void TestNecOutput::slicesCoverTheSweepOnce_data()
{
    QTest::addColumn<int>("cores");
    QTest::addColumn<int>("slices");
    QTest::addColumn<int>("followerPoints"); // of the slice after the figures run; 0: none

    QTest::newRow("one core") << 1 << 1 << kSweepPoints;
    QTest::newRow("none asked") << 0 << 1 << kSweepPoints;
    // Two shares of 23.25 points: the figures run's core has 5.5 of them already.
    QTest::newRow("two cores") << 2 << 2 << 18;
    QTest::newRow("three cores") << 3 << 3 << 10;
    // A share below the figures run's cost: that core runs the figures run alone.
    QTest::newRow("one point a core") << 41 << 40 << 0;
    QTest::newRow("more cores than points") << 64 << 40 << 0;
}

void TestNecOutput::slicesCoverTheSweepOnce()
{
    QFETCH(int, cores);
    QFETCH(int, slices);
    QFETCH(int, followerPoints);

    QFile design(QStringLiteral(MOXON_TEST_DATA_DIR "/startup.nec"));
    QVERIFY(design.open(QIODevice::ReadOnly));
    const QList<SweepSlice> plan = sweepSlices(design.readAll(), 146, cores);
    QCOMPARE(plan.size(), slices);

    QSet<int> seen;
    int followers = 0;
    for (const SweepSlice &slice : plan) {
        if (slice.followsFiguresRun) {
            ++followers;
            QCOMPARE(slice.points.size(), followerPoints);
        }
        // Every slice of several spans the band, and its deck asks for its frequencies.
        QVERIFY(slice.points.size() < 2 ||
                (slice.points.first() < slices && slice.points.last() >= kSweepPoints - slices));
        const QList<double> asked = askedFrequencies(slice.deck);
        QCOMPARE(asked.size(), slice.points.size());
        for (qsizetype i = 0; i < slice.points.size(); ++i) {
            const int index = slice.points.at(i);
            QVERIFY(near(slice.frequenciesMhz.at(i), sweepFrequency(146, index), 1e-9));
            QVERIFY2(near(asked.at(i), slice.frequenciesMhz.at(i), 1e-9), slice.deck.data());
            QVERIFY2(!seen.contains(index), "a sweep point in two slices");
            seen.insert(index);
        }
        QVERIFY(slice.deck.endsWith("XQ\r\nEN\r\n"));
    }
    QCOMPARE(followers, followerPoints > 0 ? 1 : 0);
    QCOMPARE(seen.size(), kSweepPoints);
    QCOMPARE(sweepFrequency(146, 0), 146 * 0.95);
    QVERIFY(near(sweepFrequency(146, kSweepPoints - 1), 146 * 1.05));
}

void TestNecOutput::designFigures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<BeamAxis>("axis");
    QTest::addColumn<double>("forwardPhi");
    QTest::addColumn<double>("elevationPhi");

    QTest::newRow("beam along X") << u"startup.out"_s << BeamAxis::X << 0.0 << 0.0;
    QTest::newRow("beam along Y") << u"startup_y.out"_s << BeamAxis::Y << 90.0 << 270.0;
}

void TestNecOutput::designFigures()
{
    QFETCH(QString, file);
    QFETCH(BeamAxis, axis);
    QFETCH(double, forwardPhi);
    QFETCH(double, elevationPhi);

    const FiguresStep step = readFiguresRun(storedRun(file), request(axis));
    QCOMPARE(step.failure, EngineFailure::None);
    const DesignFigures &figures = step.figures;
    QCOMPARE(figures.frequencyMhz, 146.0);
    QCOMPARE(figures.feed.resistance, 51.155);
    QCOMPARE(figures.feed.reactance, -3.2795);
    QVERIFY(near(figures.swr, 1.0711532185, 1e-9));
    QCOMPARE(figures.forwardPhi, forwardPhi);
    // Forward 6.04 dBi, back -37.20 dBi; either side of the beam the horizon pattern passes
    // 3.04 dBi between 38 degrees (3.18) and 39 degrees (3.03), at 38.933 degrees.
    QCOMPARE(figures.forwardGain, 6.04);
    QVERIFY(near(figures.frontToBack, 43.24));
    QVERIFY(figures.beamwidth.has_value());
    QVERIFY(near(*figures.beamwidth, 2 * (38 + 0.14 / 0.15), 1e-9));
    QCOMPARE(figures.azimuth.size(), 361);
    QCOMPARE(figures.azimuth.first().angle, 0.0);
    QCOMPARE(figures.azimuth.last().angle, 360.0);
    QCOMPARE(figures.elevation.size(), 181);
    QCOMPARE(figures.elevation.first().angle, -90.0);
    QCOMPARE(figures.elevation.last().angle, 90.0);
    QCOMPARE(figures.elevationPhi, elevationPhi);
}

void TestNecOutput::figuresOverGround()
{
    // The 14.15 MHz design in 2 mm wire 10 m over average ground, with the azimuth cut at the
    // take-off angle: in the elevation cut the forward half peaks at 10.49 dBi from theta 61.5
    // to 62.5, so 28 degrees above the horizon; 62 degrees the other way it has -10.59 dBi.
    // At theta 62 the azimuth cut passes 7.49 dBi between phi 41 (7.55) and 42 (7.40).
    CheckRequest ground = request(BeamAxis::X);
    ground.frequencyMhz = 14.15;
    ground.installation = {10, {GroundKind::Real, 13, 0.005}, {}, {}};
    const FiguresStep step = readFiguresRun(storedRun(u"ground.out"_s), ground);
    QCOMPARE(step.failure, EngineFailure::None);
    const DesignFigures &figures = step.figures;
    QCOMPARE(figures.feed.resistance, 58.66);
    QCOMPARE(figures.takeoff, std::optional<double>(28));
    QCOMPARE(figures.forwardGain, 10.49);
    QVERIFY(near(figures.frontToBack, 10.49 + 10.59));
    QCOMPARE(figures.azimuthTheta, 62.0);
    QCOMPARE(figures.azimuth.size(), 361);
    QVERIFY(figures.beamwidth.has_value());
    QVERIFY(near(*figures.beamwidth, 2 * (41 + 0.06 / 0.15), 1e-9));
    QCOMPARE(figures.elevation.size(), 361);
}

void TestNecOutput::beamwidth_data()
{
    QTest::addColumn<QList<CutPoint>>("cut");
    QTest::addColumn<double>("forwardPhi");
    QTest::addColumn<double>("expected"); // degrees; 0: none

    QTest::newRow("symmetric, on whole degrees") << vee(0, 0.1, 0.1) << 0.0 << 60.0;
    QTest::newRow("interpolated between degrees") << vee(0, 0.08, 0.08) << 0.0 << 75.0;
    QTest::newRow("lopsided, across 0 degrees") << vee(90, 0.1, 0.05) << 90.0 << 30.0 + 60.0;
    QTest::newRow("never 3 dB down") << vee(0, 0.01, 0.01) << 0.0 << 0.0;
}

void TestNecOutput::beamwidth()
{
    QFETCH(QList<CutPoint>, cut);
    QFETCH(double, forwardPhi);
    QFETCH(double, expected);
    const std::optional<double> width = moxon::beamwidth(cut, forwardPhi, 5);
    if (expected == 0) {
        QCOMPARE(width, std::nullopt);
    } else {
        QVERIFY(width.has_value());
        QVERIFY2(near(*width, expected, 1e-9), qPrintable(QString::number(*width)));
    }
}

void TestNecOutput::bandwidth_data()
{
    QTest::addColumn<QList<double>>("swr"); // at 95, 97.5, ..., 105 MHz around 100 MHz
    QTest::addColumn<double>("swrAtF0");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<double>("lowerMhz");
    QTest::addColumn<double>("upperMhz");
    QTest::addColumn<bool>("reachesLower");
    QTest::addColumn<bool>("reachesUpper");

    QTest::newRow("within the sweep, interpolated")
        << QList<double>{5, 3, 1.2, 1.5, 2.5} << 1.2 << true << 97.5 + 2.5 * 1 / 1.8
        << 102.5 + 2.5 * 0.5 / 1.0 << false << false;
    QTest::newRow("exactly 2 at a point counts")
        << QList<double>{5, 2, 1, 2, 5} << 1.0 << true << 97.5 << 102.5 << false << false;
    QTest::newRow("reaches the lower end") << QList<double>{1.9, 1.5, 1.1, 1.5, 4} << 1.1 << true
                                           << 95.0 << 102.5 + 2.5 * 0.5 / 2.5 << true << false;
    QTest::newRow("reaches both ends")
        << QList<double>{1.9, 1.5, 1.1, 1.5, 1.9} << 1.1 << true << 95.0 << 105.0 << true << true;
    QTest::newRow("infinite SWR next to the design")
        << QList<double>{INFINITY, INFINITY, 1.5, INFINITY, INFINITY} << 1.5 << true << 100.0
        << 100.0 << false << false;
    QTest::newRow("none: SWR above 2 at the design frequency")
        << QList<double>{1.5, 1.8, 2.1, 1.8, 1.5} << 2.1 << false << 0.0 << 0.0 << false << false;
}

void TestNecOutput::bandwidth()
{
    QFETCH(QList<double>, swr);
    QFETCH(double, swrAtF0);
    QFETCH(bool, exists);
    QFETCH(double, lowerMhz);
    QFETCH(double, upperMhz);
    QFETCH(bool, reachesLower);
    QFETCH(bool, reachesUpper);

    // Given from the top down: the order of the sweep does not matter.
    QList<SweepPoint> sweep;
    for (qsizetype i = swr.size() - 1; i >= 0; --i) {
        sweep.append({95 + 2.5 * double(i), {}, swr.at(i)});
    }
    const Bandwidth band = moxon::bandwidth(sweep, 100, swrAtF0);
    QCOMPARE(band.exists, exists);
    QVERIFY2(near(band.lowerMhz, lowerMhz) && near(band.upperMhz, upperMhz),
             qPrintable(u"%1 to %2 MHz"_s.arg(band.lowerMhz).arg(band.upperMhz)));
    QCOMPARE(band.reachesLower, reachesLower);
    QCOMPARE(band.reachesUpper, reachesUpper);
}

void TestNecOutput::sliceRun_data()
{
    QTest::addColumn<SweepSlice>("slice");
    QTest::addColumn<EngineFailure>("failure");
    QTest::addColumn<QString>("message");

    QTest::newRow("the slice asked for") << wholeSweep() << EngineFailure::None << QString();
    const SweepSlice shorter = wholeSweep(21);
    QTest::newRow("more frequencies than asked for")
        << shorter << EngineFailure::Unreadable << u"printed 41 of the 21 frequencies"_s;
    SweepSlice shifted = wholeSweep();
    shifted.frequenciesMhz[0] += 0.1;
    QTest::newRow("other frequencies than asked for")
        << shifted << EngineFailure::Unreadable << u"where the sweep asked for"_s;
}

void TestNecOutput::sliceRun()
{
    QFETCH(SweepSlice, slice);
    QFETCH(EngineFailure, failure);
    QFETCH(QString, message);

    const SliceStep step = readSliceRun(storedRun(u"sweep41.out"_s), slice);
    QCOMPARE(step.failure, failure);
    QVERIFY2(step.message.contains(message), qPrintable(step.message));
    if (failure != EngineFailure::None) {
        QVERIFY(step.points.isEmpty());
        return;
    }
    QCOMPARE(step.points.size(), kSweepPoints);
    for (int i = 0; i < kSweepPoints; ++i) {
        // The frequency as asked for, not the engine's five printed digits.
        QVERIFY(near(step.points.at(i).frequencyMhz, sweepFrequency(146, i), 1e-9));
    }
    QCOMPARE(step.points.at(20).feed.resistance, 51.155);
    QVERIFY(near(step.points.at(20).swr, moxon::standingWaveRatio({51.155, -3.2795})));

    // The design reaches the sweep's top with SWR 1.92; below it passes 2 between 143.08
    // (2.260) and 143.445 MHz (1.985).
    const Bandwidth band = moxon::bandwidth(step.points, 146, step.points.at(20).swr);
    QVERIFY(band.exists);
    QVERIFY2(near(band.lowerMhz, 143.4255, 1e-3), qPrintable(QString::number(band.lowerMhz)));
    QVERIFY(!band.reachesLower);
    QVERIFY(near(band.upperMhz, 153.3, 1e-9));
    QVERIFY(band.reachesUpper);
}

void TestNecOutput::reportAsJson()
{
    const CheckRequest request = ::request(BeamAxis::X);
    CheckReport report;
    report.figures = readFiguresRun(storedRun(u"startup.out"_s), request).figures;
    report.sweep = readSliceRun(storedRun(u"sweep41.out"_s), wholeSweep()).points;
    report.bandwidth = moxon::bandwidth(report.sweep, 146, report.figures.swr);
    const QJsonObject json = checkReportToJson(report);

    // The fields scripts already read keep their names and meaning.
    QCOMPARE(json.value(u"frequency_mhz"_s).toDouble(), 146.0);
    QCOMPARE(json.value(u"resistance_ohm"_s).toDouble(), 51.155);
    QCOMPARE(json.value(u"reactance_ohm"_s).toDouble(), -3.2795);
    QCOMPARE(json.value(u"swr_50"_s).toDouble(), report.figures.swr);
    QCOMPARE(json.value(u"forward"_s).toString(), u"+X"_s);
    QCOMPARE(json.value(u"forward_gain_dbi"_s).toDouble(), 6.04);
    QCOMPARE(json.value(u"front_to_back_db"_s).toDouble(), report.figures.frontToBack);
    const QJsonArray sweep = json.value(u"sweep"_s).toArray();
    QCOMPARE(sweep.size(), kSweepPoints);
    QCOMPARE(json.value(u"sweep_points"_s).toInt(), kSweepPoints);
    QCOMPARE(sweep.at(20).toObject().value(u"resistance_ohm"_s).toDouble(), 51.155);
    QCOMPARE(sweep.at(20).toObject().keys(), (QStringList{u"frequency_mhz"_s, u"reactance_ohm"_s,
                                                          u"resistance_ohm"_s, u"swr_50"_s}));

    QCOMPARE(json.value(u"beamwidth_deg"_s).toDouble(), *report.figures.beamwidth);
    const QJsonObject band = json.value(u"bandwidth"_s).toObject();
    QCOMPARE(band.value(u"upper_mhz"_s).toDouble(), report.bandwidth.upperMhz);
    QCOMPARE(band.value(u"reaches_upper_end"_s).toBool(), true);
    QCOMPARE(band.value(u"reaches_lower_end"_s).toBool(), false);
    QVERIFY(near(band.value(u"percent"_s).toDouble(),
                 100 * (report.bandwidth.upperMhz - report.bandwidth.lowerMhz) / 146));

    const QJsonObject azimuth = json.value(u"azimuth"_s).toObject();
    QCOMPARE(azimuth.value(u"phi_deg"_s).toArray().size(), 361);
    QCOMPARE(azimuth.value(u"gain_dbi"_s).toArray().first().toDouble(), 6.04);
    const QJsonObject elevation = json.value(u"elevation"_s).toObject();
    QCOMPARE(elevation.value(u"phi_deg"_s).toDouble(), 0.0);
    QCOMPARE(elevation.value(u"theta_deg"_s).toArray().first().toDouble(), -90.0);
    QCOMPARE(elevation.value(u"gain_dbi"_s).toArray().first().toDouble(), -37.20);

    CheckReport failed;
    failed.failure = EngineFailure::TimedOut;
    failed.message = u"nec2c did not answer within 10 s and was ended."_s;
    QCOMPARE(checkReportToJson(failed),
             (QJsonObject{{u"error"_s, u"timed_out"_s}, {u"message"_s, failed.message}}));
}

MOXON_TEST_GUILESS_MAIN(TestNecOutput)
#include "tst_necoutput.moc"
