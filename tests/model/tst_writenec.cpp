#include "elevationcuts.h"
#include "goldenfile.h"
#include "modelfixtures.h"
#include "testsuite.h"
#include "writenec.h"

Q_DECLARE_METATYPE(moxon::Installation)
Q_DECLARE_METATYPE(moxon::ElevationCut)

#include <QTest>

#include <cmath>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

Written writeDeck(const ModelInput &model, const Installation &installation = {})
{
    return writeWith(
        [&installation](QIODevice &out, const ModelInput &m) {
            return WriteNEC(out, m, installation);
        },
        model);
}

QList<QByteArray> deckLines(const QByteArray &deck)
{
    QList<QByteArray> lines = deck.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    for (QByteArray &line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return lines;
}

} // namespace

class TestWriteNec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startupDeckMatchesGoldenFile();
    void radius_data();
    void radius();
    void frequencyField_data();
    void frequencyField();
    void elevationPatternFollowsBeamAxis_data();
    void elevationPatternFollowsBeamAxis();
    void coordinateText_data();
    void coordinateText();
    void unstorableInputsWriteNothing_data();
    void unstorableInputsWriteNothing();
    void deviceFailureIsReported();
    void installationCards_data();
    void installationCards();
    void elevationCutsFollowTheLobes_data();
    void elevationCutsFollowTheLobes();
};

void TestWriteNec::startupDeckMatchesGoldenFile()
{
    const Written deck = writeDeck(startupModel());
    QVERIFY2(deck.result.ok(), qPrintable(deck.result.error()));
    const QString difference = compareWithGolden(QStringLiteral("startup.nec"), deck.bytes);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestWriteNec::radius_data()
{
    QTest::addColumn<DisplayUnit>("units");
    QTest::addColumn<WireSize>("wire");
    QTest::addColumn<QByteArray>("radius");
    QTest::addColumn<QByteArray>("scaleCard");

    const WireSize gauge12{WireUnit::Gauge, 12};
    QTest::newRow("gauge 12 in inches")
        << DisplayUnit::Inch << gauge12 << QByteArray("0.0404") << QByteArray("GS 0 0 0.0254");
    QTest::newRow("gauge 12 in feet")
        << DisplayUnit::Feet << gauge12 << QByteArray("0.003366667") << QByteArray("GS 0 0 0.3048");
    QTest::newRow("gauge 12 in metres")
        << DisplayUnit::Metre << gauge12 << QByteArray("0.00102616") << QByteArray("GS 0 0 1.0");
    QTest::newRow("gauge 12 in millimetres") << DisplayUnit::Millimetre << gauge12
                                             << QByteArray("1.02616") << QByteArray("GS 0 0 0.001");
    QTest::newRow("gauge 0 rounded to 5 decimals")
        << DisplayUnit::Inch << WireSize{WireUnit::Gauge, 0} << QByteArray("0.16243")
        << QByteArray("GS 0 0 0.0254");
    QTest::newRow("gauge 40 rounded to 5 decimals")
        << DisplayUnit::Inch << WireSize{WireUnit::Gauge, 40} << QByteArray("0.00157")
        << QByteArray("GS 0 0 0.0254");
    QTest::newRow("gauge 12.5 rounds to even 12")
        << DisplayUnit::Inch << WireSize{WireUnit::Gauge, 12.5} << QByteArray("0.0404")
        << QByteArray("GS 0 0 0.0254");
    QTest::newRow("gauge 13.5 rounds to even 14")
        << DisplayUnit::Inch << WireSize{WireUnit::Gauge, 13.5} << QByteArray("0.03204")
        << QByteArray("GS 0 0 0.0254");
    QTest::newRow("2 mm wire in millimetres")
        << DisplayUnit::Millimetre << WireSize{WireUnit::Millimetre, 2} << QByteArray("1")
        << QByteArray("GS 0 0 0.001");
    QTest::newRow("0.08 in wire in inches") << DisplayUnit::Inch << WireSize{WireUnit::Inch, 0.08}
                                            << QByteArray("0.04") << QByteArray("GS 0 0 0.0254");
}

void TestWriteNec::radius()
{
    QFETCH(DisplayUnit, units);
    QFETCH(WireSize, wire);
    QFETCH(QByteArray, radius);
    QFETCH(QByteArray, scaleCard);

    ModelInput model = startupModel();
    model.units = units;
    model.wire = wire;
    const Written deck = writeDeck(model);
    QVERIFY2(deck.result.ok(), qPrintable(deck.result.error()));
    const QList<QByteArray> lines = deckLines(deck.bytes);
    QCOMPARE(lines.size(), 15);
    for (int tag = 1; tag <= 6; ++tag) {
        const QByteArray &line = lines.at(tag + 1);
        QVERIFY2(line.startsWith("GW " + QByteArray::number(tag) + ' '), line.constData());
        QCOMPARE(line.split(' ').last(), radius);
    }
    QCOMPARE(lines.at(8), scaleCard);
}

void TestWriteNec::frequencyField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("card");

    QTest::newRow("trailing zeros kept")
        << u"146.000"_s << 146.0 << QByteArray("FR 0 1 0 0 146.000 1");
    QTest::newRow("exponent kept") << u"1.46E2"_s << 146.0 << QByteArray("FR 0 1 0 0 1.46E2 1");
    QTest::newRow("blanks around dropped")
        << u" 14.15 "_s << 14.15 << QByteArray("FR 0 1 0 0 14.15 1");
    QTest::newRow("decimal comma made a point")
        << u"14,2"_s << 14.2 << QByteArray("FR 0 1 0 0 14.2 1");
    QTest::newRow("eastern arabic digits written as the value")
        << QStringLiteral(u"\u0661\u0664\u0666") << 146.0 << QByteArray("FR 0 1 0 0 146 1");
}

