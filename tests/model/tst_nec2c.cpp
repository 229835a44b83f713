#include "fakeview.h"
#include "modelfile.h"
#include "necoutput.h"
#include "runnec2c.h"
#include "testsuite.h"

#include <QStandardPaths>
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
    QTest::addColumn<WireUnit>("wireUnit");
    QTest::addColumn<QString>("wireSize");
    QTest::addColumn<DisplayUnit>("units");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("xAxis");

    QTest::newRow("start-up: 146 MHz, #12, inches, horizontal, X")
        << "146" << WireUnit::Gauge << "#12" << DisplayUnit::Inch << false << true;
    QTest::newRow("14.15 MHz, #12, feet, horizontal, X")
        << "14.15" << WireUnit::Gauge << "#12" << DisplayUnit::Feet << false << true;
    QTest::newRow("435 MHz, 2 mm, millimetres, vertical, Y")
        << "435" << WireUnit::Millimetre << "2" << DisplayUnit::Millimetre << true << false;
    QTest::newRow("50.1 MHz, 0.08 in, metres, horizontal, Y")
        << "50.1" << WireUnit::Inch << "0.08" << DisplayUnit::Metre << false << false;
    QTest::newRow("7.1 MHz, #10, feet, vertical, X")
        << "7.1" << WireUnit::Gauge << "#10" << DisplayUnit::Feet << true << true;
}

void TestNec2c::engineReadsExportedDeck()
{
    QFETCH(QString, frequency);
    QFETCH(WireUnit, wireUnit);
    QFETCH(QString, wireSize);
    QFETCH(DisplayUnit, units);
    QFETCH(bool, vertical);
    QFETCH(bool, xAxis);

    // The deck the model button would write for this window.
    FakeWindow window;
    window.enter(frequency, wireSize, wireUnit);
    window.session.setVertical(vertical);
    window.session.setXAxis(xAxis);
    QCOMPARE(window.session.selectDisplayUnit(units), CalculateOutcome::Shown);
    const std::optional<ModelInput> model = window.session.currentModel();
    QVERIFY(model);
    const ModelBytes deck = modelBytes(ModelFormat::Nec, *model);
    QVERIFY2(deck.result.ok(), qPrintable(deck.result.error()));

    const EngineRun run = runNec2c(deck.bytes);
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

MOXON_TEST_GUILESS_MAIN(TestNec2c)
#include "tst_nec2c.moc"
