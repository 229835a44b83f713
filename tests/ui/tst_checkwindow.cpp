#include "captionface.h"
#include "checkexport.h"
#include "checkfigureformat.h"
#include "checkreport.h"
#include "checkrunner.h"
#include "checkwindow.h"
#include "enginescheduler.h"
#include "fakecheckcommands.h"
#include "fakeview.h"
#include "installationsettings.h"
#include "patternchart.h"
#include "smithchart.h"
#include "swrchart.h"
#include "testsuite.h"
#include "windowtexts.h"

#include <QAction>
#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRawFont>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace moxon;
using moxon::test::FakeCheckCommands;
using moxon::test::FakeWindow;
using namespace Qt::StringLiterals;

namespace {

CheckRequest startupRequest(const QString &header = {})
{
    QFile deck(QStringLiteral(MOXON_TEST_DATA_DIR "/startup.nec"));
    if (!deck.open(QIODevice::ReadOnly)) {
        qFatal("missing test data startup.nec");
    }
    CheckRequest request;
    request.deck = deck.readAll();
    request.frequencyMhz = 146;
    request.header = header;
    return request;
}

QString shown(const QWidget &window, const QString &name)
{
    const auto *label = window.findChild<QLabel *>(name);
    return label != nullptr ? label->text() : u"(no label %1)"_s.arg(name);
}

// The check window behind a session, as the program has them: the start-up design, 146 MHz in
// #12 wire, in inches.
struct SessionWindow
{
    SessionWindow() { main.session.setCheckView(&window); }
    ~SessionWindow() { main.session.setCheckView(nullptr); }

    Session &session() { return main.session; }

    FakeWindow main;
    CheckWindow window{main.session};
};

} // namespace

class TestCheckWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The installation the window remembers: kept apart from the user's, free space.
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings(u"moxon"_s, u"moxon"_s).clear();
    }
    void formats_data();
    void formats();
    void showsTheCommandLinesFigures();
    void closingEndsTheCheck();
    void savesAndFailsCleanly();
    void refusalRunsNothing();
    void textsAreInTheCaptionFace();
    void asksWhatWasTyped_data();
    void asksWhatWasTyped();
    void drawsTheTrimOverTheModel();
    void insulationFromItsRow();
    void showsWhatTheRadioSees();
};

void TestCheckWindow::formats_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const CheckFigureFormat c(QLocale::c());
    const CheckFigureFormat german(QLocale(QLocale::German, QLocale::Germany));
    QTest::newRow("inductive") << c.impedance({53.4, 3.89}) << u"53.40 + j3.89 Ω"_s;
    QTest::newRow("capacitive, minus sign")
        << c.impedance({51.155, -3.2795}) << u"51.16 − j3.28 Ω"_s;
    QTest::newRow("decimal comma") << german.gain(6.04) << u"6,04 dBi"_s;
    QTest::newRow("front-to-back") << c.frontToBack(40.46) << u"40.5 dB"_s;
    QTest::newRow("bandwidth inside the sweep")
        << c.bandwidth({true, 142, 149.56, false, false}, 146) << u"7.56 MHz（5.2 %）"_s;
    QTest::newRow("bandwidth at the sweep's top")
        << c.bandwidth({true, 143.4255, 153.3, false, true}, 146)
        << u"≥ 9.87 MHz（≥ 6.8 %）\n已达扫频上端"_s;
    QTest::newRow("narrow bandwidth keeps three digits")
        << c.bandwidth({true, 1.83, 1.8712, false, false}, 1.85) << u"0.0412 MHz（2.2 %）"_s;
    QTest::newRow("no bandwidth") << c.bandwidth({}, 146) << u"无（设计频率上驻波比大于 2）"_s;
    QTest::newRow("beamwidth") << c.beamwidth(77.8667) << u"77.9°"_s;
    QTest::newRow("no beamwidth") << c.beamwidth(std::nullopt) << u"无 −3 dB 点"_s;
}

