#include "moxoncli.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace moxon;
using namespace Qt::StringLiterals;

// moxon-cli check against the real nec2c engine: what it reports must be a working Moxon.
class TestCliCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checkReportsWorkingAntenna_data();
    void checkReportsWorkingAntenna();
    void textReport();
};

void TestCliCheck::checkReportsWorkingAntenna_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("2 m, gauge 12, inches, along X")
        << QStringList{u"-f"_s, u"146"_s, u"-w"_s, u"#12"_s, u"-u"_s, u"in"_s};
    QTest::newRow("70 cm, 2 mm wire, millimetres, vertical along Y")
        << QStringList{u"-f"_s, u"435"_s, u"-w"_s,    u"2"_s, u"--wire-unit"_s, u"mm"_s,
                       u"-u"_s, u"mm"_s,  u"--pol"_s, u"v"_s, u"--axis"_s,      u"y"_s};
}

void TestCliCheck::checkReportsWorkingAntenna()
{
    QFETCH(QStringList, arguments);

    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int status = MoxonCli(outStream, errStream)
                           .run(QStringList{u"moxon-cli"_s, u"check"_s, u"--json"_s} + arguments);
    outStream.flush();
    errStream.flush();
    QVERIFY2(status == 0, qPrintable(err));

    const QJsonObject report = QJsonDocument::fromJson(out.toUtf8()).object();
    const double r = report.value(u"resistance_ohm"_s).toDouble();
    const double x = report.value(u"reactance_ohm"_s).toDouble();
    const double gain = report.value(u"forward_gain_dbi"_s).toDouble();
    const double frontToBack = report.value(u"front_to_back_db"_s).toDouble();
    const QString figures = QStringLiteral("R %1 ohm, X %2 ohm, gain %3 dBi, F/B %4 dB")
                                .arg(r)
                                .arg(x)
                                .arg(gain)
                                .arg(frontToBack);
    QVERIFY2(r > 40 && r < 65, qPrintable(figures));
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
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int status =
        MoxonCli(outStream, errStream)
            .run({u"moxon-cli"_s, u"check"_s, u"-f"_s, u"14.15"_s, u"-u"_s, u"ft"_s});
    outStream.flush();
    QVERIFY2(status == 0, qPrintable(err));
    QVERIFY(out.contains(u"Feed point:"_s));
    QVERIFY(out.contains(u"SWR on 50 ohm:"_s));
    QVERIFY(out.contains(u"Front-to-back:"_s));
    QVERIFY(out.contains(u"dBi towards +X"_s));
    QVERIFY(out.contains(u"Bandwidth (SWR 2):"_s));
    QCOMPARE(out.count(u'\n'), 7 + 2 + 41);
}

QTEST_GUILESS_MAIN(TestCliCheck)
#include "tst_clicheck.moc"
