#include "eznec_types.h"
#include "goldenfile.h"
#include "modelfixtures.h"
#include "writeez.h"

#include <QTest>
#include <QtEndian>

#include <bit>

using namespace moxon;
using namespace moxon::test;

namespace {

Written writeModel(const ModelSource &source, const QLocale &locale = kUs)
{
    return writeWith(WriteEZ, source, locale);
}

QByteArray record(const QByteArray &file, int number) // numbered from 1
{
    return file.mid((number - 1) * kEZRecordLength, kEZRecordLength);
}

float singleAt(const QByteArray &bytes, qsizetype offset)
{
    return std::bit_cast<float>(qFromLittleEndian<quint32>(bytes.constData() + offset));
}

qint16 int16At(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<qint16>(bytes.constData() + offset);
}

} // namespace

class TestWriteEz : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startupFileMatchesGoldenFile();
    void startupHeader();
    void startupWireRecord();
    void headerFrequency_data();
    void headerFrequency();
    void unitLetterChangesOnlyItsByte_data();
    void unitLetterChangesOnlyItsByte();
    void wireThickness_data();
    void wireThickness();
    void coordinatesInMetres_data();
    void coordinatesInMetres();
    void segmentCountsRoundToEven();
    void unreadableInputsWriteNothing_data();
    void unreadableInputsWriteNothing();
};

void TestWriteEz::startupFileMatchesGoldenFile()
{
    const Written file = writeModel(startupSource());
    QVERIFY2(file.result.ok(), qPrintable(file.result.error()));
    QCOMPARE(file.bytes.size(), 1530);
    const QString difference = compareWithGolden(QStringLiteral("startup.ez"), file.bytes);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestWriteEz::startupHeader()
{
    const QByteArray header = record(writeModel(startupSource()).bytes, 1);
    QCOMPARE(header.left(18).toHex(' '),
             QByteArray("06 00 01 00 52 00 00 12 43 41 00 00 00 00 00 00 80 3f"));
    QCOMPARE(header.mid(18, 30), QByteArray("Moxon Rectangle               "));
    QCOMPARE(header.at(65), 'I');
    QCOMPARE(singleAt(header, 68), 1304.0f);
    QCOMPARE(singleAt(header, 110), 75.0f);
    QCOMPARE(int16At(header, 114), qint16(46));
}

void TestWriteEz::startupWireRecord()
{
    const QByteArray file = writeModel(startupSource()).bytes;
    // Wire 1 from (6.73, -14.585, 0) to (10.78, -14.585, 0) inches, as metres.
    const QByteArray wire = record(file, 2);
    QCOMPARE(wire.mid(16, 48).toHex(' '),
             QByteArray("6b 0b 2f 3e cd ac bd be 00 00 00 00 16 31 8c 3e cd ac bd be 00 00 00 00 "
                        "a9 83 06 3b 0c 00 05 00 02 00 00 00 48 42 00 00 80 3f 00 00 00 00 56 00"));
    QCOMPARE(wire.left(16), QByteArray(16, '\0'));
    QCOMPARE(wire.mid(64), QByteArray(170 - 64, '\0'));

    const QList<qint16> segments = {5, 35, 5, 7, 35, 7};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(int16At(record(file, i + 2), 46), segments.at(i));
    }
    // The only blanks of the file are those of the padded title.
    for (qsizetype at = file.indexOf(' '); at >= 0; at = file.indexOf(' ', at + 1)) {
        QVERIFY2(at >= 18 && at < 48, qPrintable(QStringLiteral("blank at byte %1").arg(at)));
    }
}

void TestWriteEz::headerFrequency_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<float>("stored");

    QTest::newRow("whole") << kUs << "146" << 146.0f;
    QTest::newRow("trailing zeros") << kUs << "146.000" << 146.0f;
    QTest::newRow("decimal point") << kUs << "14.15" << 14.15f;
    QTest::newRow("decimal comma") << kGerman << "14,15" << 14.15f;
}

void TestWriteEz::headerFrequency()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, frequency);
    QFETCH(float, stored);

    ModelSource source = startupSource();
    source.frequency = frequency;
    const Written file = writeModel(source, locale);
    QVERIFY2(file.result.ok(), qPrintable(file.result.error()));
    QCOMPARE(singleAt(file.bytes, 5), stored);
}

void TestWriteEz::unitLetterChangesOnlyItsByte_data()
{
    QTest::addColumn<QString>("displayUnits");
    QTest::addColumn<char>("letter");

    QTest::newRow("feet") << "ft" << 'F';
    QTest::newRow("inches") << "in" << 'I';
    QTest::newRow("metres") << "m" << 'M';
    QTest::newRow("millimetres") << "mm" << 'L';
    QTest::newRow("other letter case") << "MM" << 'L';
}

