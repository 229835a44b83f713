#include "feedline.h"
#include "installation.h"
#include "measureddip.h"
#include "testsuite.h"
#include "touchstone.h"
#include "touchstonewriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace moxon;
using namespace Qt::StringLiterals;

namespace {

// The curve of the reading tests: a Moxon for 28.3 MHz and either side of it, in ohms.
const QList<TouchstonePoint> kCurve = {{28.0, {30, -25}}, {28.3, {48, 3}}, {28.6, {70, 40}}};
// The same with a perfect match after it, whose S11 of 0 has no decibels.
const QList<TouchstonePoint> kWrittenCurve = kCurve + QList<TouchstonePoint>{{28.9, {50, 0}}};

QString ohms(std::complex<double> z)
{
    return u"%1 %2 %3j ohms"_s.arg(z.real(), 0, 'g', 12)
        .arg(z.imag() < 0 ? u'-' : u'+')
        .arg(std::abs(z.imag()), 0, 'g', 12);
}

bool sameImpedance(std::complex<double> read, std::complex<double> expected)
{
    return std::abs(read - expected) <= 1e-9 * std::abs(expected);
}

// Why `read` differs from `expected`, or empty.
QString curveDifference(const QList<TouchstonePoint> &read, const QList<TouchstonePoint> &expected)
{
    if (read.size() != expected.size()) {
        return u"%1 points instead of %2"_s.arg(read.size()).arg(expected.size());
    }
    for (qsizetype i = 0; i < read.size(); ++i) {
        const TouchstonePoint &r = read.at(i);
        const TouchstonePoint &e = expected.at(i);
        if (std::abs(r.frequencyMhz - e.frequencyMhz) > 1e-9 * e.frequencyMhz ||
            !sameImpedance(r.impedanceOhm, e.impedanceOhm)) {
            return u"point %1 reads %2 MHz, %3, not %4 MHz, %5"_s.arg(i)
                .arg(r.frequencyMhz, 0, 'g', 17)
                .arg(ohms(r.impedanceOhm))
                .arg(e.frequencyMhz)
                .arg(ohms(e.impedanceOhm));
        }
    }
    return {};
}

// The sentence of a refused file, or of one read that should have been refused.
QString errorOf(const TouchstoneResult &result)
{
    const auto *error = std::get_if<TouchstoneError>(&result);
    return error ? error->sentence() : u"(read)"_s;
}

// A purely resistive curve whose SWR on 50 ohms is the parabola `lowest` + 40 (f − `atMhz`)².
QList<TouchstonePoint> parabolicSwr(const QList<double> &frequenciesMhz, double atMhz,
                                    double lowest)
{
    QList<TouchstonePoint> curve;
    for (double f : frequenciesMhz) {
        curve.append({f, 50 * (lowest + 40 * (f - atMhz) * (f - atMhz))});
    }
    return curve;
}

QString stored(const QString &name)
{
    return QStringLiteral(MOXON_TEST_DATA_DIR "/touchstone/") + name;
}

} // namespace

class TestTouchstone : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsEveryForm_data();
    void readsEveryForm();
    void readsWhatIsWritten_data();
    void readsWhatIsWritten();
    void refuses_data();
    void refuses();
    void readsStoredFiles();
    void refusesUnreadableFiles();
    void swrIsOnTheFiftyOhmLine_data();
    void swrIsOnTheFiftyOhmLine();
    void findsDipBetweenSteps_data();
    void findsDipBetweenSteps();
    void findsNoDipOutsideRange_data();
    void findsNoDipOutsideRange();
    void lineTransformsImpedance_data();
    void lineTransformsImpedance();
    void lineKeepsSwrAndDip();
};

