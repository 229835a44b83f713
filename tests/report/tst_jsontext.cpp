#include "jsontext.h"
#include "testsuite.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;
using namespace moxon;

class TestJsonText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A decimal comma in the user's locale must not reach the JSON.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void numbers_data();
    void numbers();
    void nested();
};

void TestJsonText::numbers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    // The engine's figures and what follows from them alone: five significant digits.
    QTest::newRow("front-to-back of two printed gains")
        << u"front_to_back_db"_s << 21.259999999999998 << "21.26"_ba;
    QTest::newRow("SWR of a printed impedance") << u"swr_50"_s << 1.2548464211409156 << "1.2548"_ba;
    QTest::newRow("printed resistance whole") << u"resistance_ohm"_s << 51.155 << "51.155"_ba;
    QTest::newRow("reactance near zero, relative")
        << u"reactance_ohm"_s << -0.0123456789 << "-0.012346"_ba;
    QTest::newRow("gain of a null") << u"gain_dbi"_s << -999.99 << "-999.99"_ba;
    QTest::newRow("band's worst SWR") << u"band_worst_swr"_s << 1.9199999999 << "1.92"_ba;
    QTest::newRow("front-to-back per step")
        << u"front_to_back_db_per_step"_s << 0.123456789 << "0.12346"_ba;
    // The rest: nine.
    QTest::newRow("sweep frequency") << u"frequency_mhz"_s << 14.15 * 0.95 << "13.4425"_ba;
    QTest::newRow("typed 3 cm frequency") << u"frequency_mhz"_s << 10368.125 << "10368.125"_ba;
    QTest::newRow("fitted dip") << u"dip_mhz"_s << 14.0823456789 << "14.0823457"_ba;
    QTest::newRow("dip's move per step")
        << u"dip_khz_per_step"_s << -20.123456789012 << "-20.1234568"_ba;
    QTest::newRow("conductivity") << u"conductor_s_per_m"_s << 5.8e7 << "58000000"_ba;
}

void TestJsonText::numbers()
{
    QFETCH(QString, name);
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    QCOMPARE(jsonText({{name, value}}), "{\"" + name.toUtf8() + "\":" + text + '}');
}

void TestJsonText::nested()
{
    // An array's numbers go by its name, an object's by their own; counts keep every digit.
    const QJsonObject report{
        {u"azimuth"_s, QJsonObject{{u"gain_dbi"_s, QJsonArray{6.040000000000001, -3.28}},
                                   {u"theta_deg"_s, 72.50000000000001}}},
        {u"beamwidth_deg"_s, QJsonValue()},
        {u"builds"_s, 1234567891},
        {u"forward"_s, u"+X"_s},
        {u"sweep_engine_frequencies"_s, QJsonArray{14.15 * 0.95, 14.15}},
    };
    QCOMPARE(
        jsonText(report),
        R"({"azimuth":{"gain_dbi":[6.04,-3.28],"theta_deg":72.5},"beamwidth_deg":null,)"
        R"("builds":1234567891,"forward":"+X","sweep_engine_frequencies":[13.4425,14.15]})"_ba);
    // An SWR past any number is written as the document writes it, not as a rounded number.
    const QJsonObject mismatch{{u"swr_50"_s, std::numeric_limits<double>::infinity()}};
    QCOMPARE(jsonText(mismatch), QJsonDocument(mismatch).toJson(QJsonDocument::Compact));
}

MOXON_TEST_GUILESS_MAIN(TestJsonText)
#include "tst_jsontext.moc"
