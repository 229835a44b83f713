#include "cliprocess.h"
#include "inprocess.h"
#include "moxoncli.h"
#include "necoutput.h"
#include "runnec2c.h"
#include "sweepplan.h"
#include "testsuite.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

CliRun runCheck(const QStringList &arguments)
{
    return runCli(u"check"_s, arguments);
}

} // namespace

// moxon-cli check against the real nec2c engine: what it reports must be a working Moxon.
class TestCliCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checkReportsWorkingAntenna_data();
    void checkReportsWorkingAntenna();
    void textReport();
    void refusesWhatTheEngineCannotCompute_data();
    void refusesWhatTheEngineCannotCompute();
    void overGroundFiguresAreTheEnginesOwn();
    void takeoffIsTheFineCutsOwn_data();
    void takeoffIsTheFineCutsOwn();
    void tunedDesignIsTheEnginesOwn_data();
    void tunedDesignIsTheEnginesOwn();
    void bandGoalTakesTheWholeBand_data();
    void bandGoalTakesTheWholeBand();
    void deckAloneOnStandardOutput_data();
    void deckAloneOnStandardOutput();
    void jsonFailuresAfterTheEngine_data();
    void jsonFailuresAfterTheEngine();
    void installationLineInTheUnitsGiven_data();
    void installationLineInTheUnitsGiven();
    void fittedSweepAgreesWithFullSweep_data();
    void fittedSweepAgreesWithFullSweep();
};

void TestCliCheck::checkReportsWorkingAntenna_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("2 m, gauge 12, inches, along X")
        << QStringList{u"-f"_s, u"146"_s, u"-w"_s, u"#12"_s, u"-u"_s, u"in"_s};
    QTest::newRow("2 m, 20 mm tubing")
        << QStringList{u"-f"_s, u"146"_s, u"-w"_s, u"20"_s, u"--wire-unit"_s, u"mm"_s};
    QTest::newRow("23 cm, gauge 12") << QStringList{u"-f"_s, u"1296"_s, u"-w"_s, u"#12"_s};
    QTest::newRow("70 cm, 2 mm wire, millimetres, vertical along Y")
        << QStringList{u"-f"_s, u"435"_s, u"-w"_s,    u"2"_s, u"--wire-unit"_s, u"mm"_s,
                       u"-u"_s, u"mm"_s,  u"--pol"_s, u"v"_s, u"--axis"_s,      u"y"_s};
}

void TestCliCheck::checkReportsWorkingAntenna()
{
    QFETCH(QStringList, arguments);

    const CliRun run = runCheck(QStringList{u"--json"_s} + arguments);
    QVERIFY2(run.status == 0, qPrintable(run.err));

    const QJsonObject report = QJsonDocument::fromJson(run.out.toUtf8()).object();
    const double r = report.value(u"resistance_ohm"_s).toDouble();
    const double x = report.value(u"reactance_ohm"_s).toDouble();
    const double gain = report.value(u"forward_gain_dbi"_s).toDouble();
    const double frontToBack = report.value(u"front_to_back_db"_s).toDouble();
    const QString figures = QStringLiteral("R %1 ohm, X %2 ohm, gain %3 dBi, F/B %4 dB")
                                .arg(r)
                                .arg(x)
                                .arg(gain)
                                .arg(frontToBack);
    QVERIFY2(r > 40 && r < 70, qPrintable(figures));
    QVERIFY2(std::fabs(x) < 15, qPrintable(figures));
    QVERIFY2(gain > 5, qPrintable(figures));
    QVERIFY2(frontToBack > 20, qPrintable(figures));
    QVERIFY2(report.value(u"swr_50"_s).toDouble() < 1.5, qPrintable(figures));

    // 41 frequencies from 5 % below to 5 % above; the match is best near the middle, and the
    // SWR stays within 2 over some span around the design frequency.
    const QJsonArray sweep = report.value(u"sweep"_s).toArray();
    QCOMPARE(sweep.size(), 41);
    const QJsonObject bandwidth = report.value(u"bandwidth"_s).toObject();
    QVERIFY2(bandwidth.value(u"width_mhz"_s).toDouble() > 0, qPrintable(figures));
    QVERIFY(report.value(u"beamwidth_deg"_s).toDouble() > 40);
    QVERIFY(report.value(u"azimuth"_s).toObject().value(u"gain_dbi"_s).toArray().size() >= 360);
    const double design = report.value(u"frequency_mhz"_s).toDouble();
    QVERIFY(std::fabs(sweep.first().toObject().value(u"frequency_mhz"_s).toDouble() / design -
                      0.95) < 1e-3);
    QVERIFY(std::fabs(sweep.last().toObject().value(u"frequency_mhz"_s).toDouble() / design -
                      1.05) < 1e-3);
    const double edges = std::min(sweep.first().toObject().value(u"swr_50"_s).toDouble(),
                                  sweep.last().toObject().value(u"swr_50"_s).toDouble());
    QVERIFY(sweep.at(20).toObject().value(u"swr_50"_s).toDouble() < edges);
}

