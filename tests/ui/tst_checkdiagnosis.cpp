#include "builtantenna.h"
#include "checkwindow.h"
#include "fakeview.h"
#include "smithchart.h"
#include "swrchart.h"
#include "testsuite.h"
#include "trimpanel.h"

#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

QString shown(const QWidget &window, const QString &name)
{
    const auto *label = window.findChild<QLabel *>(name);
    return label != nullptr ? label->text() : u"(no label %1)"_s.arg(name);
}

// The points of the SWR chart's series named `name`; -1 when it has none of that name.
int seriesPoints(const SwrChart &chart, const QString &name)
{
    for (const QAbstractSeries *series : chart.chart()->series()) {
        if (series->name() == name) {
            return int(static_cast<const QXYSeries *>(series)->count());
        }
    }
    return -1;
}

// The amount and the uncertainty of the error `words` names in `text` ("反射单元两端各短"),
// in millimetres; none when the text does not say it so.
std::optional<std::pair<double, double>> errorOf(const QString &text, const QString &words)
{
    const QRegularExpression said(QRegularExpression::escape(words) +
                                  u" (\\d+\\.\\d) mm ± (\\d+\\.\\d) mm"_s);
    const QRegularExpressionMatch match = said.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return std::pair(match.captured(1).toDouble(), match.captured(2).toDouble());
}

} // namespace

// 诊断 in the check window's 实测 tab, through the session with the real nec2c: the errors of
// an antenna built with tails the builder does not know of, in the builder's words, and the
// fitted model drawn over the measurement on the SWR chart and the Smith chart.
class TestCheckDiagnosis : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings(u"moxon"_s, u"moxon"_s).clear(); // free space, perfect wire, no line
    }
    void showsTheCutsOff();
    void curveWhereMeasured_data();
    void curveWhereMeasured();
    void newFrameWhereNoTrimHolds_data();
    void newFrameWhereNoTrimHolds();
    void legendKeepsNamesWhole_data();
    void legendKeepsNamesWhole();
};

