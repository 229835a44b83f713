#include "inprocess.h"
#include "moxoncli.h"
#include "testsuite.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <cmath>
#include <complex>
#include <numbers>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

using Complex = std::complex<double>;

QJsonObject checkJson(const QStringList &arguments, QString &err)
{
    const CliRun run = runCli(QStringList{u"check"_s, u"--json"_s} + arguments);
    err = run.err;
    return run.status == 0 ? QJsonDocument::fromJson(run.out.toUtf8()).object() : QJsonObject();
}

Complex impedanceOf(const QJsonObject &object)
{
    return {object.value(u"resistance_ohm"_s).toDouble(),
            object.value(u"reactance_ohm"_s).toDouble()};
}

double swrOf(Complex z, double z0)
{
    const double gamma = std::abs((z - z0) / (z + z0));
    return (1 + gamma) / (1 - gamma);
}

} // namespace

// moxon-cli with a feed line, against the real nec2c engine: what the radio sees at the line's
// far end, from the JSON's own line (its impedance, velocity factor and matched loss) by the
// reflection along a lossy line, Γ(l) = ΓL e^(−2γl), written apart from the program's own
// cosh and sinh.
class TestCliFeedLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void atRadioIsTheLossyLines_data();
    void atRadioIsTheLossyLines();
    void refusesAnIncompleteLine_data();
    void refusesAnIncompleteLine();
};

void TestCliFeedLine::atRadioIsTheLossyLines_data()
{
    QTest::addColumn<QStringList>("design");
    QTest::addColumn<QStringList>("line");
    QTest::addColumn<double>("lengthMetres");

    const QStringList twenty{u"-f"_s, u"14.15"_s, u"-w"_s, u"2"_s, u"--wire-unit"_s, u"mm"_s};
    QTest::newRow("30 m of RG-58 on 20 m, in metres")
        << twenty + QStringList{u"--units"_s, u"m"_s} << QStringList{u"RG-58"_s, u"30"_s} << 30.0;
    QTest::newRow("100 ft of RG-213 on 20 m, in feet")
        << twenty + QStringList{u"--units"_s, u"ft"_s} << QStringList{u"rg-213"_s, u"100"_s}
        << 30.48;
    QTest::newRow("a 75-ohm line of one's own on 2 m, in millimetres")
        << QStringList{u"-f"_s, u"146"_s, u"-w"_s, u"#12"_s, u"--units"_s, u"mm"_s}
        << QStringList{u"75,0.8,6.5,146"_s, u"12500"_s} << 12.5;
}