// Files of kCurve written by hand (numbers to 17 digits), one feature of the format each.
void TestTouchstone::readsEveryForm_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<double>("referenceOhm");

    QTest::newRow("v1 S RI MHz") << QByteArray("! measured with an analyser\n"
                                               "# MHz S RI R 50\n"
                                               "28.0 -0.1387900355871886 -0.35587188612099646\n"
                                               "28.3 -0.019452824300426507 0.031207739519400812\n"
                                               "28.6 0.24999999999999994 0.25\n")
                                 << 50.0;
    QTest::newRow("v1 lower case, dB against 75 ohms, tabs, comments, blank line")
        << QByteArray("!freq dbS11 angS11\n"
                      "# khz s db r 75\n"
                      "\n"
                      "28000.0\t-6.430800514252298\t-137.55289814717176 ! after the data\n"
                      "! between rows\n"
                      "28300.0 -13.120121390781767 172.26262722679374\n"
                      "   28600.0\t\t-11.437352225623478 81.70285503016314   \n")
        << 75.0;
    QTest::newRow("v1 Z normalised to 75 ohms, MA, Hz")
        << QByteArray("# Hz Z MA R 75\n"
                      "28000000.0 0.5206833117271102 -39.80557109226519\n"
                      "28300000.0 0.6412487816752559 3.576334374997351\n"
                      "28600000.0 1.0749676997731399 29.74488129694222\n")
        << 75.0;
    QTest::newRow("v1 Y normalised to the default 50 ohms, GHz")
        << QByteArray("# GHz Y RI\n"
                      "0.028 0.9836065573770492 0.819672131147541\n"
                      "0.028300000000000002 1.0376134889753568 -0.0648508430609598\n"
                      "0.0286 0.5384615384615384 -0.30769230769230765\n")
        << 50.0;
    QTest::newRow("v1 options in any order, a later option line ignored")
        << QByteArray("# R 75 ri Z MHz\n"
                      "28.0 0.4 -0.3333333333333333\n"
                      "# GHz S MA R 50\n"
                      "28.3 0.64 0.04\n"
                      "28.6 0.9333333333333333 0.5333333333333333\n")
        << 75.0;
    QTest::newRow("v1 bare option line: GHz S MA R 50")
        << QByteArray("#\n"
                      "0.028 0.3819783675937795 -111.30578361782877\n"
                      "0.028300000000000002 0.03677411289445383 121.93666266590826\n"
                      "0.0286 0.35355339059327373 45.00000000000001\n")
        << 50.0;
    QTest::newRow("v1 exponents and plus signs")
        << QByteArray("# HZ S RI R 50\n"
                      "2.80000000000000000E+07 -1.38790035587188609e-01 -3.55871886120996461e-01\n"
                      "2.83000000000000000E+07 -1.94528243004265071e-02 +3.12077395194008123e-02\n"
                      "2.86000000000000000E+07 +2.49999999999999944e-01 +2.50000000000000000e-01\n")
        << 50.0;
    QTest::newRow("v1 byte order mark and CR LF")
        << QByteArray("\xEF\xBB\xBF# MHz S MA R 50\r\n"
                      "! comment\r\n"
                      "28.0 0.3819783675937795 -111.30578361782877\r\n"
                      "28.3 0.03677411289445383 121.93666266590826\r\n"
                      "28.6 0.35355339059327373 45.00000000000001\r\n")
        << 50.0;
    QTest::newRow("v1 lone CR") << QByteArray("# MHz S RI R 50\r"
                                              "28.0 -0.1387900355871886 -0.35587188612099646\r"
                                              "28.3 -0.019452824300426507 0.031207739519400812\r"
                                              "28.6 0.24999999999999994 0.25\r")
                                << 50.0;
    QTest::newRow("v2 Z in ohms whatever R") << QByteArray("[Version] 2.0\n"
                                                           "# MHz Z RI R 75\n"
                                                           "[Number of Ports] 1\n"
                                                           "[Number of Frequencies] 3\n"
                                                           "[Network Data]\n"
                                                           "28.0 30.0 -25.0\n"
                                                           "28.3 48.0 3.0\n"
                                                           "28.6 70.0 40.0\n"
                                                           "[End]\n")
                                             << 75.0;
    QTest::newRow("v2 Y in siemens, keywords in any case, information and two-port keywords")
        << QByteArray("[version] 2.0\n"
                      "# MHz Y MA R 75\n"
                      "[NUMBER OF PORTS] 1\n"
                      "[Two-Port Data Order] 12_21\n"
                      "[Number of Frequencies] 3\n"
                      "[Matrix Format] Full\n"
                      "[Begin Information]\n"
                      "[Manufacturer] Analyser\n"
                      "[End Information]\n"
                      "[Network Data]\n"
                      "28.0 0.025607375986579195 39.8055710922652\n"
                      "28.3 0.020792762051726844 -3.576334374997351\n"
                      "28.6 0.012403473458920844 -29.74488129694222\n"
                      "[End]\n")
        << 75.0;
    QTest::newRow("v2 [Reference] on the next line overrides R")
        << QByteArray("[Version] 2.0\n"
                      "# MHz S DB R 50\n"
                      "[Number of Ports] 1\n"
                      "[Reference]\n"
                      "75\n"
                      "[Number of Frequencies] 3\n"
                      "[Network Data]\n"
                      "28.0 -6.430800514252298 -137.55289814717176\n"
                      "28.3 -13.120121390781767 172.26262722679374\n"
                      "28.6 -11.437352225623478 81.70285503016314\n"
                      "[End]\n")
        << 75.0;
    QTest::newRow("v2.1, noise data skipped, no [End]")
        << QByteArray("[Version] 2.1\n"
                      "# MHz S RI R 50\n"
                      "[Number of Ports] 1\n"
                      "[Number of Frequencies] 3\n"
                      "[Number of Noise Frequencies] 1\n"
                      "[Network Data]\n"
                      "28.0 -0.1387900355871886 -0.35587188612099646\n"
                      "28.3 -0.019452824300426507 0.031207739519400812\n"
                      "28.6 0.24999999999999994 0.25\n"
                      "[Noise Data]\n"
                      "28 1.5 0.5 10 0.3\n")
        << 50.0;
}