void TestWriteNec::frequencyField()
{
    QFETCH(QString, typed);
    QFETCH(double, value);
    QFETCH(QByteArray, card);

    ModelInput model = startupModel();
    model.frequencyText = typed;
    model.frequencyMHz = value;
    const Written deck = writeDeck(model);
    QVERIFY2(deck.result.ok(), qPrintable(deck.result.error()));
    QCOMPARE(deckLines(deck.bytes).at(11), card);
}

void TestWriteNec::elevationPatternFollowsBeamAxis_data()
{
    QTest::addColumn<bool>("xAxis");
    QTest::addColumn<QByteArray>("card");

    QTest::newRow("beam along X") << true << QByteArray("RP 0 181 1 1000 -90 0 1 1");
    QTest::newRow("beam along Y") << false << QByteArray("RP 0 181 1 1000 -90 270 1 1");
}

void TestWriteNec::elevationPatternFollowsBeamAxis()
{
    QFETCH(bool, xAxis);
    QFETCH(QByteArray, card);

    ModelInput model = startupModel();
    model.xAxis = xAxis;
    const QList<QByteArray> lines = deckLines(writeDeck(model).bytes);
    QCOMPARE(lines.at(12), QByteArray("RP 0 1 361 1000 90 0 1 1"));
    QCOMPARE(lines.at(13), card);
}

void TestWriteNec::coordinateText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("difference of shown values") << 10.78 - 4.05 << QByteArray("6.73");
    QTest::newRow("negative") << -14.585 << QByteArray("-14.585");
    QTest::newRow("below one") << -0.3 << QByteArray("-0.3");
    QTest::newRow("whole") << 7721.0 << QByteArray("7721");
    QTest::newRow("fifteen digits") << 1.0 / 3 << QByteArray("0.333333333333333");
    QTest::newRow("small in exponent form") << 1.5e-5 << QByteArray("1.5E-05");
    QTest::newRow("large in exponent form") << 2.5e20 << QByteArray("2.5E+20");
    QTest::newRow("negative zero") << -0.0 << QByteArray("0");
}

void TestWriteNec::coordinateText()
{
    QFETCH(double, value);
    QFETCH(QByteArray, text);

    ModelInput model = startupModel();
    model.wires[0].X1 = value;
    const QList<QByteArray> lines = deckLines(writeDeck(model).bytes);
    QCOMPARE(lines.at(2), "GW 1  5 " + text + " -14.585 0 10.78 -14.585 0 0.0404");
}

void TestWriteNec::unstorableInputsWriteNothing_data()
{
    QTest::addColumn<WireSize>("wire");
    QTest::addColumn<QString>("frequencyText");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<QString>("reason");

    QTest::newRow("gauge past 16 bits")
        << WireSize{WireUnit::Gauge, 40000} << u"146"_s << 146.0
        << u"The wire size 40000 AWG is not a size the model can hold."_s;
    QTest::newRow("radius past single range")
        << WireSize{WireUnit::Inch, 1e300} << u"146"_s << 146.0
        << u"The wire size 1E+300 in is not a size the model can hold."_s;
    // A positive wire the design accepts must not reach the deck as a radius of 0.
    QTest::newRow("radius underflows")
        << WireSize{WireUnit::Millimetre, 1e-50} << u"146"_s << 146.0
        << u"The wire size 1E-50 mm is not a size the model can hold."_s;
    QTest::newRow("frequency zero") << WireSize{WireUnit::Gauge, 12} << u"0"_s << 0.0
                                    << u"The frequency '0' is not a number greater than 0."_s;
}

