#include "cliprocess.h"
#include "fakeview.h"
#include "inprocess.h"
#include "moxoncli.h"
#include "testsuite.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

QList<QJsonObject> jsonLines(const QString &text)
{
    QList<QJsonObject> objects;
    for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts)) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line.toUtf8(), &error);
        if (error.error != QJsonParseError::NoError || !document.isObject()) {
            return {};
        }
        objects.append(document.object());
    }
    return objects;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void designTable_data();
    void designTable();
    void designJson_data();
    void designJson();
    void bandPlan();
    void severalFrequencies();
    void badArguments_data();
    void badArguments();
    void help();
    void exportMatchesWindow_data();
    void exportMatchesWindow();
    void exportToStandardOutput_data();
    void exportToStandardOutput();
    void exportFailure();
    void checkWithoutEngine();
    void standardOutputCarriesOneThing_data();
    void standardOutputCarriesOneThing();
    void twoWritersOnStandardOutput_data();
    void twoWritersOnStandardOutput();
    void jsonFailures_data();
    void jsonFailures();
    void measurementRefused_data();
    void measurementRefused();
};

void TestCli::designTable_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("row");

    QTest::newRow("start-up design in inches")
        << QStringList{u"--freq"_s, u"146"_s, u"--wire"_s, u"#12"_s, u"--units"_s, u"in"_s}
        << QStringList{u"146"_s, u"29.17"_s, u"4.05"_s, u"1.17"_s, u"5.56"_s, u"10.78"_s, u"in"_s};
    QTest::newRow("defaults are the window's")
        << QStringList{u"--freq"_s, u"146"_s}
        << QStringList{u"146"_s, u"29.17"_s, u"4.05"_s, u"1.17"_s, u"5.56"_s, u"10.78"_s, u"in"_s};
    QTest::newRow("metres") << QStringList{u"-f"_s, u"146"_s, u"-u"_s, u"m"_s}
                            << QStringList{u"146"_s,    u"0.7410"_s, u"0.1028"_s, u"0.0298"_s,
                                           u"0.1412"_s, u"0.2738"_s, u"m"_s};
    QTest::newRow("gauge shorthand beats the unit")
        << QStringList{u"-f"_s,          u"14.15"_s, u"-w"_s, u"#12"_s,
                       u"--wire-unit"_s, u"mm"_s,    u"-u"_s, u"mm"_s}
        << QStringList{u"14.15"_s,  u"7721.8"_s, u"1175.3"_s, u"197.3"_s,
                       u"1435.8"_s, u"2808.4"_s, u"mm"_s};
}

void TestCli::designTable()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, row);

    const CliRun run = runCli(QStringList{u"design"_s} + arguments);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QString());
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).simplified(), u"MHz A B C D E unit"_s);
    QCOMPARE(lines.at(1).simplified().split(u' '), row);
}

void TestCli::designJson_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QList<double>>("dimensions");
    QTest::addColumn<QString>("warning");

    QTest::newRow("start-up design") << QStringList{u"-f"_s, u"146"_s}
                                     << QList<double>{29.17, 4.05, 1.17, 5.56, 10.78} << QString();
    QTest::newRow("thick wire in metres")
        << QStringList{u"-f"_s,          u"1000"_s, u"-w"_s, u"0.5"_s,
                       u"--wire-unit"_s, u"in"_s,   u"-u"_s, u"m"_s}
        << QList<double>{0.1053, 0.0097, 0.0092, 0.0211, 0.0399}
        << u"Wire diameter greater than 1E-2 wavelengths, results uncertain."_s;
}

void TestCli::designJson()
{
    QFETCH(QStringList, arguments);
    QFETCH(QList<double>, dimensions);
    QFETCH(QString, warning);

    const CliRun run = runCli(QStringList{u"design"_s, u"--json"_s} + arguments);
    QCOMPARE(run.status, 0);
    const QList<QJsonObject> objects = jsonLines(run.out);
    QCOMPARE(objects.size(), 1);
    const QJsonObject &object = objects.first();
    const QStringList letters = {u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s};
    for (qsizetype i = 0; i < letters.size(); ++i) {
        QCOMPARE(object.value(letters.at(i)).toDouble(), dimensions.at(i));
    }
    QVERIFY(object.value(u"L"_s).isDouble());
    QCOMPARE(object.value(u"warning"_s).toString(), warning);
    QCOMPARE(object.value(u"warning"_s).isNull(), warning.isEmpty());
    QCOMPARE(run.err.contains(warning), true);
}