void TestTouchstone::readsEveryForm()
{
    QFETCH(QByteArray, file);
    QFETCH(double, referenceOhm);

    const TouchstoneResult result = readTouchstone(file, u"curve.s1p"_s);
    const auto *read = std::get_if<TouchstoneFile>(&result);
    QVERIFY2(read, qPrintable(errorOf(result)));
    QVERIFY2(curveDifference(read->points, kCurve).isEmpty(),
             qPrintable(curveDifference(read->points, kCurve)));
    QCOMPARE(read->referenceOhm, referenceOhm);
}

// kWrittenCurve in every form the writer knows.
void TestTouchstone::readsWhatIsWritten_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<double>("referenceOhm");

    for (TouchstoneVersion version : {TouchstoneVersion::One, TouchstoneVersion::Two}) {
        for (NetworkParameter parameter :
             {NetworkParameter::S, NetworkParameter::Y, NetworkParameter::Z}) {
            for (NumberFormat numbers : {NumberFormat::RealImaginary, NumberFormat::MagnitudeAngle,
                                         NumberFormat::DecibelAngle}) {
                for (FrequencyUnit unit : {FrequencyUnit::Hz, FrequencyUnit::kHz,
                                           FrequencyUnit::MHz, FrequencyUnit::GHz}) {
                    for (double reference : {50.0, 75.0}) {
                        const TouchstoneFormat format{unit, parameter, numbers, reference, version};
                        const QByteArray file = touchstoneS1p(kWrittenCurve, format);
                        // The option line names the row: "# MHz S RI R 75" in version 2.
                        const QByteArray option = file.mid(file.indexOf('#'));
                        QTest::addRow("v%d %s", version == TouchstoneVersion::One ? 1 : 2,
                                      option.left(option.indexOf('\n')).constData())
                            << file << reference;
                    }
                }
            }
        }
    }
}