void TestCliCheck::textReport()
{
    const CliRun run = runCheck({u"-f"_s, u"14.15"_s, u"-u"_s, u"ft"_s});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QString &out = run.out;
    QVERIFY(out.contains(u"Feed point:"_s));
    QVERIFY(out.contains(u"SWR on 50 ohm:"_s));
    QVERIFY(out.contains(u"Front-to-back:"_s));
    QVERIFY(out.contains(u"dBi towards +X"_s));
    QVERIFY(out.contains(u"Bandwidth (SWR 2):"_s));
    QCOMPARE(out.count(u'\n'), 7 + 2 + 41);
}

void TestCliCheck::refusesWhatTheEngineCannotCompute_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("limit");

    QTest::newRow("2 m, 500 mm wire")
        << QStringList{u"-f"_s, u"146"_s, u"-w"_s, u"500"_s, u"--wire-unit"_s, u"mm"_s}
        << u"the 500 mm wire is too thick for NEC-2's thin-wire model at 146 MHz, as its radius "
           "of 250 mm is more than twice the 8.18 mm segments of wire 1"_s;
    QTest::newRow("160 m, 8 m tube")
        << QStringList{u"-f"_s, u"1.83"_s, u"-w"_s, u"8000"_s, u"--wire-unit"_s, u"mm"_s}
        << u"the 8000 mm wire is too thick"_s;
    QTest::newRow("1E300 MHz: wires of no length")
        << QStringList{u"-f"_s, u"1E300"_s}
        << u"the dimensions as shown leave wire 1 of the model no length"_s;
    QTest::newRow("upright, its centre lower than half of A")
        << QStringList{u"-f"_s, u"14.15"_s,    u"-u"_s, u"m"_s,        u"--pol"_s,
                       u"v"_s,  u"--height"_s, u"3"_s,  u"--ground"_s, u"average"_s}
        << u"must hang at least 3.88311 m"_s;
    // Clear of the ground by three radii and a thousandth of a wavelength (21 mm here), #12 wire.
    QTest::newRow("flat on poor ground")
        << QStringList{u"-f"_s,       u"14.15"_s,  u"-u"_s,       u"m"_s,
                       u"--height"_s, u"6e-203"_s, u"--ground"_s, u"poor"_s}
        << u"must hang at least 0.0222129 m"_s;
    // NEC-2's speed of light moves the lobes too far: at most 994 wavelengths, 21 km at
    // 14.15 MHz.
    QTest::newRow("a million metres up")
        << QStringList{u"-f"_s,       u"14.15"_s, u"-u"_s,       u"m"_s,
                       u"--height"_s, u"1e6"_s,   u"--ground"_s, u"average"_s}
        << u"at most 21054.2 m (994 λ)"_s;
    QTest::newRow("1e5 MHz, 20 mm wire")
        << QStringList{u"-f"_s, u"1e5"_s, u"-w"_s, u"20"_s, u"--wire-unit"_s, u"mm"_s}
        << u"at 100000 MHz the dimensions as shown leave wire 1"_s;
}

