#include "fakewindow.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <map>
#include <variant>

using namespace moxon;
using namespace moxon::test;

namespace {

// What a working Moxon must show in free space.
constexpr double kMinResistance = 40;  // ohms
constexpr double kMaxResistance = 65;  // ohms
constexpr double kMaxReactance = 15;   // ohms, either sign
constexpr double kMinForwardGain = 5;  // dBi
constexpr double kMinFrontToBack = 20; // dB

struct EngineResults
{
    double resistance = 0; // ohms
    double reactance = 0;  // ohms
    // Total gain in dBi by (theta, phi) in degrees.
    std::map<std::pair<double, double>, double> gain;
};

// The numbers at the start of a line of the engine's table, up to the first other word.
QList<double> leadingNumbers(const QString &line)
{
    QList<double> values;
    for (const QString &word : line.simplified().split(u' ', Qt::SkipEmptyParts)) {
        bool ok = false;
        const double value = word.toDouble(&ok);
        if (!ok) {
            break;
        }
        values.append(value);
    }
    return values;
}

// Reads the feed-point impedance and the pattern tables of the engine's output. Returns a
// description of what is missing instead when the output is not what a good run prints.
std::variant<EngineResults, QString> parseOutput(const QString &output)
{
    if (output.contains(QStringLiteral("ERROR"), Qt::CaseInsensitive)) {
        return QStringLiteral("the output reports an error");
    }
    const QStringList lines = output.split(u'\n');
    EngineResults results;
    bool impedanceFound = false;
    bool inPattern = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.contains(QStringLiteral("ANTENNA INPUT PARAMETERS"))) {
            // Two heading lines, then tag, segment, voltage, current, impedance, ...
            for (qsizetype j = i + 1; j < lines.size() && j < i + 6; ++j) {
                const QList<double> values = leadingNumbers(lines.at(j));
                if (values.size() >= 8) {
                    results.resistance = values.at(6);
                    results.reactance = values.at(7);
                    impedanceFound = true;
                    break;
                }
            }
        } else if (line.contains(QStringLiteral("RADIATION PATTERNS"))) {
            inPattern = true;
        } else if (inPattern) {
            const QList<double> values = leadingNumbers(line);
            // theta, phi, vertical, horizontal and total gain lead every table row
            if (values.size() >= 5) {
                results.gain[{values.at(0), values.at(1)}] = values.at(4);
            } else if (line.contains(QStringLiteral("DATA CARD"))) {
                inPattern = false;
            }
        }
    }
    if (!impedanceFound) {
        return QStringLiteral("the output lacks the antenna input parameters");
    }
    if (results.gain.size() < 361) {
        return QStringLiteral("the output holds %1 pattern points, fewer than the 361 asked for")
            .arg(results.gain.size());
    }
    return results;
}

} // namespace

class TestNec2c : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void engineReadsExportedDeck_data();
    void engineReadsExportedDeck();

private:
    QString m_engine;
};

void TestNec2c::initTestCase()
{
    m_engine = QStandardPaths::findExecutable(QStringLiteral("nec2c"));
    QVERIFY2(!m_engine.isEmpty(),
             "nec2c is not installed; scripts/install-deps.sh test installs it");
}

void TestNec2c::engineReadsExportedDeck_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<int>("wireUnitIndex"); // 0 "in", 1 "mm", 2 "AWG"
    QTest::addColumn<QString>("wireSize");
    QTest::addColumn<QString>("displayUnits");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("xAxis");

    QTest::newRow("start-up: 146 MHz, #12, inches, horizontal, X") << "146" << 2 << "#12"
                                                                   << "in" << false << true;
    QTest::newRow("14.15 MHz, #12, feet, horizontal, X") << "14.15" << 2 << "#12"
                                                         << "ft" << false << true;
    QTest::newRow("435 MHz, 2 mm, millimetres, vertical, Y") << "435" << 1 << "2"
                                                             << "mm" << true << false;
    QTest::newRow("50.1 MHz, 0.08 in, metres, horizontal, Y") << "50.1" << 0 << "0.08"
                                                              << "m" << false << false;
    QTest::newRow("7.1 MHz, #10, feet, vertical, X") << "7.1" << 2 << "#10"
                                                     << "ft" << true << true;
}