void TestTouchstone::readsWhatIsWritten()
{
    QFETCH(QByteArray, file);
    QFETCH(double, referenceOhm);

    const TouchstoneResult result = readTouchstone(file, u"written.s1p"_s);
    const auto *read = std::get_if<TouchstoneFile>(&result);
    QVERIFY2(read, qPrintable(errorOf(result) + u'\n' + QString::fromLatin1(file)));
    QVERIFY2(curveDifference(read->points, kWrittenCurve).isEmpty(),
             qPrintable(curveDifference(read->points, kWrittenCurve) + u'\n' +
                        QString::fromLatin1(file)));
    QCOMPARE(read->referenceOhm, referenceOhm);
}

void TestTouchstone::refuses_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");

    const QByteArray v2 = "[Version] 2.0\n# MHz S RI\n[Number of Ports] 1\n";
    QTest::newRow("two-port rows")
        << QByteArray("# MHz S RI R 50\n28 0.1 0.2 0 0 0 0 0.3 0.4\n") << 2
        << u"expected 3 numbers for a one-port (frequency and one complex value), found 9"_s;
    QTest::newRow("two-port v2") << QByteArray("[Version] 2.0\n# MHz S RI\n[Number of Ports] 2\n")
                                 << 3 << u"describes 2 ports"_s;
    QTest::newRow("text") << QByteArray("Dear Sir,\nhere is the file.\n") << 1
                          << u"expected the option line"_s;
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << 1
                            << u"expected the option line"_s;
    QTest::newRow("empty") << QByteArray() << 0 << u"the file is empty"_s;
    QTest::newRow("comments only")
        << QByteArray("! nothing\n\n! here\n") << 3 << u"without an option line"_s;
    QTest::newRow("no rows") << QByteArray("# MHz S RI\n! none\n") << 2 << u"without data"_s;
    QTest::newRow("not a number") << QByteArray("# MHz S RI\n28 0.1 O.2\n") << 2
                                  << u"\"O.2\" is not a number"_s;
    QTest::newRow("NaN") << QByteArray("# MHz S RI\n28 nan 0.2\n") << 2
                         << u"\"nan\" is not a finite number"_s;
    QTest::newRow("infinity") << QByteArray("# MHz S RI\n28 0.1 inf\n") << 2 << u"\"inf\" is not"_s;
    QTest::newRow("zero frequency")
        << QByteArray("# MHz S RI\n0 0.1 0.2\n") << 2 << u"\"0\" is not above zero"_s;
    QTest::newRow("negative frequency")
        << QByteArray("# MHz S RI\n-28 0.1 0.2\n") << 2 << u"is not above zero"_s;
    QTest::newRow("decreasing") << QByteArray("# MHz S RI\n28.3 0 0\n28.0 0 0\n") << 3
                                << u"\"28.0\" is not above the one before it"_s;
    QTest::newRow("repeated") << QByteArray("# MHz S RI\n28 0 0\n28 0.1 0\n") << 3
                              << u"not above the one before it"_s;
    QTest::newRow("S11 of 1") << QByteArray("# MHz S RI\n28 0.5 0\n28.1 1 0\n") << 3
                              << u"S11 is exactly 1"_s;
    QTest::newRow("S11 of 0 dB at 0 degrees")
        << QByteArray("# MHz S DB\n28 0 0\n") << 2 << u"S11 is exactly 1"_s;
    QTest::newRow("admittance of 0")
        << QByteArray("# MHz Y RI\n28 0 0\n") << 2 << u"the admittance is 0"_s;
    QTest::newRow("negative magnitude")
        << QByteArray("# MHz S MA\n28 -0.5 10\n") << 2 << u"magnitude -0.5 is below zero"_s;
    QTest::newRow("overflowing impedance")
        << QByteArray("# MHz Z RI R 50\n28 1e308 0\n") << 2 << u"beyond any number"_s;
    QTest::newRow("unknown option") << QByteArray("# MHz S RI R 50 TDR\n") << 1
                                    << u"\"TDR\" is none of the option line's fields"_s;
    QTest::newRow("R without value")
        << QByteArray("# MHz S RI R\n") << 1 << u"gives no reference resistance"_s;
    QTest::newRow("R of 0") << QByteArray("# MHz S RI R 0\n") << 1
                            << u"\"0\" is not a positive number of ohms"_s;
    QTest::newRow("H-parameters") << QByteArray("# MHz H RI\n") << 1
                                  << u"H-parameters describe two-ports"_s;
    QTest::newRow("data before the option line")
        << QByteArray("! x\n28 0 0\n# MHz S RI\n") << 2 << u"expected the option line"_s;
    QTest::newRow("keyword in v1") << QByteArray("# MHz S RI\n[Number of Ports] 1\n") << 2
                                   << u"does not begin with [Version]"_s;
    QTest::newRow("v2 [End] early")
        << v2 + "[Number of Frequencies] 3\n[Network Data]\n28 0 0\n28.3 0 0\n[End]\n"
        << 8 << u"[End] after 2 rows of network data, where [Number of Frequencies] declares 3"_s;
    QTest::newRow("v2 ends early") << v2 + "[Number of Frequencies] 3\n[Network Data]\n28 0 0\n"
                                   << 6 << u"the file ends after 1 row of network data"_s;
    QTest::newRow("v2 more rows")
        << v2 + "[Number of Frequencies] 1\n[Network Data]\n28 0 0\n28.3 0 0\n[End]\n"
        << 7 << u"more rows of network data than the 1"_s;
    QTest::newRow("v2 no [Number of Frequencies]") << v2 + "[Network Data]\n28 0 0\n"
                                                   << 4 << u"before [Number of Frequencies]"_s;
    QTest::newRow("v2 no option line")
        << QByteArray("[Version] 2.0\n[Number of Ports] 1\n[Number of Frequencies] 1\n"
                      "[Network Data]\n")
        << 4 << u"before the option line"_s;
    QTest::newRow("v2 version 3") << QByteArray("[Version] 3.0\n") << 1
                                  << u"version \"3.0\" cannot be read"_s;
    QTest::newRow("v2 unknown keyword") << v2 + "[Frequency Unit] MHz\n"
                                        << 4 << u"\"[Frequency Unit]\" is not a keyword"_s;
    QTest::newRow("v2 two references") << v2 + "[Reference] 50 75\n"
                                       << 4 << u"[Reference] gives 2 resistances"_s;
    QTest::newRow("v2 data before [Network Data]") << v2 + "28 0 0\n"
                                                   << 4 << u"a data row before [Network Data]"_s;
    QTest::newRow("v2 data after [End]")
        << v2 + "[Number of Frequencies] 1\n[Network Data]\n28 0 0\n[End]\n28.3 0 0\n"
        << 8 << u"more than comments after [End]"_s;
    QTest::newRow("v2 [Reference] without a value") << v2 + "[Reference]\n! none\n[Network Data]\n"
                                                    << 4 << u"[Reference] gives no resistance"_s;
    QTest::newRow("v2 [End Information] alone") << v2 + "[End Information]\n"
                                                << 4 << u"without [Begin Information]"_s;
    QTest::newRow("v2 information never ended") << v2 + "[Begin Information]\n[Network Data]\n"
                                                << 5 << u"inside [Begin Information]"_s;
    QTest::newRow("lone CR counts lines")
        << QByteArray("# MHz S RI\r28.3 0 0\r28.0 0 0\r") << 3 << u"not above the one before it"_s;
    QTest::newRow("CR LF counts lines") << QByteArray("# MHz S RI\r\n\r\n28.3 0 0\r\n28.0 0 0\r\n")
                                        << 4 << u"not above the one before it"_s;
}