void TestCliCheck::refusesWhatTheEngineCannotCompute()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, limit);

    // No engine on PATH: a refusal must not need one.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    const CliRun run = runCheck(QStringList{u"--json"_s} + arguments);
    qputenv("PATH", path);

    QCOMPARE(run.status, int(ExitNoFigures));
    const QJsonObject report = QJsonDocument::fromJson(run.out.toUtf8()).object();
    QCOMPARE(report.keys(), (QStringList{u"error"_s, u"message"_s}));
    QCOMPARE(report.value(u"error"_s).toString(), u"model_refused"_s);
    QVERIFY2(report.value(u"message"_s).toString().contains(limit),
             qPrintable(report.value(u"message"_s).toString()));
    QVERIFY2(run.err.contains(limit), qPrintable(run.err));
}

void TestCliCheck::overGroundFiguresAreTheEnginesOwn()
{
    // The 20 m design in 2 mm copper wire, 10 m over average ground.
    const QStringList design{u"-f"_s,          u"14.15"_s, u"-w"_s, u"2"_s,
                             u"--wire-unit"_s, u"mm"_s,    u"-u"_s, u"m"_s};
    QTemporaryDir folder;
    const QString deckPath = folder.filePath(u"check.nec"_s);
    const CliRun run =
        runCheck(QStringList{u"--json"_s, u"--height"_s, u"10"_s, u"--ground"_s, u"average"_s,
                             u"--conductor"_s, u"copper"_s, u"--deck"_s, deckPath} +
                 design);
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QJsonObject report = QJsonDocument::fromJson(run.out.toUtf8()).object();
    QCOMPARE(report.value(u"installation"_s).toObject(),
             (QJsonObject{{u"height_m"_s, 10},
                          {u"ground"_s, u"real"_s},
                          {u"permittivity"_s, 13},
                          {u"conductivity_s_per_m"_s, 0.005},
                          {u"conductor"_s, u"copper"_s},
                          {u"conductor_s_per_m"_s, 5.8e7},
                          {u"insulation"_s, QJsonValue()},

                          {u"feedline"_s, QJsonValue()}}));
    const double takeoff = report.value(u"takeoff_deg"_s).toDouble();
    QVERIFY2(takeoff > 20 && takeoff < 40, qPrintable(run.out.left(200)));
    // The azimuth cut is taken at the take-off angle, to the five digits JSON gives degrees.
    const double theta = report.value(u"azimuth"_s).toObject().value(u"theta_deg"_s).toDouble();
    QVERIFY2(std::fabs(theta - (90 - takeoff)) <= 6e-4,
             qPrintable(u"cut at %1, take-off %2"_s.arg(theta).arg(takeoff)));

    // What nec2c itself prints for the deck the check ran.
    QFile deck(deckPath);
    QVERIFY(deck.open(QIODevice::ReadOnly));
    const NecOutput own = parseNecOutput(runNec2c(deck.readAll()).output);
    QCOMPARE(own.frequencies.size(), 1);
    const NecFrequencyResult &result = own.frequencies.first();
    QCOMPARE(report.value(u"resistance_ohm"_s).toDouble(), result.feed.resistance);
    QCOMPARE(report.value(u"reactance_ohm"_s).toDouble(), result.feed.reactance);
    const std::optional<double> forward = gainTowards(result.pattern, 90 - takeoff, 0);
    const std::optional<double> back = gainTowards(result.pattern, 90 - takeoff, 180);
    QVERIFY(forward && back);
    QCOMPARE(report.value(u"takeoff_gain_dbi"_s).toDouble(), *forward);
    QCOMPARE(report.value(u"forward_gain_dbi"_s).toDouble(), *forward);
    QCOMPARE(report.value(u"front_to_back_db"_s).toDouble(), *forward - *back);

    // An independent deck of the same antenna from the dimensions moxon-cli design prints:
    // the driven element at x = E with its tails back to E - B, the reflector at x = 0 with
    // its tails out to D, 10 m up, the same ground and conductor.
    const CliRun shown = runCli(u"design"_s, QStringList{u"--json"_s} + design);
    const QJsonObject dims = QJsonDocument::fromJson(shown.out.toUtf8()).object();
    const double a = dims.value(u"A"_s).toDouble() / 2;
    const double b = dims.value(u"B"_s).toDouble();
    const double d = dims.value(u"D"_s).toDouble();
    const double e = dims.value(u"E"_s).toDouble();
    const auto wire = [](int tag, int segments, double x1, double y1, double x2, double y2) {
        return u"GW %1 %2 %3 %4 10 %5 %6 10 0.001\n"_s.arg(tag)
            .arg(segments)
            .arg(x1)
            .arg(y1)
            .arg(x2)
            .arg(y2);
    };
    const QString independent =
        wire(1, 5, e - b, -a, e, -a) + wire(2, 35, e, -a, e, a) + wire(3, 5, e, a, e - b, a) +
        wire(4, 7, d, -a, 0, -a) + wire(5, 35, 0, -a, 0, a) + wire(6, 7, 0, a, d, a) +
        u"GE 1\nLD 5 0 0 0 5.8E7\nGN 2 0 0 0 13 0.005\nEX 0 2 18 0 1 0\nFR 0 1 0 0 14.15 1\n"
        "RP 0 1 2 1000 %1 0 1 180\nEN\n"_s.arg(90 - takeoff);
    const NecOutput other = parseNecOutput(runNec2c(independent.toLatin1()).output);
    QVERIFY2(other.fault == OutputFault::None, qPrintable(other.error));
    const NecFrequencyResult &again = other.frequencies.first();
    QCOMPARE(again.feed.resistance, result.feed.resistance);
    QCOMPARE(again.feed.reactance, result.feed.reactance);
    QCOMPARE(gainTowards(again.pattern, 90 - takeoff, 0), forward);
    QCOMPARE(gainTowards(again.pattern, 90 - takeoff, 180), back);
}