void TestCli::bandPlan()
{
    const CliRun run = runCli({u"design"_s, u"--band-plan"_s, u"--units"_s, u"m"_s, u"--json"_s});
    QCOMPARE(run.status, 0);
    const QList<QJsonObject> objects = jsonLines(run.out);
    QCOMPARE(objects.size(), run.out.count(u'\n'));
    QVERIFY(objects.size() >= 15);
    double previous = 0;
    for (const QJsonObject &band : objects) {
        const double mhz = band.value(u"frequency_mhz"_s).toDouble();
        QVERIFY2(mhz > previous && mhz >= 1.8 && mhz <= 1300, qPrintable(QString::number(mhz)));
        previous = mhz;
        QCOMPARE(band.value(u"units"_s).toString(), u"m"_s);
        QVERIFY(!band.value(u"band"_s).toString().isEmpty());
        // A Moxon is about a third of a wavelength wide.
        const double width = band.value(u"A"_s).toDouble() * mhz / 299.79;
        QVERIFY2(width > 0.34 && width < 0.38, qPrintable(band.value(u"band"_s).toString()));
    }
}

void TestCli::severalFrequencies()
{
    const CliRun run =
        runCli({u"design"_s, u"-f"_s, u"146"_s, u"-f"_s, u"abc"_s, u"-f"_s, u"435"_s});
    QCOMPARE(run.status, 1);
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(1).simplified().startsWith(u"146 29.17 "_s));
    QVERIFY(lines.at(2).simplified().startsWith(u"435 "_s));
    QCOMPARE(run.err,
             u"abc MHz: Invalid Entry: Frequency must be a numeric value greater than 0.\n"_s);
}