void TestCheckWindow::formats()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void TestCheckWindow::showsTheCommandLinesFigures()
{
    QVERIFY2(!QStandardPaths::findExecutable(u"nec2c"_s).isEmpty(),
             "nec2c is not installed; scripts/install-deps.sh test installs it");
    const QLocale german(QLocale::German, QLocale::Germany);
    SessionWindow windows;
    CheckWindow &window = windows.window;
    window.setLocale(german);
    window.show();
    windows.session().checkShownDesign();
    QVERIFY(window.isCalculating());
    QCOMPARE(shown(window, u"status"_s), u"正在用 nec2c 计算…"_s);
    QCOMPARE(shown(window, u"impedance"_s), u"…"_s);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isCalculating(), 20'000);
    QVERIFY2(shown(window, u"status"_s).startsWith(u"nec2c 已算完"_s),
             qPrintable(shown(window, u"status"_s)));

    // The same deck through the command line's path gives the same figures.
    const CheckRequest request = *windows.session().checkRequest();
    QCOMPARE(request.deck, startupRequest().deck);
    EngineScheduler scheduler;
    const CheckReport report = checkDeck(request, scheduler);
    QVERIFY2(report.ok(), qPrintable(report.message));
    const CheckFigureFormat format(german);
    QCOMPARE(shown(window, u"impedance"_s), format.impedance(report.figures.feed));
    QCOMPARE(shown(window, u"impedance"_s), u"51,16 − j3,28 Ω"_s);
    QCOMPARE(shown(window, u"swr"_s), format.swr(report.figures.swr));
    QCOMPARE(shown(window, u"gain"_s), format.gain(report.figures.forwardGain));
    QCOMPARE(shown(window, u"frontToBack"_s), format.frontToBack(report.figures.frontToBack));
    QCOMPARE(shown(window, u"bandwidth"_s),
             format.bandwidth(report.bandwidth, report.figures.frequencyMhz));
    QCOMPARE(shown(window, u"beamwidth"_s), format.beamwidth(report.figures.beamwidth));
    QCOMPARE(window.windowTitle(), u"设计检查 — 146 MHz"_s);
    QCOMPARE(shown(window, u"header"_s), u"146 MHz，线材 #12 AWG，水平极化，波束沿 X 轴"_s);

    // The plots hold the whole sweep and both cuts, and name themselves.
    const auto *swr = window.findChild<SwrChart *>();
    QVERIFY(swr != nullptr);
    // The fit drawn smooth, nec2c's own points marked: the design frequency among them.
    QCOMPARE(swr->curvePoints(), 401);
    QCOMPARE(swr->markedPoints(), report.sweepEngineFrequencies.size());
    QVERIFY(report.sweepEngineFrequencies.size() < kSweepPoints);
    QVERIFY(report.sweepEngineFrequencies.contains(146.0));
    QCOMPARE(swr->accessibleName(), u"驻波比曲线"_s);
    const QList<PatternChart *> patterns = window.findChildren<PatternChart *>();
    QCOMPARE(patterns.size(), 2);
    QCOMPARE(patterns.at(0)->accessibleName(), u"方位方向图"_s);
    QCOMPARE(patterns.at(0)->patternPoints(), 361);
    QCOMPARE(patterns.at(1)->accessibleName(), u"仰角方向图"_s);
    // In free space the whole circle: the 181 directions above and 179 mirrored below.
    QCOMPARE(patterns.at(1)->patternPoints(), 181 + 179);

    // What the context menu's entries write: the figures and the build sheet.
    QStringList entries;
    for (const QAction *action : window.actions()) {
        QVERIFY(action->isEnabled());
        entries.append(action->text());
    }
    QCOMPARE(entries,
             (QStringList{u"保存图像…"_s, u"导出数据…"_s, u"打印施工单"_s, u"保存施工单 PDF…"_s}));
    const QByteArray csv = window.csv();
    QVERIFY(csv.startsWith("MHz,R,X,SWR\r\n138.7000,"));
    QVERIFY(csv.contains("\r\n146.0000,51.155,-3.2795,1.0712\r\n"));
    QVERIFY(csv.contains("\r\nplane,angle,dBi\r\nazimuth,0.0,6.04\r\n"));
    QVERIFY(csv.contains("\r\nelevation,-90.0,-37.20\r\n"));
    QCOMPARE(csv.count("\r\n"), 1 + kSweepPoints + 2 + 361 + 181);

    // Usable at 640 x 480.
    window.resize(640, 480);
    QTRY_COMPARE(window.size(), QSize(640, 480));
    QVERIFY(swr->height() >= swr->minimumHeight() && patterns.at(0)->height() >= 180);
}

