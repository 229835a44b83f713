#include "goldenfile.h"
#include "modelfixtures.h"
#include "writenec.h"

#include <QTest>

using namespace moxon;
using namespace moxon::test;

namespace {

Written writeDeck(const ModelSource &source, const QLocale &locale = kUs)
{
    return writeWith(WriteNEC, source, locale);
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
    void unreadableInputsWriteNothing_data();
    void unreadableInputsWriteNothing();
    void deviceFailureIsReported();
};

void TestWriteNec::startupDeckMatchesGoldenFile()
{
    const Written deck = writeDeck(startupSource());
    QVERIFY2(deck.result.ok(), qPrintable(deck.result.error()));
    const QString difference = compareWithGolden(QStringLiteral("startup.nec"), deck.bytes);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestWriteNec::radius_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("displayUnits");
    QTest::addColumn<QString>("wireUnit");
    QTest::addColumn<QString>("wireSize");
    QTest::addColumn<QByteArray>("radius");
    QTest::addColumn<QByteArray>("scaleCard");

    QTest::newRow("gauge 12 in inches")
        << kUs << "in"
        << "AWG"
        << "#12" << QByteArray("0.0404") << QByteArray("GS 0 0 0.0254");
    QTest::newRow("gauge 12 in feet")
        << kUs << "ft"
        << "AWG"
        << "#12" << QByteArray("0.003366667") << QByteArray("GS 0 0 0.3048");
    QTest::newRow("gauge 12 in metres")
        << kUs << "m"
        << "AWG"
        << "#12" << QByteArray("0.00102616") << QByteArray("GS 0 0 1.0");
    QTest::newRow("gauge 12 in millimetres")
        << kUs << "mm"
        << "AWG"
        << "#12" << QByteArray("1.02616") << QByteArray("GS 0 0 0.001");
    QTest::newRow("gauge 0 rounded to 5 decimals")
        << kUs << "in"
        << "AWG"
        << "#0" << QByteArray("0.16243") << QByteArray("GS 0 0 0.0254");
    QTest::newRow("gauge 40 rounded to 5 decimals")
        << kUs << "in"
        << "AWG"
        << "#40" << QByteArray("0.00157") << QByteArray("GS 0 0 0.0254");
    QTest::newRow("gauge 12.5 rounds to even 12")
        << kUs << "in"
        << "AWG"
        << "#12.5" << QByteArray("0.0404") << QByteArray("GS 0 0 0.0254");
    QTest::newRow("gauge 13.5 rounds to even 14")
        << kUs << "in"
        << "AWG"
        << "#13.5" << QByteArray("0.03204") << QByteArray("GS 0 0 0.0254");
    QTest::newRow("2 mm wire in millimetres")
        << kUs << "mm"
        << "mm"
        << "2" << QByteArray("1") << QByteArray("GS 0 0 0.001");
    QTest::newRow("0.08 in wire in inches")
        << kUs << "in"
        << "in"
        << "0.08" << QByteArray("0.04") << QByteArray("GS 0 0 0.0254");
    QTest::newRow("units in other letter case")
        << kUs << "MM"
        << "awg"
        << "#12" << QByteArray("1.02616") << QByteArray("GS 0 0 0.001");
    QTest::newRow("decimal comma wire size")
        << kGerman << "in"
        << "in"
        << "0,08" << QByteArray("0.04") << QByteArray("GS 0 0 0.0254");
    QTest::newRow("decimal comma, metres")
        << kGerman << "m"
        << "AWG"
        << "#12" << QByteArray("0.00102616") << QByteArray("GS 0 0 1.0");
}

void TestWriteNec::radius()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, displayUnits);
    QFETCH(QString, wireUnit);
    QFETCH(QString, wireSize);
    QFETCH(QByteArray, radius);
    QFETCH(QByteArray, scaleCard);

    ModelSource source = startupSource();
    source.displayUnits = displayUnits;
    source.wireUnit = wireUnit;
    source.wireSize = wireSize;
    const Written deck = writeDeck(source, locale);
    QVERIFY2(deck.result.ok(), qPrintable(deck.result.error()));
    const QList<QByteArray> lines = deckLines(deck.bytes);
    QCOMPARE(lines.size(), 15);
    for (int wire = 1; wire <= 6; ++wire) {
        const QByteArray &line = lines.at(wire + 1);
        QVERIFY2(line.startsWith("GW " + QByteArray::number(wire) + ' '), line.constData());
        QCOMPARE(line.split(' ').last(), radius);
    }
    QCOMPARE(lines.at(8), scaleCard);
}