void TestCli::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    QTest::newRow("no command") << QStringList() << 2 << u"no command given"_s;
    QTest::newRow("unknown command") << QStringList{u"draw"_s} << 2 << u"unknown command 'draw'"_s;
    QTest::newRow("unknown option")
        << QStringList{u"design"_s, u"--frq"_s, u"146"_s} << 2 << u"Unknown option 'frq'"_s;
    QTest::newRow("no frequency") << QStringList{u"design"_s} << 2
                                  << u"--freq or --band-plan is required"_s;
    QTest::newRow("frequency and band plan")
        << QStringList{u"design"_s, u"-f"_s, u"146"_s, u"--band-plan"_s} << 2
        << u"--freq and --band-plan do not go together"_s;
    QTest::newRow("bad wire unit")
        << QStringList{u"design"_s, u"-f"_s, u"146"_s, u"--wire-unit"_s, u"cm"_s} << 2
        << u"--wire-unit must be in, mm or AWG, not 'cm'"_s;
    QTest::newRow("bad units") << QStringList{u"design"_s, u"-f"_s, u"146"_s, u"--units"_s, u"yd"_s}
                               << 2 << u"--units must be ft, in, m or mm, not 'yd'"_s;
    QTest::newRow("stray argument") << QStringList{u"design"_s, u"-f"_s, u"146"_s, u"extra"_s} << 2
                                    << u"unexpected argument 'extra'"_s;
    QTest::newRow("missing value")
        << QStringList{u"design"_s, u"--freq"_s} << 2 << u"Missing value after '--freq'"_s;
    QTest::newRow("export without file")
        << QStringList{u"export"_s, u"-f"_s, u"146"_s, u"--format"_s, u"nec"_s} << 2
        << u"-o FILE is required"_s;
    QTest::newRow("export without format")
        << QStringList{u"export"_s, u"-f"_s, u"146"_s, u"-o"_s, u"x"_s} << 2
        << u"--format is required: nec or ez"_s;
    QTest::newRow("export bad format")
        << QStringList{u"export"_s, u"-f"_s, u"146"_s, u"--format"_s, u"dxf"_s, u"-o"_s, u"x"_s}
        << 2 << u"--format must be nec or ez, not 'dxf'"_s;
    QTest::newRow("export bad polarization")
        << QStringList{u"export"_s, u"-f"_s, u"146"_s, u"--format"_s, u"nec"_s,
                       u"--pol"_s,  u"c"_s,  u"-o"_s,  u"x"_s}
        << 2 << u"--pol must be h or v, not 'c'"_s;
    QTest::newRow("export bad axis")
        << QStringList{u"export"_s, u"-f"_s, u"146"_s, u"--format"_s, u"nec"_s,
                       u"--axis"_s, u"z"_s,  u"-o"_s,  u"x"_s}
        << 2 << u"--axis must be x or y, not 'z'"_s;
    QTest::newRow("export two frequencies")
        << QStringList{u"export"_s,   u"-f"_s,  u"146"_s, u"-f"_s, u"147"_s,
                       u"--format"_s, u"nec"_s, u"-o"_s,  u"x"_s}
        << 2 << u"--freq must be given once"_s;
    QTest::newRow("check without frequency")
        << QStringList{u"check"_s} << 2 << u"--freq must be given once"_s;
    // What the window would reject: the window's own message, and a status of its own.
    QTest::newRow("frequency zero")
        << QStringList{u"design"_s, u"-f"_s, u"0"_s} << 1
        << u"0 MHz: Invalid Entry: Frequency must be a numeric value greater than 0."_s;
    QTest::newRow("decimal comma is no number here")
        << QStringList{u"design"_s, u"-f"_s, u"14,15"_s} << 1
        << u"Frequency must be a numeric value greater than 0."_s;
    QTest::newRow("gauge 41") << QStringList{u"design"_s, u"-f"_s, u"146"_s, u"-w"_s, u"41"_s} << 1
                              << u"AWG wire size must be an integer value between 0 and 40."_s;
    QTest::newRow("wire zero inches")
        << QStringList{u"design"_s, u"-f"_s, u"146"_s, u"-w"_s, u"0"_s, u"--wire-unit"_s, u"in"_s}
        << 1 << u"Wire size must be a numeric value greater than 0."_s;
    const QStringList tolerance{u"tolerance"_s, u"-f"_s, u"14.15"_s, u"-u"_s, u"m"_s};
    QTest::newRow("tolerance, three built dimensions")
        << tolerance + QStringList{u"--built"_s, u"7.7,1.2,1.4"_s} << 2
        << u"--built must be five lengths above 0 as A,B,C,D,E, not '7.7,1.2,1.4'"_s;
    QTest::newRow("tolerance, built E not B + C + D")
        << tolerance + QStringList{u"--built"_s, u"7.7224,1.176,0.1965,1.4356,2.9"_s} << 2
        << u"--built: E must be B + C + D, 2.8081, not 2.9000"_s;
    QTest::newRow("tolerance, built length below zero")
        << tolerance + QStringList{u"--built"_s, u"7.7,-1.2,0.2,1.4,0.4"_s} << 2
        << u"--built must be five lengths above 0"_s;
    QTest::newRow("tolerance, cut error below zero")
        << tolerance + QStringList{u"--cut-error"_s, u"-0.01"_s} << 2
        << u"--cut-error must be a length of 0 or more, not '-0.01'"_s;
    QTest::newRow("tolerance, cut error with a group separator")
        << tolerance + QStringList{u"--cut-error"_s, u"1,000"_s} << 2
        << u"--cut-error must be a length of 0 or more, not '1,000'"_s;
    QTest::newRow("tune, band edges with group separators")
        << QStringList{u"tune"_s, u"-f"_s,     u"1400"_s,       u"--goal"_s,
                       u"band"_s, u"--band"_s, u"1,300-1,500"_s}
        << 2 << u"--band must be two frequencies in MHz as LOW-HIGH"_s;
    const QStringList trim{u"trim"_s, u"-f"_s, u"14.15"_s};
    QTest::newRow("trim without a measurement")
        << trim << 2 << u"give the measurement with --measured FILE or --dip MHZ"_s;
    QTest::newRow("trim, file and dip")
        << trim + QStringList{u"--dip"_s, u"14"_s, u"--measured"_s, u"a.s1p"_s} << 2
        << u"--measured and --dip give the same thing: give one"_s;
    QTest::newRow("trim, dip no frequency") << trim + QStringList{u"--dip"_s, u"0"_s} << 2
                                            << u"--dip must be a frequency in MHz, not '0'"_s;
    QTest::newRow("trim, target no frequency")
        << trim + QStringList{u"--dip"_s, u"14"_s, u"--target"_s, u"14,2"_s} << 2
        << u"--target must be a frequency in MHz, not '14,2'"_s;
    const QStringList sheet{u"sheet"_s, u"-f"_s, u"14.15"_s, u"-u"_s, u"m"_s};
    const QStringList pdf{u"--pdf"_s, u"never-written.pdf"_s};
    QTest::newRow("sheet without a file") << sheet << 2 << u"--pdf FILE is required"_s;
    QTest::newRow("sheet, wrap allowance below zero")
        << sheet + pdf + QStringList{u"--wrap-allowance"_s, u"-0.05"_s} << 2
        << u"--wrap-allowance must be a length of 0 or more, not '-0.05'"_s;
    QTest::newRow("sheet, feed gap no number")
        << sheet + pdf + QStringList{u"--feed-gap"_s, u"2cm"_s} << 2
        << u"--feed-gap must be a length of 0 or more, not '2cm'"_s;
    QTest::newRow("sheet, feed gap wider than the element")
        << sheet + pdf + QStringList{u"--feed-gap"_s, u"8"_s} << 2
        << u"--feed-gap must be shorter than A, 7.7218 m"_s;
    QTest::newRow("sheet, wrap as long as the element")
        << sheet + pdf + QStringList{u"--wrap-allowance"_s, u"7.7218"_s} << 2
        << u"--wrap-allowance must be shorter than A, 7.7218 m"_s;
    QTest::newRow("sheet, language") << sheet + pdf + QStringList{u"--language"_s, u"fr"_s} << 2
                                     << u"--language must be en or zh, not 'fr'"_s;
    QTest::newRow("sheet, bad sweep") << sheet + pdf + QStringList{u"--sweep"_s, u"some"_s} << 2
                                      << u"--sweep must be fitted or full, not 'some'"_s;
    QTest::newRow("sheet, built E not B + C + D")
        << sheet + pdf + QStringList{u"--built"_s, u"7.7224,1.176,0.1965,1.4356,2.9"_s} << 2
        << u"--built: E must be B + C + D, 2.8081, not 2.9000"_s;
    QTest::newRow("export of a rejected frequency writes nothing")
        << QStringList{u"export"_s,           u"-f"_s, u"-7"_s, u"--format"_s, u"nec"_s, u"-o"_s,
                       u"never-written.nec"_s}
        << 1 << u"Invalid Entry"_s;
}

