#include "eznec_types.h"
#include "goldenfile.h"
#include "modelfixtures.h"
#include "testsuite.h"
#include "writeez.h"

#include <QTest>
#include <QtEndian>

#include <bit>
#include <limits>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

Written writeModel(const ModelInput &model)
{
    return writeWith(WriteEZ, model);
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
    void unstorableInputsWriteNothing_data();
    void unstorableInputsWriteNothing();
    void deviceFailureIsReported();
};

void TestWriteEz::startupFileMatchesGoldenFile()
{
    const Written file = writeModel(startupModel());
    QVERIFY2(file.result.ok(), qPrintable(file.result.error()));
    QCOMPARE(file.bytes.size(), 1530);
    const QString difference = compareWithGolden(QStringLiteral("startup.ez"), file.bytes);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestWriteEz::startupHeader()
{
    const QByteArray header = record(writeModel(startupModel()).bytes, 1);
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
    const QByteArray file = writeModel(startupModel()).bytes;
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
    QTest::addColumn<double>("frequency");
    QTest::addColumn<float>("stored");

    QTest::newRow("whole") << 146.0 << 146.0f;
    QTest::newRow("rounded to single") << 14.15 << 14.15f;
    QTest::newRow("largest single") << double(std::numeric_limits<float>::max())
                                    << std::numeric_limits<float>::max();
}

void TestWriteEz::headerFrequency()
{
    QFETCH(double, frequency);
    QFETCH(float, stored);

    ModelInput model = startupModel();
    model.frequencyMHz = frequency;
    const Written file = writeModel(model);
    QVERIFY2(file.result.ok(), qPrintable(file.result.error()));
    QCOMPARE(singleAt(file.bytes, 5), stored);
}

void TestWriteEz::unitLetterChangesOnlyItsByte_data()
{
    QTest::addColumn<DisplayUnit>("units");
    QTest::addColumn<char>("letter");

    QTest::newRow("feet") << DisplayUnit::Feet << 'F';
    QTest::newRow("inches") << DisplayUnit::Inch << 'I';
    QTest::newRow("metres") << DisplayUnit::Metre << 'M';
    QTest::newRow("millimetres") << DisplayUnit::Millimetre << 'L';
}

void TestWriteEz::unitLetterChangesOnlyItsByte()
{
    QFETCH(DisplayUnit, units);
    QFETCH(char, letter);

    ModelInput model = startupModel();
    model.units = units;
    QByteArray header = record(writeModel(model).bytes, 1);
    QCOMPARE(header.at(65), letter);
    header[65] = 'I';
    QCOMPARE(header, record(writeModel(startupModel()).bytes, 1));
}

void TestWriteEz::wireThickness_data()
{
    QTest::addColumn<WireSize>("wire");
    QTest::addColumn<float>("diameter");
    QTest::addColumn<QByteArray>("gaugeBytes");

    QTest::newRow("gauge 12, not rounded")
        << WireSize{WireUnit::Gauge, 12} << 0.0020525253f << QByteArray("0c 00");
    QTest::newRow("gauge 0") << WireSize{WireUnit::Gauge, 0} << float(0.3248607 * 0.0254)
                             << QByteArray("00 00");
    QTest::newRow("0.08 inch") << WireSize{WireUnit::Inch, 0.08} << 0.002032f
                               << QByteArray("ff ff");
    QTest::newRow("2 mm") << WireSize{WireUnit::Millimetre, 2} << 0.002f << QByteArray("ff ff");
}

void TestWriteEz::wireThickness()
{
    QFETCH(WireSize, wire);
    QFETCH(float, diameter);
    QFETCH(QByteArray, gaugeBytes);

    ModelInput model = startupModel();
    model.wire = wire;
    const Written file = writeModel(model);
    QVERIFY2(file.result.ok(), qPrintable(file.result.error()));
    for (int number = 2; number <= 7; ++number) {
        const QByteArray wireRecord = record(file.bytes, number);
        QVERIFY(qFuzzyCompare(singleAt(wireRecord, 40), diameter));
        QCOMPARE(wireRecord.mid(44, 2).toHex(' '), gaugeBytes);
    }
}

void TestWriteEz::coordinatesInMetres_data()
{
    QTest::addColumn<DisplayUnit>("units");
    QTest::addColumn<double>("shown");
    QTest::addColumn<float>("metres");

    QTest::newRow("inches") << DisplayUnit::Inch << 10.0 << 0.254f;
    QTest::newRow("feet") << DisplayUnit::Feet << 1.0 << 0.3048f;
    QTest::newRow("metres") << DisplayUnit::Metre << 0.741 << 0.741f;
    QTest::newRow("millimetres") << DisplayUnit::Millimetre << 741.0 << 0.741f;
}

void TestWriteEz::coordinatesInMetres()
{
    QFETCH(DisplayUnit, units);
    QFETCH(double, shown);
    QFETCH(float, metres);

    ModelInput model = startupModel();
    model.units = units;
    model.wires[2].Z2 = shown;
    const QByteArray wire = record(writeModel(model).bytes, 4);
    QCOMPARE(singleAt(wire, 36), metres);
}

void TestWriteEz::unstorableInputsWriteNothing_data()
{
    QTest::addColumn<QString>("frequencyText");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<WireSize>("wire");
    QTest::addColumn<double>("coordinate");
    QTest::addColumn<int>("segments");
    QTest::addColumn<QString>("reason");

    const WireSize gauge12{WireUnit::Gauge, 12};
    QTest::newRow("frequency past single range")
        << u"1E39"_s << 1e39 << gauge12 << 1.0 << 5
        << u"The frequency '1E39' is not a number that the model file can hold."_s;
    // Positive values the design accepts must not reach the file as 0.
    QTest::newRow("frequency underflows")
        << u"1E-300"_s << 1e-300 << gauge12 << 1.0 << 5
        << u"The frequency '1E-300' is not a number that the model file can hold."_s;
    QTest::newRow("diameter underflows")
        << u"146"_s << 146.0 << WireSize{WireUnit::Millimetre, 1e-50} << 1.0 << 5
        << u"The wire size 1E-50 mm is not a size the model can hold."_s;
    QTest::newRow("gauge past 16 bits")
        << u"146"_s << 146.0 << WireSize{WireUnit::Gauge, 40000} << 1.0 << 5
        << u"The wire size 40000 AWG is not a size the model can hold."_s;
    QTest::newRow("diameter past single range")
        << u"146"_s << 146.0 << WireSize{WireUnit::Millimetre, 1e300} << 1.0 << 5
        << u"The wire size 1E+300 mm is not a size the model can hold."_s;
    QTest::newRow("coordinate past single range")
        << u"146"_s << 146.0 << gauge12 << 1e41 << 5
        << u"The antenna is too large for the model file."_s;
    QTest::newRow("no segments") << u"146"_s << 146.0 << gauge12 << 1.0 << 0
                                 << u"A wire of 0 segments cannot be stored in the model file."_s;
    QTest::newRow("segments past 16 bits")
        << u"146"_s << 146.0 << gauge12 << 1.0 << 40000
        << u"A wire of 40000 segments cannot be stored in the model file."_s;
}

void TestWriteEz::unstorableInputsWriteNothing()
{
    QFETCH(QString, frequencyText);
    QFETCH(double, frequency);
    QFETCH(WireSize, wire);
    QFETCH(double, coordinate);
    QFETCH(int, segments);
    QFETCH(QString, reason);

    // The last wire carries the bad value, so that a writer that streams record by record
    // would already have written the others.
    ModelInput model = startupModel();
    model.frequencyText = frequencyText;
    model.frequencyMHz = frequency;
    model.wire = wire;
    model.wires[5].X2 = coordinate;
    model.wires[5].Segments = segments;
    const Written file = writeModel(model);
    QVERIFY(!file.result.ok());
    QCOMPARE(file.result.error(), reason);
    QCOMPARE(file.bytes, QByteArray());
}

void TestWriteEz::deviceFailureIsReported()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const WriteResult result = WriteEZ(buffer, startupModel());
    QVERIFY(!result.ok());
    QVERIFY(!result.error().isEmpty());
}

MOXON_TEST_APPLESS_MAIN(TestWriteEz)
#include "tst_writeez.moc"