void TestWriteEz::unitLetterChangesOnlyItsByte()
{
    QFETCH(QString, displayUnits);
    QFETCH(char, letter);

    ModelSource source = startupSource();
    source.displayUnits = displayUnits;
    QByteArray header = record(writeModel(source).bytes, 1);
    QCOMPARE(header.at(65), letter);
    header[65] = 'I';
    QCOMPARE(header, record(writeModel(startupSource()).bytes, 1));
}

void TestWriteEz::wireThickness_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("wireUnit");
    QTest::addColumn<QString>("wireSize");
    QTest::addColumn<float>("diameter");
    QTest::addColumn<QByteArray>("gaugeBytes");

    QTest::newRow("gauge 12, not rounded") << kUs << "AWG"
                                           << "#12" << 0.0020525253f << QByteArray("0c 00");
    QTest::newRow("gauge 0") << kUs << "AWG"
                             << "#0" << float(0.3248607 * 0.0254) << QByteArray("00 00");
    QTest::newRow("0.08 inch") << kUs << "in"
                               << "0.08" << 0.002032f << QByteArray("ff ff");
    QTest::newRow("2 mm") << kUs << "mm"
                          << "2" << 0.002f << QByteArray("ff ff");
    QTest::newRow("decimal comma mm") << kGerman << "mm"
                                      << "2,5" << 0.0025f << QByteArray("ff ff");
}

void TestWriteEz::wireThickness()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, wireUnit);
    QFETCH(QString, wireSize);
    QFETCH(float, diameter);
    QFETCH(QByteArray, gaugeBytes);

    ModelSource source = startupSource();
    source.wireUnit = wireUnit;
    source.wireSize = wireSize;
    const Written file = writeModel(source, locale);
    QVERIFY2(file.result.ok(), qPrintable(file.result.error()));
    for (int number = 2; number <= 7; ++number) {
        const QByteArray wire = record(file.bytes, number);
        QVERIFY(qFuzzyCompare(singleAt(wire, 40), diameter));
        QCOMPARE(wire.mid(44, 2).toHex(' '), gaugeBytes);
    }
}

void TestWriteEz::coordinatesInMetres_data()
{
    QTest::addColumn<QString>("displayUnits");
    QTest::addColumn<double>("shown");
    QTest::addColumn<float>("metres");

    QTest::newRow("inches") << "in" << 10.0 << 0.254f;
    QTest::newRow("feet") << "ft" << 1.0 << 0.3048f;
    QTest::newRow("metres") << "m" << 0.741 << 0.741f;
    QTest::newRow("millimetres") << "mm" << 741.0 << 0.741f;
}

void TestWriteEz::coordinatesInMetres()
{
    QFETCH(QString, displayUnits);
    QFETCH(double, shown);
    QFETCH(float, metres);

    ModelSource source = startupSource();
    source.displayUnits = displayUnits;
    source.wires[2].Z2 = shown;
    const QByteArray wire = record(writeModel(source).bytes, 4);
    QCOMPARE(singleAt(wire, 36), metres);
}

void TestWriteEz::segmentCountsRoundToEven()
{
    ModelSource source = startupSource();
    source.wires[0].Segments = 4.5;
    source.wires[1].Segments = 5.5;
    source.wires[2].Segments = 6.4;
    const QByteArray file = writeModel(source).bytes;
    QCOMPARE(int16At(record(file, 2), 46), qint16(4));
    QCOMPARE(int16At(record(file, 3), 46), qint16(6));
    QCOMPARE(int16At(record(file, 4), 46), qint16(6));
}

void TestWriteEz::unreadableInputsWriteNothing_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("wireSize");
    QTest::addColumn<double>("coordinate");
    QTest::addColumn<QString>("reason");

    QTest::newRow("frequency not a number")
        << "abc"
        << "#12" << 1.0 << "The frequency 'abc' is not a number that the model file can hold.";
    QTest::newRow("frequency past single range")
        << "1E39"
        << "#12" << 1.0 << "The frequency '1E39' is not a number that the model file can hold.";
    QTest::newRow("gauge not a number")
        << "146"
        << "#abc" << 1.0 << "The wire size '#abc' is not a number the model can hold.";
    QTest::newRow("coordinate past single range")
        << "146"
        << "#12" << 1e41 << "The antenna is too large for the model file.";
}

void TestWriteEz::unreadableInputsWriteNothing()
{
    QFETCH(QString, frequency);
    QFETCH(QString, wireSize);
    QFETCH(double, coordinate);
    QFETCH(QString, reason);

    ModelSource source = startupSource();
    source.frequency = frequency;
    source.wireSize = wireSize;
    source.wires[5].X2 = coordinate;
    const Written file = writeModel(source);
    QVERIFY(!file.result.ok());
    QCOMPARE(file.result.error(), reason);
    QCOMPARE(file.bytes, QByteArray());
}

QTEST_APPLESS_MAIN(TestWriteEz)
#include "tst_writeez.moc"