void TestCli::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);

    const CliRun run = runCli(arguments);
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(!QFile::exists(u"never-written.nec"_s));
    QVERIFY(!QFile::exists(u"never-written.pdf"_s));
}

void TestCli::help()
{
    const CliRun overall = runCli({u"--help"_s});
    QCOMPARE(overall.status, 0);
    for (const QString &command :
         {u"design"_s, u"export"_s, u"check"_s, u"tune"_s, u"tolerance"_s, u"trim"_s, u"sheet"_s}) {
        QVERIFY2(overall.out.contains(u"\n  "_s + command + u' '), qPrintable(command));
    }
    for (const QString &command :
         {u"design"_s, u"export"_s, u"check"_s, u"tune"_s, u"tolerance"_s, u"trim"_s, u"sheet"_s}) {
        const CliRun run = runCli({command, u"--help"_s});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.startsWith(u"Usage: moxon-cli "_s + command), qPrintable(run.out));
        QVERIFY(run.out.contains(u"--freq"_s));
    }
    const CliRun version = runCli({u"--version"_s});
    QCOMPARE(version.status, 0);
    QVERIFY(version.out.startsWith(u"moxon-cli "_s));
}

void TestCli::exportMatchesWindow_data()
{
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("wire");
    QTest::addColumn<int>("wireEntry");
    QTest::addColumn<QString>("units");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("xAxis");
    QTest::addColumn<bool>("decimalComma"); // the window runs under a German locale

    QTest::newRow("start-up deck")
        << u"146"_s << u"#12"_s << 2 << u"in"_s << u"nec"_s << false << true << false;
    QTest::newRow("start-up model file")
        << u"146"_s << u"#12"_s << 2 << u"in"_s << u"ez"_s << false << true << false;
    QTest::newRow("20 m in feet, vertical along Y")
        << u"14.15"_s << u"0.08"_s << 0 << u"ft"_s << u"nec"_s << true << false << false;
    QTest::newRow("20 m, window with decimal comma")
        << u"14.15"_s << u"0.08"_s << 0 << u"ft"_s << u"nec"_s << false << true << true;
    QTest::newRow("20 m model file, window with decimal comma")
        << u"14.15"_s << u"2.5"_s << 1 << u"m"_s << u"ez"_s << false << false << true;
    QTest::newRow("70 cm in mm, vertical along Y, model file")
        << u"435"_s << u"2"_s << 1 << u"mm"_s << u"ez"_s << true << false << false;
    QTest::newRow("40 m in metres, frequency kept as typed")
        << u"7.100"_s << u"#14"_s << 0 << u"m"_s << u"nec"_s << false << true << false;
}

