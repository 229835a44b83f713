#include "fakewindow.h"
#include "nec2crunner.h"
#include "necoutput.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace moxon;
using namespace moxon::test;

namespace {

// What a working Moxon must show in free space.
constexpr double kMinResistance = 40;  // ohms
constexpr double kMaxResistance = 65;  // ohms
constexpr double kMaxReactance = 15;   // ohms, either sign
constexpr double kMinForwardGain = 5;  // dBi
constexpr double kMinFrontToBack = 20; // dB

} // namespace

class TestNec2c : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void engineReadsExportedDeck_data();
    void engineReadsExportedDeck();
};

void TestNec2c::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("nec2c")).isEmpty(),
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

    FakeWindow window;
    window.load().enter(frequency, wireSize, wireUnitIndex);
    window.toolkit.choose(Control::optNEC);
    window.toolkit.choose(vertical ? Control::optVert : Control::optHorz);
    window.toolkit.choose(xAxis ? Control::optXaxis : Control::optYaxis);
    window.selectUnits(displayUnits);
    window.toolkit.answerSaveAs(deck);
    window.toolkit.press(Control::btnModel);
    QCOMPARE(window.toolkit.messages().last().title, QStringLiteral("Model Generated"));

    QFile deckFile(deck);
    QVERIFY(deckFile.open(QIODevice::ReadOnly));
    const EngineRun run = runNec2c(deckFile.readAll());
    QVERIFY2(run.error.isEmpty(), qPrintable(run.error));
    const NecOutput parsed = parseNecOutput(run.output);
    QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error + u'\n' + run.output.right(2000)));
    QCOMPARE(parsed.frequencies.size(), 1);
    const NecFrequencyResult &results = parsed.frequencies.first();
    // 361 directions around the horizon and 181 in the vertical plane.
    QCOMPARE(results.pattern.size(), 361 + 181);

    // The driven element lies on the positive side of the reflector along the beam axis.
    const double forwardPhi = xAxis ? 0 : 90;
    const std::optional<double> forward = gainTowards(results.pattern, 90, forwardPhi);
    const std::optional<double> back = gainTowards(results.pattern, 90, forwardPhi + 180);
    QVERIFY2(forward && back, "the azimuth pattern lacks the forward or the backward direction");
    const double frontToBack = *forward - *back;
    const QString figures =
        QStringLiteral("feed point %1 %2 j ohm, forward gain %3 dBi at phi %4, back %5 dBi, "
                       "front to back %6 dB")
            .arg(results.feed.resistance)
            .arg(results.feed.reactance)
            .arg(*forward)
            .arg(forwardPhi)
            .arg(*back)
            .arg(frontToBack);
    qInfo("%s", qPrintable(figures));
    QVERIFY2(results.feed.resistance > kMinResistance && results.feed.resistance < kMaxResistance,
             qPrintable(figures));
    QVERIFY2(std::abs(results.feed.reactance) < kMaxReactance, qPrintable(figures));
    QVERIFY2(*forward > kMinForwardGain, qPrintable(figures));
    QVERIFY2(frontToBack > kMinFrontToBack, qPrintable(figures));
}

QTEST_MAIN(TestNec2c)
#include "tst_nec2c.moc"