void TestTouchstone::refuses()
{
    QFETCH(QByteArray, file);
    QFETCH(int, line);
    QFETCH(QString, reason);

    // A name with a place marker in it stays as it is.
    const QString name = u"bad %2.s1p"_s;
    const TouchstoneResult result = readTouchstone(file, name);
    const auto *error = std::get_if<TouchstoneError>(&result);
    QVERIFY2(error, "the file was read");
    QCOMPARE(error->line, line);
    const QString sentence = error->sentence();
    const QString start =
        line > 0 ? name + u" line "_s + QString::number(line) + u": "_s : name + u": "_s;
    QVERIFY2(sentence.startsWith(start) && sentence.contains(reason) && sentence.endsWith(u'.'),
             qPrintable(sentence));
}

// Two files as analysers write them, of one Moxon measured at its feed point: version 1 with
// nine decimals of S11 and CR LF, version 2 in dB to six decimals.
void TestTouchstone::readsStoredFiles()
{
    const TouchstoneResult v1 = readTouchstoneFile(stored(u"moxon28.s1p"_s));
    const TouchstoneResult v2 = readTouchstoneFile(stored(u"moxon28_v2.s1p"_s));
    QVERIFY2(std::holds_alternative<TouchstoneFile>(v1), qPrintable(errorOf(v1)));
    QVERIFY2(std::holds_alternative<TouchstoneFile>(v2), qPrintable(errorOf(v2)));
    const QList<TouchstonePoint> a = std::get<TouchstoneFile>(v1).points;
    const QList<TouchstonePoint> b = std::get<TouchstoneFile>(v2).points;
    QCOMPARE(a.size(), 25);
    QCOMPARE(b.size(), 25);
    QCOMPARE(a.first().frequencyMhz, 27.8);
    QCOMPARE(a.last().frequencyMhz, 29.0);
    for (qsizetype i = 0; i < a.size(); ++i) {
        QCOMPARE(a.at(i).frequencyMhz, b.at(i).frequencyMhz);
        QVERIFY(std::abs(a.at(i).impedanceOhm - b.at(i).impedanceOhm) < 1e-3);
    }
    // The curve's SWR is lowest at 28.433 MHz, between the 28.40 and 28.45 MHz steps.
    for (const QList<TouchstonePoint> &points : {a, b}) {
        const auto dip = measuredDip(points, u"moxon28.s1p"_s);
        QVERIFY(std::holds_alternative<MeasuredDip>(dip));
        QVERIFY2(std::abs(std::get<MeasuredDip>(dip).frequencyMhz - 28.433) < 0.003,
                 qPrintable(QString::number(std::get<MeasuredDip>(dip).frequencyMhz)));
        QVERIFY(std::abs(std::get<MeasuredDip>(dip).swr - 1.0665) < 0.002);
    }
}