void TestCheckWindow::closingEndsTheCheck()
{
    // Closed, it runs nothing: the session ends the check in flight and the window says so.
    SessionWindow windows;
    CheckWindow &window = windows.window;
    window.show();
    windows.session().checkShownDesign();
    QVERIFY(window.isCalculating());
    QCOMPARE(shown(window, u"impedance"_s), u"…"_s);
    window.close();
    QVERIFY(!windows.session().isRunning(AnalysisKind::Check));
    QVERIFY(!window.isCalculating());
    QCOMPARE(shown(window, u"status"_s), u"检查已停止。"_s);
    QCOMPARE(shown(window, u"impedance"_s), u"—"_s);
    // A design changed while it is closed checks nothing.
    windows.session().checkShownDesign();
    QVERIFY(!windows.session().isRunning(AnalysisKind::Check));
}

void TestCheckWindow::savesAndFailsCleanly()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString csv = folder.filePath(u"check.csv"_s);
    QCOMPARE(saveBytes(csv, "MHz,R,X,SWR\r\n"), QString());
    QFile written(csv);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("MHz,R,X,SWR\r\n"));

    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString png = folder.filePath(u"check.png"_s);
    QCOMPARE(savePng(png, image), QString());
    QCOMPARE(QImage(png).size(), image.size());

    // A folder that is not there: a reason, and no file.
    const QString nowhere = folder.filePath(u"missing/check.csv"_s);
    QVERIFY(!saveBytes(nowhere, "x").isEmpty());
    QVERIFY(!savePng(folder.filePath(u"missing/check.png"_s), image).isEmpty());
    QVERIFY(!QFile::exists(nowhere));
}

void TestCheckWindow::refusalRunsNothing()
{
    // A design the session refuses: its sentence, no figures, nothing to analyse, and no engine
    // (none on PATH to run).
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    SessionWindow windows;
    CheckWindow &window = windows.window;
    window.show();
    windows.main.enter(u"146"_s, u"1E-40"_s, WireUnit::Millimetre);
    QCOMPARE(windows.session().calculate(), CalculateOutcome::Shown);
    QTRY_VERIFY(!window.isCalculating());
    qputenv("PATH", path);
    const CheckRequest refused = *windows.session().checkRequest();
    QVERIFY(!refused.refusal.isEmpty());
    QCOMPARE(shown(window, u"status"_s), refused.refusal);
    QCOMPARE(shown(window, u"impedance"_s), u"—"_s);
    QCOMPARE(shown(window, u"header"_s), refused.header);
    for (const QString &start : {u"tuningStart"_s, u"tolerancesStart"_s, u"trimStart"_s}) {
        QVERIFY2(!window.findChild<QPushButton *>(start)->isEnabled(), qPrintable(start));
    }
}