void TestWriteNec::frequencyField_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QByteArray>("card");

    QTest::newRow("trailing zeros kept") << kUs << "146.000" << QByteArray("FR 0 1 0 0 146.000 1");
    QTest::newRow("exponent kept") << kUs << "1.46E2" << QByteArray("FR 0 1 0 0 1.46E2 1");
    QTest::newRow("blanks around dropped") << kUs << " 14.15 " << QByteArray("FR 0 1 0 0 14.15 1");
    QTest::newRow("decimal comma made a point")
        << kGerman << "14,2" << QByteArray("FR 0 1 0 0 14.2 1");
    QTest::newRow("eastern arabic digits written as the value")
        << QLocale(QLocale::Arabic, QLocale::Egypt) << QStringLiteral(u"\u0661\u0664\u0666")
        << QByteArray("FR 0 1 0 0 146 1");
}

void TestWriteNec::frequencyField()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, frequency);
    QFETCH(QByteArray, card);

    ModelSource source = startupSource();
    source.frequency = frequency;
    const Written deck = writeDeck(source, locale);
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

    ModelSource source = startupSource();
    source.xAxis = xAxis;
    const QList<QByteArray> lines = deckLines(writeDeck(source).bytes);
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

    ModelSource source = startupSource();
    source.wires[0].X1 = value;
    const QList<QByteArray> lines = deckLines(writeDeck(source).bytes);
    QCOMPARE(lines.at(2), "GW 1  5 " + text + " -14.585 0 10.78 -14.585 0 0.0404");
}

void TestWriteNec::unreadableInputsWriteNothing_data()
{
    QTest::addColumn<QString>("displayUnits");
    QTest::addColumn<QString>("wireUnit");
    QTest::addColumn<QString>("wireSize");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("reason");

    QTest::newRow("wire size not a number") << "in"
                                            << "in"
                                            << "abc"
                                            << "146"
                                            << "The wire size 'abc' is not a number the model "
                                               "can hold.";
    QTest::newRow("gauge not a number") << "in"
                                        << "AWG"
                                        << "#abc"
                                        << "146"
                                        << "The wire size '#abc' is not a number the model can "
                                           "hold.";
    QTest::newRow("gauge past 16 bits") << "in"
                                        << "AWG"
                                        << "#40000"
                                        << "146"
                                        << "The wire size '#40000' is not a number the model can "
                                           "hold.";
    QTest::newRow("wire past single range") << "in"
                                            << "in"
                                            << "1E300"
                                            << "146"
                                            << "The wire size '1E300' is not a number the model "
                                               "can hold.";
    QTest::newRow("unknown display unit") << "cm"
                                          << "in"
                                          << "0.08"
                                          << "146"
                                          << "The display unit 'cm' is not ft, in, m or mm.";
    QTest::newRow("unknown wire unit") << "in"
                                       << ""
                                       << "0.08"
                                       << "146"
                                       << "The wire-size unit '' is not in, mm or AWG.";
    QTest::newRow("frequency not a number") << "in"
                                            << "in"
                                            << "0.08"
                                            << "abc"
                                            << "The frequency 'abc' is not a number greater "
                                               "than 0.";
    QTest::newRow("frequency zero") << "in"
                                    << "in"
                                    << "0.08"
                                    << "0"
                                    << "The frequency '0' is not a number greater than 0.";
}

void TestWriteNec::unreadableInputsWriteNothing()
{
    QFETCH(QString, displayUnits);
    QFETCH(QString, wireUnit);
    QFETCH(QString, wireSize);
    QFETCH(QString, frequency);
    QFETCH(QString, reason);

    ModelSource source = startupSource();
    source.displayUnits = displayUnits;
    source.wireUnit = wireUnit;
    source.wireSize = wireSize;
    source.frequency = frequency;
    const Written deck = writeDeck(source);
    QVERIFY(!deck.result.ok());
    QCOMPARE(deck.result.error(), reason);
    QCOMPARE(deck.bytes, QByteArray());
}

void TestWriteNec::deviceFailureIsReported()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const WriteResult result = WriteNEC(buffer, startupSource(), LocaleNumbers(kUs));
    QVERIFY(!result.ok());
    QVERIFY(!result.error().isEmpty());
}

QTEST_APPLESS_MAIN(TestWriteNec)
#include "tst_writenec.moc"