void TestCliFeedLine::atRadioIsTheLossyLines()
{
    QFETCH(QStringList, design);
    QFETCH(QStringList, line);
    QFETCH(double, lengthMetres);

    QString err;
    const QJsonObject bare = checkJson(design, err);
    QVERIFY2(!bare.isEmpty(), qPrintable(err));
    QVERIFY(bare.value(u"installation"_s).toObject().value(u"feedline"_s).isNull());
    QVERIFY(!bare.contains(u"at_radio"_s));
    const QJsonObject report = checkJson(
        design + QStringList{u"--feedline"_s, line.at(0), u"--feedline-length"_s, line.at(1)}, err);
    QVERIFY2(!report.isEmpty(), qPrintable(err));

    // The antenna's own figures are those without a line.
    for (const QString &key : {u"resistance_ohm"_s, u"reactance_ohm"_s, u"swr_50"_s}) {
        QCOMPARE(report.value(key).toDouble(), bare.value(key).toDouble());
    }
    const QJsonObject feedline =
        report.value(u"installation"_s).toObject().value(u"feedline"_s).toObject();
    QVERIFY(std::fabs(feedline.value(u"length_m"_s).toDouble() - lengthMetres) < 1e-9);
    const double z0 = feedline.value(u"z0_ohm"_s).toDouble();
    const double velocity = feedline.value(u"velocity_factor"_s).toDouble();
    const double dbPer100m = feedline.value(u"matched_loss_db_per_100m"_s).toDouble();
    QVERIFY(z0 > 0 && velocity > 0.5 && dbPer100m > 0);

    const double f = report.value(u"frequency_mhz"_s).toDouble();
    const double alpha = dbPer100m / 100 / (20 / std::numbers::ln10); // nepers per metre
    const double beta = 2 * std::numbers::pi * f / (299.792458 * velocity);
    const Complex gammaLength = Complex(alpha, beta) * lengthMetres;
    const Complex antenna = impedanceOf(report);
    const Complex reflection = (antenna - z0) / (antenna + z0) * std::exp(-2.0 * gammaLength);
    const Complex expected = z0 * (1.0 + reflection) / (1.0 - reflection);

    const QJsonObject radio = report.value(u"at_radio"_s).toObject();
    const Complex seen = impedanceOf(radio);
    const double swr = radio.value(u"swr_50"_s).toDouble();
    const QString figures =
        u"at the radio %1 %2j, SWR %3; the line's %4 %5j, SWR %6"_s.arg(seen.real())
            .arg(seen.imag())
            .arg(swr)
            .arg(expected.real())
            .arg(expected.imag())
            .arg(swrOf(expected, 50));
    QVERIFY2(std::abs(seen.real() - expected.real()) < 0.5, qPrintable(figures));
    QVERIFY2(std::abs(seen.imag() - expected.imag()) < 0.5, qPrintable(figures));
    QVERIFY2(std::fabs(swr / swrOf(expected, 50) - 1) < 0.005, qPrintable(figures));

    // The matched loss over the length, and the total by the classic formula on Z0.
    const double matched = dbPer100m * lengthMetres / 100;
    const double a = std::pow(10, matched / 10);
    const double g = std::abs((antenna - z0) / (antenna + z0));
    const double total = 10 * std::log10((a * a - g * g) / (a * (1 - g * g)));
    QVERIFY(std::fabs(radio.value(u"matched_loss_db"_s).toDouble() - matched) < 0.02);
    QVERIFY2(
        std::fabs(radio.value(u"total_loss_db"_s).toDouble() - total) < 0.02,
        qPrintable(u"%1 dB, the formula's %2 dB"_s.arg(radio.value(u"total_loss_db"_s).toDouble())
                       .arg(total)));
    QVERIFY(std::fabs(radio.value(u"power_at_antenna_w"_s).toDouble() -
                      100 * std::pow(10, -total / 10)) < 0.05);

    // The sweep at the radio row by row beside the antenna's, the design frequency in the
    // middle; its 2:1 band at least as wide.
    const QJsonArray sweep = report.value(u"sweep"_s).toArray();
    const QJsonArray atRadio = report.value(u"sweep_at_radio"_s).toArray();
    QCOMPARE(atRadio.size(), sweep.size());
    const QJsonObject middle = atRadio.at(atRadio.size() / 2).toObject();
    QCOMPARE(middle.value(u"frequency_mhz"_s).toDouble(), f);
    QVERIFY(std::abs(impedanceOf(middle) - seen) < 0.01);
    const QJsonObject band = report.value(u"bandwidth"_s).toObject();
    const QJsonObject radioBand = radio.value(u"bandwidth"_s).toObject();
    QVERIFY(radioBand.value(u"width_mhz"_s).toDouble() >= band.value(u"width_mhz"_s).toDouble());
}

void TestCliFeedLine::refusesAnIncompleteLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named"); // in the one sentence

    const QStringList check{u"check"_s, u"-f"_s, u"14.15"_s};
    const QStringList trim{u"trim"_s, u"-f"_s, u"14.15"_s, u"--dip"_s, u"14"_s};
    QTest::newRow("a line without its length")
        << check + QStringList{u"--feedline"_s, u"RG-58"_s} << u"--feedline-length"_s;
    QTest::newRow("a length without its line")
        << check + QStringList{u"--feedline-length"_s, u"30"_s} << u"--feedline"_s;
    QTest::newRow("a cable not in the table")
        << check + QStringList{u"--feedline"_s, u"RG-59"_s, u"--feedline-length"_s, u"30"_s}
        << u"RG-59"_s;
    QTest::newRow("no length") << check + QStringList{u"--feedline"_s, u"RG-58"_s,
                                                      u"--feedline-length"_s, u"0"_s}
                               << u"--feedline-length"_s;
    QTest::newRow("a velocity factor above 1")
        << check + QStringList{u"--feedline"_s, u"50,1.2,4,14"_s, u"--feedline-length"_s, u"3"_s}
        << u"--feedline"_s;
    QTest::newRow("tune: a line without its length")
        << QStringList{u"tune"_s, u"-f"_s, u"14.15"_s, u"--feedline"_s, u"LMR-400"_s}
        << u"--feedline-length"_s;
    QTest::newRow("a dip typed cannot be turned back")
        << trim + QStringList{u"--measured-at"_s, u"radio"_s} << u"--measured"_s;
    QTest::newRow("measured at a place of its own")
        << trim + QStringList{u"--measured-at"_s, u"mast"_s} << u"mast"_s;
}

void TestCliFeedLine::refusesAnIncompleteLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);

    const CliRun run = runCli(arguments);
    QCOMPARE(run.status, int(ExitUsage));
    QVERIFY2(run.err.contains(named), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

MOXON_TEST_GUILESS_MAIN(TestCliFeedLine)
#include "tst_clifeedline.moc"