void TestWriteNec::unstorableInputsWriteNothing()
{
    QFETCH(WireSize, wire);
    QFETCH(QString, frequencyText);
    QFETCH(double, frequency);
    QFETCH(QString, reason);

    ModelInput model = startupModel();
    model.wire = wire;
    model.frequencyText = frequencyText;
    model.frequencyMHz = frequency;
    const Written deck = writeDeck(model);
    QVERIFY(!deck.result.ok());
    QCOMPARE(deck.result.error(), reason);
    QCOMPARE(deck.bytes, QByteArray());
}

void TestWriteNec::deviceFailureIsReported()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const WriteResult result = WriteNEC(buffer, startupModel());
    QVERIFY(!result.ok());
    QVERIFY(!result.error().isEmpty());
}

void TestWriteNec::installationCards_data()
{
    QTest::addColumn<Installation>("installation");
    QTest::addColumn<bool>("vertical");
    // The first wire, and every card between the scale card and the source, then the patterns;
    // an empty list where the installation is refused with `reason`.
    QTest::addColumn<QByteArray>("firstWire");
    QTest::addColumn<QByteArrayList>("cards");
    QTest::addColumn<QString>("reason");

    const QByteArray onHorizon = "RP 0 1 361 1000 90 0 1 1";
    const QByteArray elevation = "RP 0 181 1 1000 -90 0 1 1";
    const QByteArray halfDegrees = "RP 0 361 1 1000 -90 0 0.5 1";
    const Ground average{GroundKind::Real, 13, 0.005};
    QTest::newRow("free space, copper: the export's deck and a load")
        << Installation{2.54, {}, copper(), {}} << false
        << QByteArray("GW 1  5 6.73 -14.585 0 10.78 -14.585 0 0.0404")
        << QByteArrayList{"GE 0", "LD 5 0 0 0 58000000", onHorizon, elevation} << QString();
    QTest::newRow("2.54 m over average ground, perfect wire")
        << Installation{2.54, average, {}, {}} << false
        << QByteArray("GW 1  5 6.73 -14.585 100 10.78 -14.585 100 0.0404")
        << QByteArrayList{"GE 1", "GN 2 0 0 0 13 0.005", halfDegrees} << QString();
    QTest::newRow("perfect ground, aluminium, standing upright")
        << Installation{2.54, {GroundKind::Perfect, 1, 0}, aluminium(), {}} << true
        << QByteArray("GW 1  5 6.73 0 85.415 10.78 0 85.415 0.0404")
        << QByteArrayList{"GE 1", "LD 5 0 0 0 35000000", "GN 1", halfDegrees} << QString();
    QTest::newRow("a conductivity of the user's over sea water")
        << Installation{10, {GroundKind::Real, 81, 5}, {ConductorKind::Other, 1.5e6}, {}} << false
        << QByteArray("GW 1  5 6.73 -14.585 393.700787401575 10.78 -14.585 393.700787401575 "
                      "0.0404")
        << QByteArrayList{"GE 1", "LD 5 0 0 0 1500000", "GN 2 0 0 0 81 5", halfDegrees}
        << QString();
    // 40 m is 19.5 wavelengths at 146 MHz: lobes 1.47 degrees apart need a finer cut, up from
    // each horizon.
    QTest::newRow("40 m over average ground: the displayed cut and a finer one")
        << Installation{40, average, {}, {}} << false
        << QByteArray("GW 1  5 6.73 -14.585 1574.8031496063 10.78 -14.585 1574.8031496063 "
                      "0.0404")
        << QByteArrayList{"GE 1", "GN 2 0 0 0 13 0.005", halfDegrees,
                          "RP 0 58 1 1000 -90 0 0.3515625 1",
                          "RP 0 58 1 1000 69.9609375 0 0.3515625 1"}
        << QString();
    QTest::newRow("ground without conductivity")
        << Installation{10, {GroundKind::Real, 13, 0}, {}, {}} << false << QByteArray()
        << QByteArrayList{}
        << u"The ground needs a relative permittivity of at least 1 and a conductivity above "
           "0 S/m."_s;
    QTest::newRow("conductor of no conductivity")
        << Installation{10, {}, {ConductorKind::Other, 0}, {}} << false << QByteArray()
        << QByteArrayList{} << u"The wire's conductivity must be a number above 0 S/m."_s;
}