void TestCli::exportMatchesWindow()
{
    QFETCH(QString, freq);
    QFETCH(QString, wire);
    QFETCH(int, wireEntry);
    QFETCH(QString, units);
    QFETCH(QString, format);
    QFETCH(bool, vertical);
    QFETCH(bool, xAxis);
    QFETCH(bool, decimalComma);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString fromCli = folder.filePath(u"cli."_s + format);
    const QString fromWindow = folder.filePath(u"window."_s + format);

    const CliRun run = runCli({u"export"_s, u"--freq"_s, freq, u"--wire"_s, wire, u"--wire-unit"_s,
                               unitText(wireUnits().at(std::size_t(wireEntry)).unit), u"--units"_s,
                               units, u"--format"_s, format, u"--pol"_s, vertical ? u"v"_s : u"h"_s,
                               u"--axis"_s, xAxis ? u"x"_s : u"y"_s, u"-o"_s, fromCli});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, u"Model written to file '"_s + fromCli + u"'.\n"_s);

    // The window in the user's locale, driven as a user would drive it: under a German locale
    // the user types decimal commas where the command line has points.
    FakeWindow window(decimalComma ? QLocale(QLocale::German, QLocale::Germany)
                                   : QLocale(QLocale::English, QLocale::UnitedStates));
    const auto typed = [&](QString text) {
        return decimalComma ? text.replace(u'.', u',') : text;
    };
    window.enter(typed(freq), typed(wire), wireUnits().at(std::size_t(wireEntry)).unit);
    window.session.setFormat(format == u"ez" ? ModelFormat::Eznec : ModelFormat::Nec);
    window.session.setVertical(vertical);
    window.session.setXAxis(xAxis);
    window.session.selectDisplayUnit(*displayUnitFromText(units));
    window.view.savePaths = {fromWindow};
    QCOMPARE(window.session.exportModel(), ExportOutcome::Written);

    const QByteArray expected = readAll(fromWindow);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(readAll(fromCli), expected);
}

void TestCli::exportToStandardOutput_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("golden");
    QTest::newRow("deck") << u"nec"_s << u"startup.nec"_s;
    QTest::newRow("model file") << u"ez"_s << u"startup.ez"_s;
}

void TestCli::exportToStandardOutput()
{
    // "-" is standard output: the model alone, so that it can be piped, and no file named "-".
    QFETCH(QString, format);
    QFETCH(QString, golden);
    QTemporaryDir folder;
    QVERIFY(QDir::setCurrent(folder.path()));
    const CliRun run =
        runCli({u"export"_s, u"-f"_s, u"146"_s, u"--format"_s, format, u"-o"_s, u"-"_s});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out.toLatin1(), readAll(QStringLiteral(MOXON_TEST_DATA_DIR "/") + golden));
    QVERIFY(!QFile::exists(u"-"_s));
}

void TestCli::exportFailure()
{
    QTemporaryDir folder;
    const QString target = folder.filePath(u"missing-folder/x.ez"_s);
    const CliRun run =
        runCli({u"export"_s, u"-f"_s, u"146"_s, u"--format"_s, u"ez"_s, u"-o"_s, target});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(u"Export Failed: Model could not be written to file '"_s + target),
             qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QVERIFY(!QFile::exists(target));
}

void TestCli::checkWithoutEngine()
{
    // With nec2c nowhere on PATH the check says which package brings it.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArrayLiteral("/nonexistent"));
    const CliRun run = runCli({u"check"_s, u"-f"_s, u"146"_s});
    qputenv("PATH", path);
    QCOMPARE(run.status, 3);
    QVERIFY2(run.err.contains(u"install the Debian package nec2c"_s), qPrintable(run.err));
    QCOMPARE(run.out, QString());
}