void TestCliCheck::takeoffIsTheFineCutsOwn_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("height");
    QTest::addColumn<double>("wavelengths");

    // 3 mm aluminium over average ground; lobes 1.49 and 0.67 degrees apart near the horizon,
    // finer than the displayed half-degree cut samples them.
    QTest::newRow("70 cm, 13.3 m: 19 wavelengths") << u"432.1"_s << u"13.3"_s << 19.17;
    QTest::newRow("23 cm, 10 m: 43 wavelengths") << u"1296.1"_s << u"10"_s << 43.23;
}

void TestCliCheck::takeoffIsTheFineCutsOwn()
{
    QFETCH(QString, frequency);
    QFETCH(QString, height);
    QFETCH(double, wavelengths);

    QTemporaryDir folder;
    const QString deckPath = folder.filePath(u"check.nec"_s);
    const CliRun run =
        runCheck({u"--json"_s, u"-f"_s, frequency, u"-w"_s, u"3"_s, u"--wire-unit"_s, u"mm"_s,
                  u"-u"_s, u"m"_s, u"--height"_s, height, u"--ground"_s, u"average"_s,
                  u"--conductor"_s, u"aluminium"_s, u"--deck"_s, deckPath});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QJsonObject report = QJsonDocument::fromJson(run.out.toUtf8()).object();
    const double takeoff = report.value(u"takeoff_deg"_s).toDouble();
    // The azimuth cut is taken at the take-off angle, to the five digits JSON gives degrees.
    const double theta = report.value(u"azimuth"_s).toObject().value(u"theta_deg"_s).toDouble();
    QVERIFY2(std::fabs(theta - (90 - takeoff)) <= 6e-4,
             qPrintable(u"cut at %1, take-off %2"_s.arg(theta).arg(takeoff)));

    // nec2c on the same antenna, a cut towards the beam from the horizon to the zenith in
    // steps of a hundredth of the lobes' spacing: its strongest direction, the lowest of equal.
    QFile deck(deckPath);
    QVERIFY(deck.open(QIODevice::ReadOnly));
    const double spacing = 180 / std::numbers::pi / (2 * wavelengths);
    const int steps = int(std::ceil(90 / (spacing / 100)));
    QByteArray fine = deck.readAll();
    fine.truncate(fine.indexOf("RP "));
    fine += u"RP 0 %1 1 1000 0 0 %2 1\r\nEN\r\n"_s.arg(steps + 1)
                .arg(90.0 / steps, 0, 'g', 17)
                .toLatin1();
    const NecOutput own = parseNecOutput(runNec2c(fine).output);
    QCOMPARE(own.frequencies.size(), 1);
    const QList<PatternPoint> &cut = own.frequencies.first().pattern;
    QCOMPARE(cut.size(), steps + 1);
    qsizetype best = 0;
    for (qsizetype i = 0; i < cut.size(); ++i) {
        best = cut.at(i).totalGain >= cut.at(best).totalGain ? i : best; // ends at the horizon
    }
    const double expected = 90 - double(best) * 90 / steps;
    const QString seen = u"take-off %1 against %2 degrees, gain %3 against %4 dBi"_s.arg(takeoff)
                             .arg(expected)
                             .arg(report.value(u"forward_gain_dbi"_s).toDouble())
                             .arg(cut.at(best).totalGain);
    QVERIFY2(std::fabs(takeoff - expected) <= spacing / 20, qPrintable(seen));
    QVERIFY2(std::fabs(report.value(u"forward_gain_dbi"_s).toDouble() - cut.at(best).totalGain) <=
                 0.1,
             qPrintable(seen));
}