void TestTouchstone::refusesUnreadableFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const auto refusal = [](const QString &path) {
        const TouchstoneResult result = readTouchstoneFile(path);
        const auto *error = std::get_if<TouchstoneError>(&result);
        return error && error->line == 0 ? error->sentence() : QString();
    };
    QVERIFY2(refusal(dir.filePath(u"missing.s1p"_s)).startsWith(u"missing.s1p: cannot be read ("),
             qPrintable(refusal(dir.filePath(u"missing.s1p"_s))));

    QVERIFY(QDir(dir.path()).mkdir(u"folder.s1p"_s));
    QVERIFY2(refusal(dir.filePath(u"folder.s1p"_s)).startsWith(u"folder.s1p: cannot be read ("),
             qPrintable(refusal(dir.filePath(u"folder.s1p"_s))));

    QFile huge(dir.filePath(u"huge.s1p"_s));
    QVERIFY(huge.open(QIODevice::WriteOnly));
    QVERIFY(huge.resize(16 * 1024 * 1024 + 1));
    huge.close();
    QCOMPARE(refusal(huge.fileName()),
             u"huge.s1p: is larger than 16 MB, far more than an analyser's one-port "
             "measurement."_s);
}

void TestTouchstone::swrIsOnTheFiftyOhmLine_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<double>("swr");

    QTest::newRow("matched to 50 ohms") << QByteArray("# MHz S RI R 50\n28 0 0\n") << 1.0;
    QTest::newRow("matched to 75 ohms") << QByteArray("# MHz S RI R 75\n28 0 0\n") << 1.5;
    QTest::newRow("v1 Z of 1 normalised to 75 ohms")
        << QByteArray("# MHz Z RI R 75\n28 1 0\n") << 1.5;
    QTest::newRow("v2 [Reference] 25") << QByteArray("[Version] 2.0\n# MHz S RI\n"
                                                     "[Number of Ports] 1\n[Reference] 25\n"
                                                     "[Number of Frequencies] 1\n"
                                                     "[Network Data]\n28 0 0\n[End]\n")
                                       << 2.0;
    QTest::newRow("short circuit") << QByteArray("# MHz S RI R 50\n28 -1 0\n") << double(INFINITY);
}