void TestCli::standardOutputCarriesOneThing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("golden");

    // The stand-in answers every candidate as nec2c answers the start-up design, so that tuning
    // keeps the formula's dimensions and the tuned model is the exported one.
    const QStringList design{u"-f"_s, u"146"_s};
    for (const QString &format : {u"nec"_s, u"ez"_s}) {
        const QString golden = u"startup."_s + format;
        QTest::addRow("export, %s", qPrintable(format))
            << QStringList{u"export"_s, u"--format"_s, format, u"-o"_s, u"-"_s} + design << golden;
        QTest::addRow("tune, %s", qPrintable(format))
            << QStringList{u"tune"_s, u"--format"_s, format, u"-o"_s, u"-"_s} + design << golden;
    }
}

void TestCli::standardOutputCarriesOneThing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, golden);

    const EngineFolder engine(EngineFolder::standIn(u"replay"_s));
    const ProgramRun run = runProgram(arguments, withSystemTools(engine.path()));
    QVERIFY2(run.status == 0, run.err.constData());
    QCOMPARE(run.out, readAll(QStringLiteral(MOXON_TEST_DATA_DIR "/") + golden));
}

void TestCli::twoWritersOnStandardOutput_data()
{
    QTest::addColumn<QStringList>("arguments");

    const QStringList design{u"-f"_s, u"146"_s};
    const QStringList model{u"--format"_s, u"nec"_s, u"-o"_s, u"-"_s};
    const QStringList deck{u"--deck"_s, u"-"_s};
    const QStringList json{u"--json"_s};
    QTest::newRow("export, JSON and model") << QStringList{u"export"_s} + design + json + model;
    QTest::newRow("check, JSON and deck") << QStringList{u"check"_s} + design + json + deck;
    QTest::newRow("tune, JSON and model") << QStringList{u"tune"_s} + design + json + model;
    QTest::newRow("tune, JSON and deck") << QStringList{u"tune"_s} + design + deck + json;
    QTest::newRow("tune, model and deck") << QStringList{u"tune"_s} + design + model + deck;
    QTest::newRow("tune, all three") << QStringList{u"tune"_s} + json + design + deck + model;
    const QStringList pdf{u"--pdf"_s, u"-"_s};
    QTest::newRow("sheet, JSON and PDF") << QStringList{u"sheet"_s} + design + pdf + json;
    QTest::newRow("sheet, deck and PDF") << QStringList{u"sheet"_s} + design + deck + pdf;
}

void TestCli::twoWritersOnStandardOutput()
{
    QFETCH(QStringList, arguments);

    // An engine that only notes that it was run.
    QTemporaryDir folder;
    const QString runs = folder.filePath(u"runs"_s);
    const EngineFolder engine("echo run >> '" + QFile::encodeName(runs) + '\'');
    const ProgramRun run = runProgram(arguments, engine.path());
    QCOMPARE(run.status, int(ExitUsage));
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY2(!QFile::exists(runs), "the engine ran");
}

void TestCli::jsonFailures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("engine"); // a stand-in's name; empty: none on PATH
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");

    const QStringList tune{u"tune"_s, u"--json"_s, u"-f"_s};
    const QStringList check{u"check"_s, u"--json"_s, u"-f"_s};
    const QStringList thick{u"-w"_s, u"500"_s, u"--wire-unit"_s, u"mm"_s};
    QTest::newRow("tune, rejected input")
        << tune + QStringList{u"0"_s} << QString() << 1 << u"input_rejected"_s;
    QTest::newRow("check, rejected input")
        << check + QStringList{u"-3"_s} << QString() << 1 << u"input_rejected"_s;
    QTest::newRow("tune, model refused")
        << tune + QStringList{u"146"_s} + thick << QString() << 3 << u"model_refused"_s;
    QTest::newRow("tune, no engine")
        << tune + QStringList{u"146"_s} << QString() << 3 << u"engine_missing"_s;
    QTest::newRow("tune, figures no antenna has")
        << tune + QStringList{u"146"_s} << u"degenerate"_s << 3 << u"unsound_result"_s;
    QTest::newRow("tune, deck not accepted")
        << tune + QStringList{u"146"_s} << u"reject"_s << 1 << u"deck_error"_s;
    QTest::newRow("tune, engine crashed")
        << tune + QStringList{u"146"_s} << u"crash"_s << 1 << u"crashed"_s;
    QTest::newRow("tolerance, no engine")
        << QStringList{u"tolerance"_s, u"--json"_s, u"-f"_s, u"146"_s} << QString() << 3
        << u"engine_missing"_s;
    QTest::newRow("tolerance, model refused")
        << QStringList{u"tolerance"_s, u"--json"_s, u"-f"_s, u"146"_s} + thick << QString() << 3
        << u"model_refused"_s;
    const QStringList sheet{u"sheet"_s, u"--json"_s, u"--pdf"_s, u"never-written.pdf"_s, u"-f"_s};
    QTest::newRow("sheet, no engine")
        << sheet + QStringList{u"146"_s} << QString() << 3 << u"engine_missing"_s;
    QTest::newRow("sheet, model refused")
        << sheet + QStringList{u"146"_s} + thick << QString() << 3 << u"model_refused"_s;
    QTest::newRow("sheet, figures no antenna has")
        << sheet + QStringList{u"146"_s} << u"degenerate"_s << 3 << u"unsound_result"_s;
    QTest::newRow("trim, deck not accepted")
        << QStringList{u"trim"_s, u"--json"_s, u"-f"_s, u"146"_s, u"--dip"_s, u"145"_s}
        << u"reject"_s << 1 << u"deck_error"_s;
}