void TestCliCheck::tunedDesignIsTheEnginesOwn_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("match");

    QTest::newRow("20 m, 0.47 wavelengths over average ground, copper, match")
        << QStringList{u"-f"_s,          u"14.15"_s, u"-w"_s,       u"2"_s,
                       u"--wire-unit"_s, u"mm"_s,    u"-u"_s,       u"m"_s,
                       u"--height"_s,    u"10"_s,    u"--ground"_s, u"average"_s,
                       u"--conductor"_s, u"copper"_s}
        << true;
    QTest::newRow("10 m, 0.33 wavelengths over perfect ground, aluminium, front-to-back")
        << QStringList{u"-f"_s,          u"28.5"_s,      u"-w"_s,       u"2"_s,
                       u"--wire-unit"_s, u"mm"_s,        u"-u"_s,       u"m"_s,
                       u"--height"_s,    u"3.5"_s,       u"--ground"_s, u"perfect"_s,
                       u"--conductor"_s, u"aluminium"_s, u"--goal"_s,   u"front-to-back"_s}
        << false;
}

void TestCliCheck::tunedDesignIsTheEnginesOwn()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, match);

    QTemporaryDir folder;
    const QString deckPath = folder.filePath(u"tuned.nec"_s);
    const CliRun run =
        runCli(u"tune"_s, QStringList{u"--json"_s, u"--deck"_s, deckPath} + arguments);
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QJsonObject report = QJsonDocument::fromJson(run.out.toUtf8()).object();
    QVERIFY2(report.value(u"goal_met"_s).toBool(), qPrintable(run.out));
    const QJsonObject before = report.value(u"before"_s).toObject();
    const QJsonObject after = report.value(u"after"_s).toObject();

    // nec2c on the deck of the tuned design says what the report says.
    QFile deck(deckPath);
    QVERIFY(deck.open(QIODevice::ReadOnly));
    const NecOutput own = parseNecOutput(runNec2c(deck.readAll()).output);
    QVERIFY2(own.fault == OutputFault::None, qPrintable(own.error));
    const NecFrequencyResult &result = own.frequencies.first();
    QCOMPARE(after.value(u"resistance_ohm"_s).toDouble(), result.feed.resistance);
    QCOMPARE(after.value(u"reactance_ohm"_s).toDouble(), result.feed.reactance);
    const double takeoff = after.value(u"takeoff_deg"_s).toDouble();
    const std::optional<double> forward = gainTowards(result.pattern, 90 - takeoff, 0);
    const std::optional<double> back = gainTowards(result.pattern, takeoff - 90, 0);
    QVERIFY(forward && back);
    QCOMPARE(after.value(u"forward_gain_dbi"_s).toDouble(), *forward);
    QCOMPARE(after.value(u"front_to_back_db"_s).toDouble(), *forward - *back);

    const double swr = standingWaveRatio(result.feed);
    if (match) {
        QVERIFY2(swr <= 1.10, qPrintable(run.out));
        QVERIFY(*forward - *back >= before.value(u"front_to_back_db"_s).toDouble());
    } else {
        QVERIFY2(swr <= 1.5, qPrintable(run.out));
        QVERIFY(*forward - *back > before.value(u"front_to_back_db"_s).toDouble());
    }
}