void TestWriteNec::installationCards()
{
    QFETCH(Installation, installation);
    QFETCH(bool, vertical);
    QFETCH(QByteArray, firstWire);
    QFETCH(QByteArrayList, cards);
    QFETCH(QString, reason);

    ModelInput model = startupModel();
    model.vertical = vertical;
    model.wires = buildWireTable({29.17, 4.05, 5.56, 10.78}, vertical, true);
    const Written deck = writeDeck(model, installation);
    QCOMPARE(deck.result.error(), reason);
    if (!reason.isEmpty()) {
        QCOMPARE(deck.bytes, QByteArray());
        return;
    }
    const QList<QByteArray> lines = deckLines(deck.bytes);
    QCOMPARE(lines.at(2), firstWire);
    QCOMPARE(lines.at(8), QByteArray("GS 0 0 0.0254"));
    const qsizetype source = lines.indexOf("EX 0 2 18 0 1 0");
    QCOMPARE(lines.at(source + 1), QByteArray("FR 0 1 0 0 146 1"));
    QCOMPARE(lines.mid(9, source - 9) + lines.mid(source + 2, lines.size() - source - 3), cards);
    QCOMPARE(lines.last(), QByteArray("EN"));
}

void TestWriteNec::elevationCutsFollowTheLobes_data()
{
    QTest::addColumn<double>("heightWavelengths");
    QTest::addColumn<QList<ElevationCut>>("cuts");

    const ElevationCut displayed{-90, 0.5, 361};
    // Lobes 4 half-degree steps apart at 14.32 wavelengths: the displayed cut suffices below.
    QTest::newRow("no height") << 0.0 << QList<ElevationCut>{displayed};
    QTest::newRow("not a number") << qQNaN() << QList<ElevationCut>{displayed};
    QTest::newRow("0.47 wavelengths") << 0.47 << QList<ElevationCut>{displayed};
    QTest::newRow("14.3 wavelengths, 2.004 degrees") << 14.3 << QList<ElevationCut>{displayed};
    // 180 / 384 = 0.46875: 4.24 steps in a spacing of 1.989 degrees; 43 steps reach 20 degrees
    // up from each horizon.
    QTest::newRow("14.4 wavelengths")
        << 14.4 << QList<ElevationCut>{displayed, {-90, 0.46875, 44}, {69.84375, 0.46875, 44}};
    QTest::newRow("19.2 wavelengths, 432.1 MHz at 13.3 m")
        << 19.17
        << QList<ElevationCut>{displayed, {-90, 0.3515625, 58}, {69.9609375, 0.3515625, 58}};
    // A ninth of the directions the whole plane took in this step.
    QTest::newRow("200 wavelengths")
        << 200.0
        << QList<ElevationCut>{displayed, {-90, 0.03515625, 570}, {69.99609375, 0.03515625, 570}};
}

void TestWriteNec::elevationCutsFollowTheLobes()
{
    QFETCH(double, heightWavelengths);
    QFETCH(QList<ElevationCut>, cuts);

    const QList<ElevationCut> written = elevationCuts(heightWavelengths);
    QCOMPARE(written, cuts);
    for (const ElevationCut &cut : written) {
        // From a horizon exactly, over the whole plane or at least 20 degrees up, in steps the
        // engine sums without rounding.
        const double end = cut.startDegrees + (cut.points - 1) * cut.stepDegrees;
        QVERIFY(cut.startDegrees == -90 || end == 90);
        QVERIFY(end - cut.startDegrees >= kFineCutElevation);
        QCOMPARE(std::fmod(std::ldexp(cut.stepDegrees, 40), 1.0), 0.0);
    }
    QCOMPARE(written.first().points, 361);
    // The finest cut has 4 to 5 directions in a spacing of the lobes near the horizon.
    const double perLobe = lobeSpacingDegrees(heightWavelengths) / written.last().stepDegrees;
    QVERIFY2(written.size() == 1 || (perLobe >= 4 && perLobe <= 5),
             qPrintable(QString::number(perLobe)));
}

MOXON_TEST_APPLESS_MAIN(TestWriteNec)
#include "tst_writenec.moc"