void TestNec2c::engineReadsExportedDeck()
{
    QFETCH(QString, frequency);
    QFETCH(int, wireUnitIndex);
    QFETCH(QString, wireSize);
    QFETCH(QString, displayUnits);
    QFETCH(bool, vertical);
    QFETCH(bool, xAxis);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString deck = dir.filePath(QStringLiteral("moxon.nec"));
    const QString output = dir.filePath(QStringLiteral("moxon.out"));

    FakeWindow window;
    window.load();
    window.toolkit.type(Control::txtFreq, frequency);
    window.toolkit.pick(Control::cboDiaUnits, wireUnitIndex);
    window.toolkit.type(Control::txtWD, wireSize);
    window.toolkit.choose(Control::optNEC);
    window.toolkit.choose(vertical ? Control::optVert : Control::optHorz);
    window.toolkit.choose(xAxis ? Control::optXaxis : Control::optYaxis);
    const std::map<QString, void (MoxonCommands::*)()> unitOptions = {
        {QStringLiteral("ft"), &MoxonCommands::optFT_Click},
        {QStringLiteral("in"), &MoxonCommands::optIN_Click},
        {QStringLiteral("m"), &MoxonCommands::optM_Click},
        {QStringLiteral("mm"), &MoxonCommands::optMM_Click},
    };
    (window.form.*unitOptions.at(displayUnits))();
    window.toolkit.answerSaveAs(deck);
    window.toolkit.press(Control::btnModel);
    QCOMPARE(window.toolkit.messages().last().title, QStringLiteral("Model Generated"));

    QProcess engine;
    engine.setWorkingDirectory(dir.path());
    engine.start(m_engine, {QStringLiteral("-i") + deck, QStringLiteral("-o") + output});
    QVERIFY2(engine.waitForFinished(120000), qPrintable(engine.errorString()));
    QFile outputFile(output);
    QVERIFY2(outputFile.open(QIODevice::ReadOnly), "nec2c wrote no output file");
    const QString text = QString::fromLatin1(outputFile.readAll());
    QVERIFY2(engine.exitStatus() == QProcess::NormalExit && engine.exitCode() == 0,
             qPrintable(QStringLiteral("nec2c exit code %1: %2\n%3")
                            .arg(engine.exitCode())
                            .arg(QString::fromLocal8Bit(engine.readAllStandardError()),
                                 text.right(2000))));

    const std::variant<EngineResults, QString> parsed = parseOutput(text);
    if (const QString *problem = std::get_if<QString>(&parsed)) {
        QFAIL(qPrintable(*problem));
    }
    const EngineResults &results = std::get<EngineResults>(parsed);

    // The driven element lies on the positive side of the reflector along the beam axis.
    const double forwardPhi = xAxis ? 0 : 90;
    const double backPhi = forwardPhi + 180;
    const auto forward = results.gain.find({90.0, forwardPhi});
    const auto back = results.gain.find({90.0, backPhi});
    QVERIFY2(forward != results.gain.end() && back != results.gain.end(),
             "the azimuth pattern lacks the forward or the backward direction");
    const double frontToBack = forward->second - back->second;
    const QString figures =
        QStringLiteral("feed point %1 %2 j ohm, forward gain %3 dBi at phi %4, back %5 dBi, "
                       "front to back %6 dB")
            .arg(results.resistance)
            .arg(results.reactance)
            .arg(forward->second)
            .arg(forwardPhi)
            .arg(back->second)
            .arg(frontToBack);
    qInfo("%s", qPrintable(figures));
    QVERIFY2(results.resistance > kMinResistance && results.resistance < kMaxResistance,
             qPrintable(figures));
    QVERIFY2(std::abs(results.reactance) < kMaxReactance, qPrintable(figures));
    QVERIFY2(forward->second > kMinForwardGain, qPrintable(figures));
    QVERIFY2(frontToBack > kMinFrontToBack, qPrintable(figures));
}

QTEST_MAIN(TestNec2c)
#include "tst_nec2c.moc"