void TestCliCheck::bandGoalTakesTheWholeBand_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<double>("lowerMhz");
    QTest::addColumn<double>("upperMhz");

    // Both were refused once: the band's rational fit had a pole in it. 80 m is wider than
    // 8 % of its middle; 10 m is not.
    QTest::newRow("10 m whole, 3 mm aluminium, free space")
        << QStringList{u"-f"_s,          u"28.5"_s, u"-w"_s,          u"3"_s,
                       u"--wire-unit"_s, u"mm"_s,   u"--conductor"_s, u"aluminium"_s}
        << 28.0 << 29.7;
    QTest::newRow("80 m whole, 2 mm copper, free space")
        << QStringList{u"-f"_s,          u"3.7"_s, u"-w"_s,          u"2"_s,
                       u"--wire-unit"_s, u"mm"_s,  u"--conductor"_s, u"copper"_s}
        << 3.5 << 4.0;
}

void TestCliCheck::bandGoalTakesTheWholeBand()
{
    QFETCH(QStringList, arguments);
    QFETCH(double, lowerMhz);
    QFETCH(double, upperMhz);

    QTemporaryDir folder;
    const QString deckPath = folder.filePath(u"tuned.nec"_s);
    const CliRun run =
        runCli(u"tune"_s,
               QStringList{u"--json"_s, u"--goal"_s, u"band"_s, u"--deck"_s, deckPath} + arguments);
    QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
    const QJsonObject report = QJsonDocument::fromJson(run.out.toUtf8()).object();
    const QJsonObject band = report.value(u"band"_s).toObject();
    QCOMPARE(band.value(u"lower_mhz"_s).toDouble(), lowerMhz);
    QCOMPARE(band.value(u"upper_mhz"_s).toDouble(), upperMhz);
    const QJsonObject before = report.value(u"before"_s).toObject();
    const QJsonObject after = report.value(u"after"_s).toObject();
    const double worst = after.value(u"band_worst_swr"_s).toDouble();
    QVERIFY2(worst <= before.value(u"band_worst_swr"_s).toDouble(), qPrintable(run.out));
    QCOMPARE(report.value(u"goal_met"_s).toBool(), worst <= 2);
    QVERIFY(after.value(u"front_to_back_db"_s).toDouble() >=
            before.value(u"front_to_back_db"_s).toDouble() - 3);

    // nec2c's own sweep of the tuned design over the band, 50 steps, says what the report says.
    QFile deck(deckPath);
    QVERIFY(deck.open(QIODevice::ReadOnly));
    const int steps = 50;
    const NecOutput own = parseNecOutput(
        runNec2c(sweepDeck(deck.readAll(), lowerMhz, (upperMhz - lowerMhz) / steps, steps + 1))
            .output);
    QVERIFY2(own.fault == OutputFault::None, qPrintable(own.error));
    QCOMPARE(own.frequencies.size(), steps + 1);
    double sweptWorst = 0;
    for (const NecFrequencyResult &result : own.frequencies) {
        sweptWorst = std::max(sweptWorst, standingWaveRatio(result.feed));
    }
    const QString figures = u"reported %1, nec2c %2"_s.arg(worst).arg(sweptWorst);
    QVERIFY2(std::fabs(worst - sweptWorst) <= 1e-3 * sweptWorst, qPrintable(figures));
    QVERIFY(std::fabs(after.value(u"band_lower_swr"_s).toDouble() -
                      standingWaveRatio(own.frequencies.first().feed)) <= 1e-3 * sweptWorst);
    QVERIFY(std::fabs(after.value(u"band_upper_swr"_s).toDouble() -
                      standingWaveRatio(own.frequencies.last().feed)) <= 1e-3 * sweptWorst);
}