void TestCheckWindow::textsAreInTheCaptionFace()
{
    // As the program runs it: the caption face is the application's font.
    const CaptionFace face;
    const QFont oldFont = QApplication::font();
    QApplication::setFont(CaptionFace::captionFont());
    SessionWindow windows;
    CheckWindow &window = windows.window;
    window.show();
    windows.session().checkShownDesign();
    QTRY_VERIFY_WITH_TIMEOUT(!window.isCalculating(), 20'000);

    QList<std::pair<QString, QFont>> texts{{window.windowTitle(), window.font()}};
    for (const QLabel *label : window.findChildren<QLabel *>()) {
        texts.append({label->text(), label->font()});
    }
    for (const QAction *action : window.actions()) {
        texts.append({action->text(), window.font()});
    }
    for (const QChartView *view : window.findChildren<QChartView *>()) {
        texts.append({view->chart()->title(), view->chart()->titleFont()});
        for (QAbstractAxis *axis : view->chart()->axes()) {
            texts.append({axis->titleText(), axis->titleFont()});
            if (auto *categories = qobject_cast<QCategoryAxis *>(axis)) {
                texts.append({categories->categoriesLabels().join(QString()), axis->labelsFont()});
            }
        }
        for (const QAbstractSeries *series : view->chart()->series()) {
            texts.append({series->name(), view->chart()->legend()->font()});
        }
    }
    QApplication::setFont(oldFont);

    for (const auto &[text, font] : texts) {
        const QRawFont raw = QRawFont::fromFont(font);
        QCOMPARE(raw.familyName(), QString::fromUtf16(kCaptionFamily));
        for (const char32_t character : text.toUcs4()) {
            QVERIFY2(character == u'\n' || raw.supportsCharacter(character),
                     qPrintable(u"U+%1 of \"%2\" is not in the face"_s
                                    .arg(uint(character), 4, 16, QLatin1Char('0'))
                                    .arg(text)));
        }
    }
}

void TestCheckWindow::asksWhatWasTyped_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("cutError"); // typed in centimetres, the display unit metres
    QTest::addColumn<QString>("dip");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<double>("value"); // the cut error in metres or the dip; NaN: none given
    QTest::addColumn<double>("targetMhz");

    const double none = std::numeric_limits<double>::quiet_NaN();
    const QStringList tolerances{u"tolerances"_s};
    const QStringList trim{u"trim"_s};
    QTest::newRow("a cut error in cm, as the locale writes it")
        << u"tolerancesStart"_s << u"0,5"_s << QString() << QString() << tolerances << 0.005 << 0.0;
    QTest::newRow("no cut error: the default share of A")
        << u"tolerancesStart"_s << QString() << QString() << QString() << tolerances << none << 0.0;
    QTest::newRow("a negative cut error") << u"tolerancesStart"_s << u"-1"_s << QString()
                                          << QString() << QStringList() << none << 0.0;
    QTest::newRow("a dip typed, the design frequency the target")
        << u"trimStart"_s << QString() << u"144,5"_s << QString() << trim << 144.5 << 0.0;
    QTest::newRow("a dip and a target typed")
        << u"trimStart"_s << QString() << u"144,5"_s << u"145"_s << trim << 144.5 << 145.0;
    QTest::newRow("no dip") << u"trimStart"_s << QString() << QString() << QString()
                            << QStringList() << none << 0.0;
    QTest::newRow("a target that is no frequency")
        << u"trimStart"_s << QString() << u"144"_s << u"0"_s << QStringList() << none << 0.0;
}