void TestCli::jsonFailures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, engine);
    QFETCH(int, status);
    QFETCH(QString, error);

    const EngineFolder folder =
        engine.isEmpty() ? EngineFolder() : EngineFolder(EngineFolder::standIn(engine));
    const ProgramRun run =
        runProgram(arguments, engine.isEmpty() ? folder.path() : withSystemTools(folder.path()));
    QCOMPARE(run.status, status);
    const QString problem = notOneFailureObject(run.out);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(QJsonDocument::fromJson(run.out).object().value(u"error"_s).toString(), error);
    QVERIFY(!run.err.isEmpty()); // and the sentence for people, as without --json
    QVERIFY(!QFile::exists(u"never-written.pdf"_s));
}

void TestCli::measurementRefused_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: there is none
    QTest::addColumn<bool>("json");
    QTest::addColumn<QString>("sentence");

    const QByteArray broken = "! an analyser's export\n# MHz S RI R 50\n14.0 0.1 0.2\n"
                              "14.1 abc 0.1\n14.2 0.1 0.1\n";
    QTest::newRow("a number that is none")
        << broken << false << u"measured.s1p line 4: \"abc\" is not a number."_s;
    QTest::newRow("a number that is none, JSON")
        << broken << true << u"measured.s1p line 4: \"abc\" is not a number."_s;
    QTest::newRow("a two-port's row")
        << QByteArray("# MHz S RI R 50\n14.0 0.1 0.2 0.9 0 0.9 0 0.1 0.2\n") << false
        << u"measured.s1p line 2: expected 3 numbers for a one-port"_s;
    // The SWR still falls at the upper end: the dip lies beyond what was swept.
    QTest::newRow("no dip inside the range")
        << QByteArray("# MHz S MA R 50\n13.9 0.6 10\n14.0 0.5 10\n14.1 0.4 10\n") << true
        << u"measured.s1p has no SWR dip inside its range: the SWR still falls towards "
           u"14.1 MHz at its upper end."_s;
    QTest::newRow("no such file") << QByteArray() << false << u"measured.s1p"_s;
}

void TestCli::measurementRefused()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, json);
    QFETCH(QString, sentence);

    QTemporaryDir folder;
    const QString path = folder.filePath(u"measured.s1p"_s);
    if (!file.isEmpty()) {
        QFile written(path);
        QVERIFY(written.open(QIODevice::WriteOnly));
        written.write(file);
    }
    // Nothing else is done: the engine never runs.
    const QString runs = folder.filePath(u"runs"_s);
    const EngineFolder engine("echo run >> '" + QFile::encodeName(runs) + '\'');
    QStringList arguments{u"trim"_s, u"-f"_s, u"14.15"_s, u"--measured"_s, path};
    if (json) {
        arguments.append(u"--json"_s);
    }
    const ProgramRun run = runProgram(arguments, engine.path());
    QCOMPARE(run.status, int(ExitUsage));
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY2(QString::fromUtf8(run.err).contains(sentence), run.err.constData());
    QVERIFY2(!QFile::exists(runs), "the engine ran");
    if (json) {
        QCOMPARE(notOneFailureObject(run.out), QString());
        QCOMPARE(QJsonDocument::fromJson(run.out).object().value(u"error"_s).toString(),
                 u"measurement_refused"_s);
    } else {
        QCOMPARE(run.out, QByteArray());
    }
}

MOXON_TEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