void TestCliCheck::deckAloneOnStandardOutput_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("check") << u"check"_s;
    QTest::newRow("tune") << u"tune"_s;
}

void TestCliCheck::deckAloneOnStandardOutput()
{
    // "--deck -" puts on standard output the very deck "--deck FILE" writes, and nothing after
    // it: no report.
    QFETCH(QString, command);
    const QStringList design{command, u"-f"_s, u"146"_s};
    const QString path = qEnvironmentVariable("PATH");
    QTemporaryDir folder;
    const QString deckPath = folder.filePath(u"deck.nec"_s);
    const ProgramRun toFile = runProgram(design + QStringList{u"--deck"_s, deckPath}, path);
    QVERIFY2(toFile.status == 0, toFile.err.constData());
    QVERIFY(!toFile.out.isEmpty()); // the report, when the deck goes to a file

    const ProgramRun piped = runProgram(design + QStringList{u"--deck"_s, u"-"_s}, path);
    QVERIFY2(piped.status == 0, piped.err.constData());
    QFile deck(deckPath);
    QVERIFY(deck.open(QIODevice::ReadOnly));
    QCOMPARE(piped.out, deck.readAll());
}

void TestCliCheck::jsonFailuresAfterTheEngine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");

    // A file in a folder that is not there: nothing can be written to it.
    const QString nowhere = u"no-such-folder/x.nec"_s;
    const QStringList design{u"--json"_s, u"-f"_s, u"146"_s};
    QTest::newRow("tune, model not written")
        << QStringList{u"tune"_s, u"--format"_s, u"nec"_s, u"-o"_s, nowhere} + design
        << u"model_not_written"_s;
    QTest::newRow("tune, deck not written")
        << QStringList{u"tune"_s, u"--deck"_s, nowhere} + design << u"deck_not_written"_s;
    QTest::newRow("check, deck not written")
        << QStringList{u"check"_s, u"--deck"_s, nowhere} + design << u"deck_not_written"_s;
}

void TestCliCheck::jsonFailuresAfterTheEngine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);

    QTemporaryDir folder;
    QVERIFY(QDir::setCurrent(folder.path()));
    const ProgramRun run = runProgram(arguments, qEnvironmentVariable("PATH"));
    QCOMPARE(run.status, int(ExitRejected));
    const QString problem = notOneFailureObject(run.out);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(QJsonDocument::fromJson(run.out).object().value(u"error"_s).toString(), error);
    QVERIFY(!QFile::exists(u"no-such-folder"_s));
}

void TestCliCheck::installationLineInTheUnitsGiven_data()
{
    QTest::addColumn<QString>("units");
    QTest::addColumn<QString>("height");
    QTest::addColumn<double>("metresPerUnit");

    QTest::newRow("feet") << u"ft"_s << u"33"_s << 0.3048;
    QTest::newRow("millimetres") << u"mm"_s << u"7500"_s << 0.001;
}

void TestCliCheck::installationLineInTheUnitsGiven()
{
    QFETCH(QString, units);
    QFETCH(QString, height);
    QFETCH(double, metresPerUnit);

    const CliRun run = runCheck(
        {u"-f"_s, u"14.15"_s, u"-u"_s, units, u"--height"_s, height, u"--ground"_s, u"average"_s});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QRegularExpression line(u"^Installation: +(\\S+) (\\S+) \\(([0-9.]+) wavelengths\\)"_s,
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(run.out);
    QVERIFY2(match.hasMatch(), qPrintable(run.out.left(300)));
    QCOMPARE(match.captured(1), height);
    QCOMPARE(match.captured(2), units);
    const double wavelengths = height.toDouble() * metresPerUnit / (299.792458 / 14.15);
    QCOMPARE(match.captured(3), QString::number(wavelengths, 'f', 2));
}

void TestCliCheck::fittedSweepAgreesWithFullSweep_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("20 m, 10 m over average ground, copper") << QStringList{
        u"-f"_s,       u"14.15"_s,   u"-w"_s,          u"2"_s,        u"--wire-unit"_s,
        u"mm"_s,       u"-u"_s,      u"m"_s,           u"--height"_s, u"10"_s,
        u"--ground"_s, u"average"_s, u"--conductor"_s, u"copper"_s};
    QTest::newRow("2 m in free space") << QStringList{u"-f"_s, u"146"_s};
}