void TestTouchstone::swrIsOnTheFiftyOhmLine()
{
    QFETCH(QByteArray, file);
    QFETCH(double, swr);

    const TouchstoneResult result = readTouchstone(file, u"swr.s1p"_s);
    QVERIFY2(std::holds_alternative<TouchstoneFile>(result), qPrintable(errorOf(result)));
    const QList<double> read = swrOnLine(std::get<TouchstoneFile>(result).points);
    QCOMPARE(read.size(), 1);
    QCOMPARE(read.first(), swr);
}

void TestTouchstone::findsDipBetweenSteps_data()
{
    QTest::addColumn<QList<double>>("frequencies");
    QTest::addColumn<double>("dipMhz");
    QTest::addColumn<double>("dipSwr");

    QTest::newRow("between even steps")
        << QList<double>{28.0, 28.1, 28.2, 28.3, 28.4, 28.5} << 28.237 << 1.15;
    QTest::newRow("uneven steps") << QList<double>{27.9, 28.15, 28.2, 28.45, 29.0} << 28.31 << 1.3;
    QTest::newRow("on a step") << QList<double>{28.0, 28.1, 28.2, 28.3} << 28.1 << 1.05;
    QTest::newRow("three points") << QList<double>{28.0, 28.5, 29.0} << 28.6 << 1.4;
}

void TestTouchstone::findsDipBetweenSteps()
{
    QFETCH(QList<double>, frequencies);
    QFETCH(double, dipMhz);
    QFETCH(double, dipSwr);

    const auto dip = measuredDip(parabolicSwr(frequencies, dipMhz, dipSwr), u"dip.s1p"_s);
    const QString *refusal = std::get_if<QString>(&dip);
    QVERIFY2(!refusal, qPrintable(refusal ? *refusal : QString()));
    QVERIFY2(std::abs(std::get<MeasuredDip>(dip).frequencyMhz - dipMhz) < 1e-9,
             qPrintable(QString::number(std::get<MeasuredDip>(dip).frequencyMhz, 'g', 17)));
    QVERIFY(std::abs(std::get<MeasuredDip>(dip).swr - dipSwr) < 1e-9);
}

void TestTouchstone::findsNoDipOutsideRange_data()
{
    QTest::addColumn<QList<TouchstonePoint>>("points");
    QTest::addColumn<QString>("sentence");

    QTest::newRow("falls below the range")
        << parabolicSwr({28.0, 28.1, 28.2, 28.3}, 27.95, 1.2)
        << u"low.s1p has no SWR dip inside its range: the SWR still falls towards 28 MHz at its "
           "lower end."_s;
    QTest::newRow("falls above the range")
        << parabolicSwr({28.0, 28.1, 28.2, 28.3}, 28.6, 1.2)
        << u"low.s1p has no SWR dip inside its range: the SWR still falls towards 28.3 MHz at its "
           "upper end."_s;
    QTest::newRow("two points") << parabolicSwr({28.0, 28.1}, 28.05, 1.2)
                                << u"low.s1p holds 2 frequencies, and finding the SWR dip takes "
                                   "at least 3."_s;
    QTest::newRow("one point") << parabolicSwr({28.0}, 28.05, 1.2)
                               << u"low.s1p holds 1 frequency, and finding the SWR dip takes at "
                                  "least 3."_s;
    QTest::newRow("reflecting everything")
        << QList<TouchstonePoint>{{28, {-5, 0}}, {28.1, {0, 10}}, {28.2, {-1, 3}}}
        << u"low.s1p has no SWR dip: the load reflects all the power at every frequency."_s;
}