void TestCheckDiagnosis::showsTheCutsOff()
{
    // The start-up design, 146 MHz in #12 wire, in millimetres.
    FakeWindow main;
    QCOMPARE(main.session.selectDisplayUnit(DisplayUnit::Millimetre), CalculateOutcome::Shown);
    CheckWindow window(main.session);
    window.setLocale(QLocale::c());
    main.session.setCheckView(&window);
    const auto detach = qScopeGuard([&main] { main.session.setCheckView(nullptr); });
    window.show();
    main.session.checkShownDesign();

    // Driven tails 6 mm long and reflector tails 4 mm short, read at 21 frequencies.
    const double driver = 6;
    const double reflector = -4;
    const QList<TouchstonePoint> readings =
        analyserReadings(*main.session.builtSetup(), BuildErrors{1, driver, reflector},
                         frequenciesAround(146, 21, 0.05), 0.3);
    QCOMPARE(readings.size(), 21);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"built.s1p"_s);
    QVERIFY(writeAnalyserFile(path, readings));

    // Opened, the file is trimmed from its dip; 诊断 may be pressed at once, the diagnosis
    // taking the trim's place, as the user presses it.
    auto *trim = window.findChild<TrimPanel *>();
    auto *diagnose = window.findChild<QPushButton *>(u"diagnose"_s);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isCalculating(), 30'000);
    QVERIFY(!diagnose->isEnabled());
    trim->trimFile(path);
    QVERIFY(trim->isRunning());
    QVERIFY(diagnose->isEnabled());
    QTest::mouseClick(diagnose, Qt::LeftButton);
    QVERIFY(!diagnose->isEnabled()); // while the diagnosis itself runs
    QCOMPARE(shown(window, u"trimStatus"_s), u"正在诊断…"_s);
    QTRY_VERIFY_WITH_TIMEOUT(shown(window, u"trimStatus"_s).startsWith(u"诊断已算完"_s), 120'000);
    QCOMPARE(window.findChild<QTabWidget *>(u"figureTabs"_s)->currentIndex(), 3);

    // Each error as the builder reads it, near the hidden one, with its uncertainty.
    const QString lines = shown(window, u"trimResult"_s);
    qInfo().noquote() << lines;
    QVERIFY2(lines.contains(u"模型按实际尺寸解释了实测"_s), qPrintable(lines));
    const auto driverSaid = errorOf(lines, u"驱动单元两端各长"_s);
    const auto reflectorSaid = errorOf(lines, u"反射单元两端各短"_s);
    QVERIFY2(driverSaid && reflectorSaid, qPrintable(lines));
    QVERIFY2(std::fabs(driverSaid->first - driver) < 2 && driverSaid->second > 0,
             qPrintable(lines));
    QVERIFY2(std::fabs(reflectorSaid->first + reflector) < 2 && reflectorSaid->second > 0,
             qPrintable(lines));
    QVERIFY2(lines.contains(u"按诊断出的天线修剪"_s) && lines.contains(u"现场修剪"_s),
             qPrintable(lines));
    // The page scrolls to the result: the whole of it in view, or as much as the view holds
    // from the status line above it down.
    const auto *status = window.findChild<QLabel *>(u"trimStatus"_s);
    const auto *result = window.findChild<QLabel *>(u"trimResult"_s);
    const auto statusInView = [&] {
        return status->mapTo(trim->parentWidget(), QPoint()).y();
    };
    QTRY_VERIFY2(result->visibleRegion().boundingRect().height() == result->height() ||
                     (statusInView() >= 0 && statusInView() <= 8),
                 qPrintable(u"the status %1 px down the view, %2 of %3 px of the result in view"_s
                                .arg(statusInView())
                                .arg(result->visibleRegion().boundingRect().height())
                                .arg(result->height())));

    // The fitted model over the measurement: on the SWR chart under its own name, and on the
    // Smith chart, each point of the file fitted.
    const auto *swr = window.findChild<SwrChart *>();
    QCOMPARE(seriesPoints(*swr, u"实测"_s), 21);
    QCOMPARE(seriesPoints(*swr, u"诊断拟合的模型"_s), 21);
    const auto *smith = window.findChild<SmithChart *>();
    QCOMPARE(smith->curvePoints(SmithTrace::Measured), 21);
    QCOMPARE(smith->curvePoints(SmithTrace::Fitted), 21);
    QCOMPARE(smith->curvePoints(SmithTrace::Predicted), 0);
}

void TestCheckDiagnosis::curveWhereMeasured_data()
{
    QTest::addColumn<bool>("atRadio");
    QTest::addColumn<bool>("dipAlone"); // too few readings: no fit, the trim from the dip

    QTest::newRow("fitted, at the antenna") << false << false;
    QTest::newRow("fitted, at the radio") << true << false;
    QTest::newRow("dip alone, at the antenna") << false << true;
    QTest::newRow("dip alone, at the radio") << true << true;
}

// The measured curve is drawn on the Smith chart as taken: at the radio as read through the
// line, whether the file was fitted or only its dip could be read.
void TestCheckDiagnosis::curveWhereMeasured()
{
    QFETCH(bool, atRadio);
    QFETCH(bool, dipAlone);

    FakeWindow main;
    CheckWindow window(main.session);
    DiagnosisResult result;
    result.dipAlone = dipAlone;
    result.measuredAtRadio = atRadio;
    result.targetMhz = 146;
    for (const double mhz : {144.0, 145.0, 146.0, 147.0, 148.0}) {
        result.measuredCurve.append(sweepPoint(mhz, {50, 2 * (mhz - 146)}));
    }
    result.points = int(result.measuredCurve.size());
    if (!dipAlone && atRadio) {
        result.lineLengthError = Estimate{0.1, 0.01};
    }
    window.showAnalysisResult(result, *main.session.builtSetup());

    const auto *smith = window.findChild<SmithChart *>();
    QCOMPARE(smith->curvePoints(SmithTrace::MeasuredRaw), atRadio ? 5 : 0);
    QCOMPARE(smith->curvePoints(SmithTrace::Measured), atRadio ? 0 : 5);
}