void TestCheckWindow::asksWhatWasTyped()
{
    QFETCH(QString, button);
    QFETCH(QString, cutError);
    QFETCH(QString, dip);
    QFETCH(QString, target);
    QFETCH(QStringList, asked);
    QFETCH(double, value);
    QFETCH(double, targetMhz);

    const QLocale old;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    FakeCheckCommands commands;
    CheckWindow window(commands);
    window.show();
    window.showInstallation(Installation{},
                            LengthScale{u"m"_s, 1, 2.05, 0.01, u"cm"_s, u"mm"_s, 0.001});
    window.showCheckedDesign(startupRequest(), CheckedDesign::Formula);
    window.findChild<QLineEdit *>(u"cutError"_s)->setText(cutError);
    window.findChild<QLineEdit *>(u"measuredDip"_s)->setText(dip);
    window.findChild<QLineEdit *>(u"target"_s)->setText(target);
    QTest::mouseClick(window.findChild<QPushButton *>(button), Qt::LeftButton);
    QLocale::setDefault(old);

    QCOMPARE(commands.asked, asked);
    if (asked == QStringList{u"tolerances"_s}) {
        QCOMPARE(commands.lastCutError.has_value(), !std::isnan(value));
        if (commands.lastCutError) {
            QCOMPARE(*commands.lastCutError, value);
        }
    } else if (!asked.isEmpty()) {
        QVERIFY(commands.lastMeasured.file.isEmpty());
        QCOMPARE(commands.lastMeasured.dipMhz, value);
        QCOMPARE(commands.lastMeasured.targetMhz, targetMhz);
    } else {
        // What to put right, in the page's status line.
        const QString status = shown(window, button.chopped(5) + u"Status"_s);
        QVERIFY2(status.contains(u"须为"_s) || status.contains(u"请输入"_s), qPrintable(status));
    }
}

void TestCheckWindow::drawsTheTrimOverTheModel()
{
    FakeCheckCommands commands;
    CheckWindow window(commands);
    window.show();
    window.showCheckedDesign(startupRequest(), CheckedDesign::Formula);
    auto *chart = window.findChild<SwrChart *>();
    QVERIFY(chart != nullptr);
    const auto designRange = chart->frequencyRange();

    // Measured far below the design's span: the axis widens to hold the dip.
    QList<SweepPoint> measured;
    for (int i = 0; i < 5; ++i) {
        measured.append(SweepPoint{126.0 + i, {50, 0}, 1.0 + std::abs(i - 2)});
    }
    window.showAnalysisStarted(AnalysisKind::Trim);
    window.showMeasurement(Measurement{u"low.s1p"_s, 128, 1, 146, measured});
    QCOMPARE(chart->measuredPoints(), 5);
    QVERIFY(chart->frequencyRange().first < 128);
    QCOMPARE(chart->frequencyRange().second, designRange.second);

    // The trim in millimetres: the cuts as the builder makes them, its predicted curve drawn.
    TrimResult trim;
    trim.built = TuneDimensions{1000, 150, 200, 400};
    trim.measuredDipMhz = 128;
    trim.modelDipMhz = 146;
    trim.targetMhz = 146;
    trim.scale = 146.0 / 128;
    trim.fieldTrim = FieldTrim{-12, 3, {}, std::nullopt};
    trim.fieldTrim->antenna.dimensions = withTails(trim.built, -12, 3);
    trim.fieldTrim->antenna.curve = {SweepPoint{140, {}, 2}, SweepPoint{146, {}, 1},
                                     SweepPoint{152, {}, 2}};
    TuneSetup setup;
    setup.unit = u"mm"_s;
    setup.decimals = 0;
    window.showAnalysisResult(trim, setup);
    QCOMPARE(chart->predictedPoints(), 3);
    const QString lines = shown(window, u"trimResult"_s);
    QVERIFY2(lines.contains(u"驱动单元两端各剪 12 mm"_s), qPrintable(lines));
    QVERIFY2(lines.contains(u"反射单元两端各加 3 mm"_s), qPrintable(lines));
    QVERIFY2(lines.contains(u"比模型长 14.06 %"_s), qPrintable(lines));

    // A new design or installation voids the trim: the chart is the design's alone again.
    window.showAnalysisEnded(AnalysisKind::Trim, AnalysisEnd::Voided, {});
    QCOMPARE(chart->measuredPoints(), 0);
    QCOMPARE(chart->predictedPoints(), 0);
    QCOMPARE(chart->frequencyRange(), designRange);
    QVERIFY(shown(window, u"trimResult"_s).isEmpty());

    // A file too sparse to diagnose: the trim from its dip alone, and that it holds for an
    // antenna longer all over and for one with long tails.
    DiagnosisResult sparse;
    sparse.dipAlone = true;
    sparse.points = 4;
    sparse.targetMhz = 146;
    sparse.measuredCurve = measured.mid(0, 4);
    sparse.trim = trim;
    sparse.trim->dipAlone = true;
    sparse.trim->fieldTrim->longTailsFrontToBack = 24.5;
    window.showAnalysisResult(sparse, setup);
    const QString alone = shown(window, u"trimResult"_s);
    QVERIFY2(alone.contains(u"只有 4 个频点"_s), qPrintable(alone));
    QVERIFY2(alone.contains(u"驱动单元两端各剪 12 mm"_s), qPrintable(alone));
    QVERIFY2(alone.contains(u"仅凭谐振点无法区分"_s) && alone.contains(u"两端偏长时为"_s),
             qPrintable(alone));
    QCOMPARE(chart->measuredPoints(), 4);
}