void TestCliCheck::fittedSweepAgreesWithFullSweep()
{
    QFETCH(QStringList, arguments);
    const CliRun fitted = runCheck(QStringList{u"--json"_s} + arguments);
    const CliRun full = runCheck(QStringList{u"--json"_s, u"--sweep"_s, u"full"_s} + arguments);
    QCOMPARE(fitted.status, 0);
    QCOMPARE(full.status, 0);
    const QJsonObject a = QJsonDocument::fromJson(fitted.out.toUtf8()).object();
    const QJsonObject b = QJsonDocument::fromJson(full.out.toUtf8()).object();

    // The full sweep is every point the engine's own; the fitted one ran the design frequency
    // and far fewer, and says how well its last two fits agreed.
    QCOMPARE(b.value(u"sweep_engine_frequencies"_s).toArray().size(), kSweepPoints);
    QVERIFY(b.value(u"sweep_fit_error_ohm"_s).isNull());
    const QJsonArray ran = a.value(u"sweep_engine_frequencies"_s).toArray();
    QVERIFY2(ran.size() < 20, qPrintable(QString::number(ran.size())));
    const double f0 = a.value(u"frequency_mhz"_s).toDouble();
    QVERIFY(std::any_of(ran.begin(), ran.end(),
                        [f0](const QJsonValue &f) { return std::fabs(f.toDouble() - f0) < 1e-9; }));
    QVERIFY(a.value(u"sweep_fit_error_ohm"_s).toDouble() <= 0.5);

    // Every one of the 41 points within 1 ohm and 0.5 % in SWR of the engine's.
    const QJsonArray fittedPoints = a.value(u"sweep"_s).toArray();
    const QJsonArray fullPoints = b.value(u"sweep"_s).toArray();
    QCOMPARE(fittedPoints.size(), kSweepPoints);
    QCOMPARE(fullPoints.size(), kSweepPoints);
    for (qsizetype i = 0; i < kSweepPoints; ++i) {
        const QJsonObject p = fittedPoints.at(i).toObject();
        const QJsonObject q = fullPoints.at(i).toObject();
        QCOMPARE(p.value(u"frequency_mhz"_s).toDouble(), q.value(u"frequency_mhz"_s).toDouble());
        const double dz = std::hypot(
            p.value(u"resistance_ohm"_s).toDouble() - q.value(u"resistance_ohm"_s).toDouble(),
            p.value(u"reactance_ohm"_s).toDouble() - q.value(u"reactance_ohm"_s).toDouble());
        const double swr = q.value(u"swr_50"_s).toDouble();
        const double dswr = std::fabs(p.value(u"swr_50"_s).toDouble() - swr) / swr;
        QVERIFY2(dz <= 1 && dswr <= 0.005,
                 qPrintable(u"point %1: %2 ohm, %3 %"_s.arg(i).arg(dz).arg(100 * dswr)));
    }
    // The bandwidth edges on the fit within a tenth of a sweep step of the engine's curve's.
    const double step = kSweepStep * a.value(u"frequency_mhz"_s).toDouble();
    for (const QString &edge : {u"lower_mhz"_s, u"upper_mhz"_s}) {
        QVERIFY(std::fabs(a.value(u"bandwidth"_s).toObject().value(edge).toDouble() -
                          b.value(u"bandwidth"_s).toObject().value(edge).toDouble()) < step / 10);
    }
}

MOXON_TEST_GUILESS_MAIN(TestCliCheck)
#include "tst_clicheck.moc"