void TestCheckDiagnosis::newFrameWhereNoTrimHolds_data()
{
    QTest::addColumn<bool>("offered"); // whether the diagnosis found a new frame

    QTest::newRow("E's trim falls short: the new frame after it") << true;
    QTest::newRow("E's trim holds it: no new frame") << false;
}

// Where the diagnosis found that no trim holds the front-to-back, the window says so and shows
// the new frame's dimensions against the antenna as built, after the trims.
void TestCheckDiagnosis::newFrameWhereNoTrimHolds()
{
    QFETCH(bool, offered);

    FakeWindow main;
    CheckWindow window(main.session);
    window.setLocale(QLocale::c());
    const TuneSetup setup = *main.session.builtSetup();
    const auto trimmed = [&setup](double frontToBack) {
        TrimResult trim;
        trim.built = setup.formula;
        trim.targetMhz = 146;
        trim.scale = 1.0133;
        trim.fieldTrim = FieldTrim{};
        trim.fieldTrim->antenna.dimensions = setup.formula;
        trim.fieldTrim->antenna.figures.frontToBack = frontToBack;
        return trim;
    };
    DiagnosisResult result;
    result.explained = true;
    result.built = setup.formula;
    result.diagnosed = setup.formula;
    result.targetMhz = 146;
    result.trim = trimmed(21.0);
    result.trim->rebuild.figures.frontToBack = 30.5;
    result.trim->designFrontToBack = 31.2;
    result.gapTrim = trimmed(23.5);
    if (offered) {
        result.newFrame = trimmed(31.04);
        result.newFrame->fieldTrim->antenna.dimensions.a = setup.formula.a - 10;
    }
    window.showAnalysisResult(result, setup);

    const QString lines = shown(window, u"trimResult"_s);
    const QString a = u"A %1 → %2 %3"_s.arg(
        QLocale::c().toString(setup.formula.a, 'f', setup.decimals),
        QLocale::c().toString(setup.formula.a - 10, 'f', setup.decimals), setup.unit);
    for (const QString &said :
         {u"天线的电尺寸比模型长 1.33 %"_s, u"修剪后前后比仅 23.5 dB，应有 31.2 dB。"_s,
          u"换新框架"_s, a, u"前后比 31.0 dB"_s}) {
        QVERIFY2(lines.contains(said) == offered, qPrintable(said + u" in:\n"_s + lines));
    }
    QVERIFY2(lines.indexOf(u"若单元角点可沿撑杆移动"_s) < lines.indexOf(u"换新框架"_s) || !offered,
             qPrintable(lines));
}

void TestCheckDiagnosis::legendKeepsNamesWhole_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("diagnosed"); // the measurement, its fit and the radio's curve too
    QTest::addColumn<int>("alignment");  // Qt::Alignment of the legend

    QTest::newRow("the check's five names, narrow") << 600 << false << int(Qt::AlignBottom);
    QTest::newRow("a diagnosis's eight names, wide") << 1400 << true << int(Qt::AlignBottom);
    QTest::newRow("a diagnosis's eight names, narrow") << 440 << true << int(Qt::AlignRight);
}

// The SWR chart's legend stays under the plot while its names fit whole in one row, and goes
// beside it, a name a line, when they would be cut short.
void TestCheckDiagnosis::legendKeepsNamesWhole()
{
    QFETCH(int, width);
    QFETCH(bool, diagnosed);
    QFETCH(int, alignment);

    SwrChart chart;
    chart.resize(width, 300);
    chart.setDesign(14.15);
    const QList<SweepPoint> curve = {SweepPoint{14.0, {50, -20}, 1.5},
                                     SweepPoint{14.15, {50, 0}, 1},
                                     SweepPoint{14.3, {50, 20}, 1.5}};
    SweepOutcome checked;
    checked.points = curve;
    checked.engineFrequenciesMhz = {14.15};
    chart.setOutcome(checked);
    if (diagnosed) {
        chart.setRadioCurve(curve);
        chart.setMeasured(curve, 14.15, 14.15);
        chart.setFitted(curve);
    }
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    QCOMPARE(int(chart.chart()->legend()->alignment()), alignment);
}

MOXON_TEST_MAIN(TestCheckDiagnosis)
#include "tst_checkdiagnosis.moc"