void TestCheckWindow::insulationFromItsRow()
{
    SessionWindow windows;
    CheckWindow &window = windows.window;
    window.setLocale(QLocale(QLocale::German, QLocale::Germany));
    window.show();
    auto *kind = window.findChild<QComboBox *>(u"insulation"_s);
    auto *thickness = window.findChild<QLineEdit *>(u"insulationThickness"_s);
    QVERIFY(kind != nullptr && thickness != nullptr);
    QCOMPARE(kind->currentText(), u"裸线"_s);
    QVERIFY(!thickness->isVisible());

    // PVC, then 0,8 mm typed in the unit of the #12 wire's size, inches, as 0,0315.
    Q_EMIT kind->activated(1);
    QCOMPARE(windows.session().installation().insulation->kind, InsulationKind::Pvc);
    QVERIFY(thickness->isVisible());
    thickness->selectAll();
    QTest::keyClicks(thickness, u"0,0315"_s);
    QTest::keyClick(thickness, Qt::Key_Return);
    const Insulation pvc{InsulationKind::Pvc, 3.5, 0.0315 * 0.0254};
    QCOMPARE(windows.session().installation().insulation, std::optional<Insulation>(pvc));
    QCOMPARE(storedInstallation().insulation, std::optional<Insulation>(pvc));
    QCOMPARE(shown(window, u"insulationThicknessUnit"_s), u"in"_s);

    // The figures and the dips of the insulated model, as the command line's path finds them.
    windows.session().checkShownDesign();
    QTRY_VERIFY_WITH_TIMEOUT(!window.isCalculating(), 30'000);
    EngineScheduler scheduler;
    const CheckReport report = checkDeck(*windows.session().checkRequest(), scheduler);
    QVERIFY2(report.ok() && report.dipMhz && report.bareDipMhz, qPrintable(report.message));
    QVERIFY(report.deck.contains("\nLD 3 0 0 0 0 "));
    QCOMPARE(shown(window, u"swr"_s), CheckFigureFormat(window.locale()).swr(report.figures.swr));
    const QString dip = shown(window, u"dip"_s);
    QCOMPARE(dip, insulationShiftCaption(*report.bareDipMhz, *report.dipMhz, window.locale()));
    // Lowered, by the 3.6 % that 0.8 mm of PVC moves the dip of #12 wire at 146 MHz.
    QVERIFY2(dip.startsWith(u"绝缘使驻波最低点降低 3,6 %："_s), qPrintable(dip));
    QVERIFY2(shown(window, u"header"_s).endsWith(u"PVC 绝缘 0.0315 in (εr 3.5)"_s),
             qPrintable(shown(window, u"header"_s)));

    // Bare again: no dip row, and the settings say so.
    Q_EMIT kind->activated(0);
    QVERIFY(!windows.session().installation().insulation);
    QVERIFY(!storedInstallation().insulation);
    QVERIFY(!window.findChild<QLabel *>(u"dip"_s)->isVisibleTo(&window));
}

// With a feed line in the installation: the radio's figures and curves beside the antenna's,
// worked out from the check's own without a word to the session; gone with the line.
void TestCheckWindow::showsWhatTheRadioSees()
{
    FakeCheckCommands commands;
    CheckWindow window(commands);
    window.show();
    Installation installation;
    installation.feedLine = FeedLine{cableOf(*cablePreset(u"RG-213")), 25};
    const LengthScale scale{u"m"_s, 1, freeSpaceWavelength(146), 0.01, u"cm"_s};
    window.showInstallation(installation, scale);
    window.showCheckedDesign(startupRequest(), CheckedDesign::Formula);
    window.showAnalysisStarted(AnalysisKind::Check);
    DesignFigures figures;
    figures.frequencyMhz = 146;
    figures.feed = {50, 0};
    figures.swr = 1;
    window.showAnalysisProgress(CheckProgress(figures));
    SweepOutcome outcome;
    for (int i = 0; i <= 40; ++i) {
        const double f = 146 * (0.95 + 0.0025 * i);
        outcome.points.append(sweepPoint(f, {50, 400 * (f / 146 - 146 / f)}));
    }
    outcome.bandwidth = bandwidth(outcome.points, 146, 1);
    window.showAnalysisResult(outcome);

    const auto *atRadio = window.findChild<QLabel *>(u"atRadio"_s);
    QVERIFY(atRadio->isVisible());
    QVERIFY2(atRadio->text().contains(u"50"_s), qPrintable(atRadio->text()));
    // The cable's matched loss over 25 m at 146 MHz, as the window writes numbers.
    const QString loss = shown(window, u"lineLoss"_s);
    const double matched = installation.feedLine->cable.loss.dbPer100m(146) / 4;
    QVERIFY2(matched > 1 && loss.contains(window.locale().toString(matched, 'f', 2)),
             qPrintable(loss));
    QVERIFY(!shown(window, u"radioBandwidth"_s).contains(u"…"_s));
    QCOMPARE(window.findChild<SwrChart *>()->radioPoints(), 41);
    auto *smith = window.findChild<SmithChart *>();
    QCOMPARE(smith->curvePoints(SmithTrace::Model), 41);
    QCOMPARE(smith->curvePoints(SmithTrace::Radio), 41);
    QVERIFY(window.findChild<QCheckBox *>(u"measuredAtRadio"_s)->isEnabled());
    QVERIFY(commands.asked.isEmpty());

    // Its tab puts the Smith chart in the SWR chart's place and reads out what the pointer is
    // over: here the curve's design frequency, 50 ohms at the centre.
    window.findChild<QTabWidget *>(u"figureTabs"_s)->setCurrentIndex(4);
    QVERIFY(smith->isVisible() && !window.findChild<SwrChart *>()->isVisible());
    QTest::mouseMove(smith, smith->smithGeometry().circle().center().toPoint());
    QTRY_VERIFY2(shown(window, u"smithReadout"_s).contains(u"146"_s),
                 qPrintable(shown(window, u"smithReadout"_s)));

    // The line taken away in its list: the session is asked, and once it shows the
    // installation without a line the radio's rows and curves go.
    auto *line = window.findChild<QComboBox *>(u"feedLine"_s);
    line->setCurrentIndex(0);
    Q_EMIT line->activated(0);
    QCOMPARE(commands.asked, QStringList{u"installation"_s});
    QVERIFY(!commands.lastInstallation.feedLine.has_value());
    window.showInstallation(commands.lastInstallation, scale);
    QVERIFY(!atRadio->isVisible());
    QCOMPARE(window.findChild<SwrChart *>()->radioPoints(), 0);
    QCOMPARE(smith->curvePoints(SmithTrace::Radio), 0);
    QCOMPARE(smith->curvePoints(SmithTrace::Model), 41);
    QVERIFY(!window.findChild<QCheckBox *>(u"measuredAtRadio"_s)->isEnabled());
}

MOXON_TEST_MAIN(TestCheckWindow)
#include "tst_checkwindow.moc"