void TestTouchstone::findsNoDipOutsideRange()
{
    QFETCH(QList<TouchstonePoint>, points);
    QFETCH(QString, sentence);

    const auto dip = measuredDip(points, u"low.s1p"_s);
    QVERIFY(std::holds_alternative<QString>(dip));
    QCOMPARE(std::get<QString>(dip), sentence);
}

// A quarter wave turns ZL into Z0² / ZL, a half wave gives ZL back; the length is where it is
// at 28.3 MHz on line of velocity factor 0.66.
void TestTouchstone::lineTransformsImpedance_data()
{
    QTest::addColumn<double>("wavelengths");
    QTest::addColumn<std::complex<double>>("load");
    QTest::addColumn<std::complex<double>>("seen");

    QTest::newRow("quarter wave, 100 ohms")
        << 0.25 << std::complex<double>(100, 0) << std::complex<double>(25, 0);
    QTest::newRow("quarter wave, reactive")
        << 0.25 << std::complex<double>(30, -25) << 2500.0 / std::complex<double>(30, -25);
    QTest::newRow("half wave") << 0.5 << std::complex<double>(30, -25)
                               << std::complex<double>(30, -25);
    QTest::newRow("eighth wave, matched")
        << 0.125 << std::complex<double>(50, 0) << std::complex<double>(50, 0);
    QTest::newRow("eighth wave, short")
        << 0.125 << std::complex<double>(0, 0) << std::complex<double>(0, 50);
}

void TestTouchstone::lineTransformsImpedance()
{
    QFETCH(double, wavelengths);
    QFETCH(std::complex<double>, load);
    QFETCH(std::complex<double>, seen);

    const double length = wavelengths * 0.66 * freeSpaceWavelength(28.3);
    const QList<TouchstonePoint> through = throughLine({{28.3, load}}, length, 0.66);
    QCOMPARE(through.size(), 1);
    QCOMPARE(through.first().frequencyMhz, 28.3);
    QVERIFY2(std::abs(through.first().impedanceOhm - seen) < 1e-9 * std::max(1.0, std::abs(seen)),
             qPrintable(ohms(through.first().impedanceOhm)));
}

// What the analyser in the shack measures, 13.7 m of foam coax down from the feed point, is
// another impedance at every frequency but the same SWR, and so the same dip.
void TestTouchstone::lineKeepsSwrAndDip()
{
    const TouchstoneResult antenna = readTouchstoneFile(stored(u"moxon28.s1p"_s));
    QVERIFY2(std::holds_alternative<TouchstoneFile>(antenna), qPrintable(errorOf(antenna)));
    const QList<TouchstonePoint> atFeed = std::get<TouchstoneFile>(antenna).points;
    const QList<TouchstonePoint> inShack = throughLine(atFeed, 13.7, 0.82);

    const QList<double> feedSwr = swrOnLine(atFeed);
    const QList<double> shackSwr = swrOnLine(inShack);
    QCOMPARE(shackSwr.size(), feedSwr.size());
    double largestChange = 0;
    for (qsizetype i = 0; i < feedSwr.size(); ++i) {
        QCOMPARE(inShack.at(i).frequencyMhz, atFeed.at(i).frequencyMhz);
        QVERIFY(std::abs(shackSwr.at(i) - feedSwr.at(i)) < 1e-9 * feedSwr.at(i));
        largestChange = std::max(largestChange,
                                 std::abs(inShack.at(i).impedanceOhm - atFeed.at(i).impedanceOhm));
    }
    QVERIFY2(largestChange > 10, qPrintable(QString::number(largestChange)));

    const auto feedDip = measuredDip(atFeed, u"feed"_s);
    const auto shackDip = measuredDip(inShack, u"shack"_s);
    QVERIFY(std::holds_alternative<MeasuredDip>(feedDip));
    QVERIFY(std::holds_alternative<MeasuredDip>(shackDip));
    QVERIFY(std::abs(std::get<MeasuredDip>(shackDip).frequencyMhz -
                     std::get<MeasuredDip>(feedDip).frequencyMhz) < 1e-9);
}

MOXON_TEST_GUILESS_MAIN(TestTouchstone)
#include "tst_touchstone.moc"
