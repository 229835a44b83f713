#include "moxoncli.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace moxon;
using namespace Qt::StringLiterals;

namespace {

struct CliRun
{
    int status = -1;
    QString out;
    QString err;
};

CliRun runCheck(const QStringList &arguments)
{
    CliRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = MoxonCli(out, err).run(QStringList{u"moxon-cli"_s, u"check"_s} + arguments);
    out.flush();
    err.flush();
    return run;
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

QTEST_GUILESS_MAIN(TestCliCheck)
#include "tst_clicheck.moc"
