#include "cable.h"
#include "checkcsv.h"
#include "testsuite.h"

#include <QLocale>
#include <QTest>

#include <complex>

Q_DECLARE_METATYPE(moxon::Installation)
Q_DECLARE_METATYPE(std::complex<double>)

using namespace Qt::StringLiterals;
using namespace moxon;

namespace {

// Two sweep rows and a pattern point in each cut: enough to see every part of the file.
QList<SweepPoint> twoPoints(std::complex<double> first, std::complex<double> second)
{
    return {sweepPoint(99.5, {first.real(), first.imag()}),
            sweepPoint(100.5, {second.real(), second.imag()})};
}

DesignFigures figuresWithCuts(std::optional<double> takeoff)
{
    DesignFigures figures;
    figures.frequencyMhz = 100;
    figures.azimuth = {{0, 6.04}};
    figures.elevation = {{-90, -37.2}};
    figures.takeoff = takeoff;
    return figures;
}

// A line without loss of 50 ohms at the speed of light, `wavelengths` long at 100 MHz.
FeedLine losslessLine(double wavelengths)
{
    return {customCable(50, 1, 0, 100), wavelengths * 299.792458 / 100};
}

QList<QByteArray> cells(const QByteArray &row)
{
    return row.split(',');
}

} // namespace

class TestCheckCsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A decimal comma in the user's locale must not reach the file.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void withoutLineAsEver_data();
    void withoutLineAsEver();
    void radioColumns_data();
    void radioColumns();
    void lineInInstallationRow();
};

void TestCheckCsv::withoutLineAsEver_data()
{
    QTest::addColumn<Installation>("installation");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray sweepAndCuts = "MHz,R,X,SWR\r\n"
                                    "99.5000,25,0,2.0000\r\n"
                                    "100.5000,100,-12.5,2.0414\r\n"
                                    "\r\nplane,angle,dBi\r\n"
                                    "azimuth,0.0,6.04\r\n"
                                    "elevation,-90.0,-37.20\r\n";
    QTest::newRow("free space, perfect wire: the sweep alone") << Installation{} << sweepAndCuts;
    Installation insulated{10, {GroundKind::Real, 13, 0.005}, copper(), {}};
    insulated.insulation = Insulation{InsulationKind::Pvc, 3.5, 0.0008};
    QTest::newRow("insulated over average ground: the installation's row first")
        << insulated
        << "height_m,ground,permittivity,conductivity_s_per_m,conductor,conductor_s_per_m,"
           "takeoff_deg,insulation,insulation_permittivity,insulation_thickness_m\r\n"
           "10,real,13,0.005,copper,58000000,21.0,pvc,3.5,0.0008\r\n\r\n"_ba +
               sweepAndCuts;
}

void TestCheckCsv::withoutLineAsEver()
{
    // Without a feed line the file is the one readers have always been given.
    QFETCH(Installation, installation);
    QFETCH(QByteArray, expected);
    const DesignFigures figures =
        figuresWithCuts(installation.overGround() ? std::optional(21.0) : std::nullopt);
    QCOMPARE(checkCsv(twoPoints(25, {100, -12.5}), figures, installation), expected);
}

void TestCheckCsv::radioColumns_data()
{
    QTest::addColumn<double>("wavelengths");
    QTest::addColumn<std::complex<double>>("load");
    QTest::addColumn<std::complex<double>>("atRadio");
    QTest::addColumn<double>("swrAtRadio");
    // A lossless quarter wave turns ZL into Z0²/ZL; a half wave repeats it; the SWR on the
    // line's own impedance is the same at both ends.
    QTest::newRow("quarter wave, 25 ohms")
        << 0.25 << std::complex(25.0) << std::complex(100.0) << 2.0;
    QTest::newRow("quarter wave, 30+j40")
        << 0.25 << std::complex(30.0, 40.0) << std::complex(30.0, -40.0) << 3.0;
    QTest::newRow("half wave, 30+j40")
        << 0.5 << std::complex(30.0, 40.0) << std::complex(30.0, 40.0) << 3.0;
    QTest::newRow("matched, any length")
        << 0.137 << std::complex(50.0) << std::complex(50.0) << 1.0;
}

void TestCheckCsv::radioColumns()
{
    QFETCH(double, wavelengths);
    QFETCH(std::complex<double>, load);
    QFETCH(std::complex<double>, atRadio);
    QFETCH(double, swrAtRadio);
    Installation installation;
    installation.feedLine = losslessLine(wavelengths);
    // One point at the frequency the line's length is counted at.
    const QList<SweepPoint> sweep{sweepPoint(100, {load.real(), load.imag()})};
    const QList<QByteArray> rows = checkCsv(sweep, figuresWithCuts({}), installation).split('\n');
    // The installation's row, an empty line, then the sweep with the radio's columns.
    QCOMPARE(rows.at(3), "MHz,R,X,SWR,R_radio,X_radio,SWR_radio\r"_ba);
    const QList<QByteArray> row = cells(rows.at(4).chopped(1));
    QCOMPARE(row.size(), 7);
    QCOMPARE(row.at(0), "100.0000"_ba);
    // The feed point's columns unchanged by the line.
    QCOMPARE(row.at(1).toDouble(), load.real());
    QCOMPARE(row.at(2).toDouble(), load.imag());
    QVERIFY2(std::abs(row.at(4).toDouble() - atRadio.real()) < 1e-5, row.at(4));
    QVERIFY2(std::abs(row.at(5).toDouble() - atRadio.imag()) < 1e-5, row.at(5));
    QCOMPARE(row.at(6), QByteArray::number(swrAtRadio, 'f', 4));
    QCOMPARE(rows.at(5), "\r"_ba);
    QCOMPARE(rows.at(6), "plane,angle,dBi\r"_ba);
}

void TestCheckCsv::lineInInstallationRow()
{
    // A feed line on the calculator's own model still gets the installation's row, the line's
    // columns after the insulation's; a lossy line lowers the SWR the radio sees.
    Installation installation;
    installation.feedLine = FeedLine{cableOf(*cablePreset(u"RG-58")), 30};
    const QByteArray csv = checkCsv(twoPoints(25, {100, -12.5}), figuresWithCuts({}), installation);
    const QList<QByteArray> rows = csv.split('\n');
    const QList<QByteArray> names = cells(rows.at(0).chopped(1));
    const QList<QByteArray> values = cells(rows.at(1).chopped(1));
    QCOMPARE(names.size(), values.size());
    QCOMPARE(names.mid(0, 2), (QList<QByteArray>{"height_m", "ground"}));
    QCOMPARE(values.mid(0, 2), (QList<QByteArray>{"", "free"}));
    QCOMPARE(names.mid(10, 2), (QList<QByteArray>{"feedline", "feedline_length_m"}));
    QCOMPARE(values.mid(10, 3), (QList<QByteArray>{"RG-58", "30", "50"}));
    QCOMPARE(names.last(), "feedline_loss_db_per_100m"_ba);
    const double matchedLoss = values.last().toDouble();
    QVERIFY2(matchedLoss > 1 && matchedLoss < 100, values.last());
    QCOMPARE(rows.at(2), "\r"_ba);
    for (const int index : {4, 5}) {
        const QList<QByteArray> row = cells(rows.at(index).chopped(1));
        QCOMPARE(row.size(), 7);
        QVERIFY2(row.at(6).toDouble() < row.at(3).toDouble(), rows.at(index));
        QVERIFY2(row.at(6).toDouble() > 1, rows.at(index));
    }
}

MOXON_TEST_GUILESS_MAIN(TestCheckCsv)
#include "tst_checkcsv.moc"
