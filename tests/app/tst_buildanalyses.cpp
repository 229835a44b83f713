// The tolerances and the trim of the shown design as the session runs them for the check window,
// with the real nec2c: what the window is told, in order, and what each analysis takes as built.

#include "builtantenna.h"
#include "fakecheckview.h"
#include "fakeview.h"
#include "feedline.h"
#include "installationsettings.h"
#include "measureddip.h"
#include "measurementfile.h"
#include "testsuite.h"
#include "touchstonewriter.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

// The session's window and its check window, 146 MHz in inches as the program starts.
struct Windows
{
    Windows()
    {
        window.session.setCheckView(&checks);
        checks.events.clear();
    }

    FakeWindow window{QLocale(QLocale::English, QLocale::UnitedStates)};
    FakeCheckView checks;
};

// The measurement: `file` written into `folder`, or where it is empty the dip typed as `dipMhz`;
// empty when the file could not be written.
std::optional<MeasuredAntenna> measurementOf(const QByteArray &file, const QTemporaryDir &folder,
                                             double dipMhz)
{
    MeasuredAntenna measured{QString(), dipMhz, 0};
    if (!file.isEmpty()) {
        measured.file = folder.filePath(u"measured.s1p"_s);
        QFile written(measured.file);
        if (!written.open(QIODevice::WriteOnly) || written.write(file) != file.size()) {
            return std::nullopt;
        }
    }
    return measured;
}

} // namespace

class TestBuildAnalyses : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings(u"moxon"_s, u"moxon"_s).remove(u"designCheck"_s); // free space, perfect wire
    }

    void trim_data();
    void trim();
    void measuredAtTheRadio_data();
    void measuredAtTheRadio();
    void diagnosis_data();
    void diagnosis();
    void diagnosisShown_data();
    void diagnosisShown();
    void tolerancesOfTheDesignShown();
    void buildSheetPrinted_data();
    void buildSheetPrinted();
    void voidedAndCancelled_data();
    void voidedAndCancelled();
};

void TestBuildAnalyses::trim_data()
{
    QTest::addColumn<QByteArray>("file"); // written as the measurement; empty: the dip typed
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("message"); // how the failure's sentence starts

    const QStringList trimmed{u"trim started"_s, u"measurement"_s, u"trim result"_s};
    const QStringList refused{u"trim started"_s, u"trim ended failed"_s};
    QTest::newRow("the dip typed") << QByteArray() << trimmed << QString();
    // Impedances normalised to 50 ohms, as version 1 writes Z: a dip near 144.2 MHz.
    QTest::newRow("a Touchstone file") << QByteArray("! analyser\n# MHz Z RI R 50\n"
                                                     "142 0.4 -0.8\n143 0.6 -0.4\n144 0.96 -0.04\n"
                                                     "145 1.2 0.3\n146 1.4 0.6\n")
                                       << trimmed << QString();
    QTest::newRow("a broken file") << QByteArray("# MHz S RI R 50\n144 0.1 0.2\n145 0.1\n")
                                   << refused << u"measured.s1p line 3: "_s;
    QTest::newRow("a file without a dip")
        << QByteArray("# MHz Z RI R 50\n142 0.4 -0.8\n143 0.6 -0.4\n144 0.96 -0.04\n") << refused
        << u"measured.s1p has no SWR dip inside its range"_s;
}

void TestBuildAnalyses::diagnosis_data()
{
    QTest::addColumn<QByteArray>("file"); // written as the measurement; empty: the dip typed
    QTest::addColumn<bool>("trimFirst");  // a trim of the same file in flight before it
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("message"); // how the failure's sentence starts; empty: a result

    // Three readings near 146 MHz, too few for the diagnosis's fit and without a dip to trim.
    const QByteArray threePoints("# MHz Z RI R 50\n144 0.4 -0.8\n145 0.6 -0.4\n146 0.96 -0.04\n");
    const QStringList refused{u"diagnosis started"_s, u"diagnosis ended failed"_s};
    QTest::newRow("the dip typed")
        << QByteArray() << false << refused << u"The diagnosis needs a measured impedance curve"_s;
    QTest::newRow("a broken file") << QByteArray("# MHz S RI R 50\n144 0.1 0.2\n145 0.1\n") << false
                                   << refused << u"measured.s1p line 3: "_s;
    QTest::newRow("too few frequencies, no dip")
        << threePoints << false << refused << u"The measurement has 3 frequencies"_s;
    // Five readings near 146 MHz: a dip, too few for the fit. The diagnosis gives the trim from
    // the dip alone, as the trim of the file does.
    const QByteArray fivePoints("# MHz Z RI R 50\n144 0.4 -0.8\n145 0.6 -0.4\n146 0.96 -0.04\n"
                                "147 1.2 0.3\n148 1.4 0.6\n");
    const QStringList diagnosed{u"diagnosis started"_s, u"diagnosis result"_s};
    QTest::newRow("too few frequencies: the dip alone")
        << fivePoints << false << diagnosed << QString();
    QTest::newRow("a trim in flight superseded")
        << fivePoints << true
        << QStringList{u"trim started"_s, u"measurement"_s, u"trim ended voided"_s} + diagnosed
        << QString();
}

void TestBuildAnalyses::diagnosis()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, trimFirst);
    QFETCH(QStringList, events);
    QFETCH(QString, message);

    QTemporaryDir folder;
    const std::optional<MeasuredAntenna> measured = measurementOf(file, folder, 146.2);
    QVERIFY(measured);
    Windows windows;
    FakeCheckView &checks = windows.checks;
    if (trimFirst) {
        windows.window.session.startTrim(*measured);
    }
    windows.window.session.startDiagnosis(*measured);
    QTRY_VERIFY_WITH_TIMEOUT(checks.ended(AnalysisKind::Diagnosis), 30'000);
    QCOMPARE(checks.outline(), events);
    QVERIFY(!checks.trim);
    QVERIFY(!windows.window.session.isRunning(AnalysisKind::Trim));
    if (!message.isEmpty()) {
        QVERIFY2(checks.lastMessage.startsWith(message), qPrintable(checks.lastMessage));
        QVERIFY(!checks.diagnosis);
        return;
    }
    QVERIFY2(checks.diagnosis, qPrintable(checks.lastMessage));
    QVERIFY(checks.diagnosis->dipAlone && !checks.diagnosis->explained);
    QCOMPARE(checks.diagnosis->measuredCurve.size(), 5);
    QVERIFY(checks.diagnosis->trim && checks.diagnosis->trim->dipAlone);
    QVERIFY(checks.diagnosis->trim->fieldTrim);
}

void TestBuildAnalyses::diagnosisShown_data()
{
    QTest::addColumn<bool>("atRadio"); // measured through 20 m of RG-213, said to be 19.8 m
    QTest::addColumn<bool>("trimGap"); // the frame lets the trim move E too

    QTest::newRow("at the antenna") << false << false;
    QTest::newRow("at the radio, the line 20 cm longer than given, E trimmed too") << true << true;
}

// The 146 MHz design in free space built with tails the builder does not know of, read by
// nec2c at 21 frequencies with 0.3 ohm of noise: the view is told the diagnosis, each error
// near the hidden one and inside its 3-sigma, in the display unit, with the trim of it, of E
// too where the frame allows.
void TestBuildAnalyses::diagnosisShown()
{
    QFETCH(bool, atRadio);
    QFETCH(bool, trimGap);

    const double scale = 1.005;
    const double driver = 0.25;     // in, each tail too long
    const double reflector = -0.15; // in, each tail too short
    const FeedLine rg213{cableOf(*cablePreset(u"RG-213")), 20};
    Installation installation;
    if (atRadio) {
        installation.feedLine = FeedLine{rg213.cable, 19.8};
    }
    storeInstallation(installation);
    Windows windows;
    QSettings(u"moxon"_s, u"moxon"_s).remove(u"designCheck"_s); // read: the next case's free
    FakeCheckView &checks = windows.checks;
    const std::optional<TuneSetup> built = windows.window.session.builtSetup();
    QVERIFY(built && built->unit == u"in"_s);
    const QList<TouchstonePoint> readings = analyserReadings(
        *built, BuildErrors{scale, driver, reflector}, frequenciesAround(146, 21, 0.05), 0.3,
        atRadio ? std::optional(rg213) : std::nullopt);
    QCOMPARE(readings.size(), 21);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"built.s1p"_s);
    QVERIFY(writeAnalyserFile(path, readings));

    windows.window.session.startDiagnosis(MeasuredAntenna{path, 0, 0, atRadio, trimGap});
    QTRY_VERIFY_WITH_TIMEOUT(checks.ended(AnalysisKind::Diagnosis), 120'000);
    QCOMPARE(checks.outline(), (QStringList{u"diagnosis started"_s, u"diagnosis result"_s}));
    QVERIFY(checks.diagnosis.has_value());
    const DiagnosisResult &found = *checks.diagnosis;
    const QString figures = u"scale %1 +- %2, driver %3 +- %4 in, reflector %5 +- %6 in, "
                            u"residual %7 ohm, noise %8 ohm"_s.arg(found.scale.value)
                                .arg(found.scale.sigma)
                                .arg(found.driverTailError.value)
                                .arg(found.driverTailError.sigma)
                                .arg(found.reflectorTailError.value)
                                .arg(found.reflectorTailError.sigma)
                                .arg(found.residualOhm)
                                .arg(found.noiseOhm);
    qInfo() << figures;
    QVERIFY2(found.explained, qPrintable(figures));
    // The noise read from the file is its own, at the radio too, where the curve turns round
    // the chart between readings.
    QVERIFY2(found.noiseOhm > 0.1 && found.noiseOhm < 0.9, qPrintable(figures));
    // Within 2 mm and 0.2 %, and inside the fit's own 3-sigma.
    const auto within = [](const Estimate &estimate, double truth, double bound) {
        const double miss = std::fabs(estimate.value - truth);
        return miss < bound && miss < 3 * estimate.sigma;
    };
    QVERIFY2(within(found.scale, scale, 0.002 * scale), qPrintable(figures));
    QVERIFY2(within(found.driverTailError, driver, 0.08), qPrintable(figures));
    QVERIFY2(within(found.reflectorTailError, reflector, 0.08), qPrintable(figures));
    QCOMPARE(found.lineLengthError.has_value(), atRadio);
    QCOMPARE(checks.analysedSetup.unit, u"in"_s);
    // What the charts draw: the readings where they were taken, and the fitted model over them.
    QCOMPARE(found.measuredCurve.size(), 21);
    QCOMPARE(found.fittedCurve.size(), found.measuredCurve.size());
    QVERIFY(found.trim && found.trim->ok() && found.trim->fieldTrim);
    QCOMPARE(found.trim->trimGap, trimGap);
    QVERIFY(!windows.window.session.isRunning(AnalysisKind::Diagnosis));
}

void TestBuildAnalyses::trim()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, events);
    QFETCH(QString, message);

    QTemporaryDir folder;
    const std::optional<MeasuredAntenna> measured = measurementOf(file, folder, 144.2);
    QVERIFY(measured);
    Windows windows;
    FakeCheckView &checks = windows.checks;
    windows.window.session.startTrim(*measured);
    QTRY_VERIFY_WITH_TIMEOUT(checks.ended(AnalysisKind::Trim), 30'000);
    QCOMPARE(checks.outline(), events);
    if (!message.isEmpty()) {
        QVERIFY2(checks.lastMessage.startsWith(message), qPrintable(checks.lastMessage));
        QVERIFY(!checks.trim);
        return;
    }
    // The measurement as read, then the trim of it to the design frequency.
    QCOMPARE(checks.measurement->source, file.isEmpty() ? QString() : u"measured.s1p"_s);
    QCOMPARE(checks.measurement->curve.size(), file.isEmpty() ? 0 : 5);
    QCOMPARE(checks.trim->measuredDipMhz, checks.measurement->dipMhz);
    QVERIFY(std::fabs(checks.trim->measuredDipMhz - 144.2) < 0.5);
    QCOMPARE(checks.trim->targetMhz, 146.0);
    QVERIFY(checks.trim->scale > 1); // it dips low: longer than its model
    QVERIFY(checks.trim->fieldTrim.has_value());
    // A typed dip and five readings alike are a dip alone: too few to tell long tails apart.
    QVERIFY(checks.trim->dipAlone);
    QVERIFY(std::fabs(checks.trim->fieldTrim->antenna.predictedDipMhz / 146 - 1) < 0.0025);
}

void TestBuildAnalyses::measuredAtTheRadio_data()
{
    QTest::addColumn<bool>("throughLine"); // the file as the analyser read it in the shack
    QTest::addColumn<bool>("atRadio");     // as the user says it was measured
    QTest::addColumn<bool>("line");        // the installation has the line
    QTest::addColumn<QString>("refusal");

    QTest::newRow("at the radio, turned back") << true << true << true << QString();
    QTest::newRow("at the antenna, a line or not") << false << false << true << QString();
    QTest::newRow("at the radio without a line")
        << true << true << false << u"A file measured at the radio needs the feed line"_s;
}

// A file measured at the radio's end of 30 m of RG-58 is read as the antenna's own curve, its
// dip and SWR there the antenna's; the curve as measured comes beside it.
void TestBuildAnalyses::measuredAtTheRadio()
{
    QFETCH(bool, throughLine);
    QFETCH(bool, atRadio);
    QFETCH(bool, line);
    QFETCH(QString, refusal);

    QList<TouchstonePoint> antenna;
    for (int i = 0; i <= 30; ++i) {
        const double f = 143 + 0.1 * i;
        // A series resonance at 144.2 MHz with 35 ohms of radiation resistance.
        antenna.append(TouchstonePoint{f, {35 + 0.5 * (f - 144.2), 900 * (f / 144.2 - 144.2 / f)}});
    }
    const FeedLine rg58{cableOf(*cablePreset(u"RG-58")), 30};
    const LossyLine cable(rg58.cable);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"shack.s1p"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        touchstoneS1p(throughLine ? moxon::throughLine(antenna, cable, rg58.lengthMetres) : antenna,
                      TouchstoneFormat{FrequencyUnit::MHz, NetworkParameter::Z,
                                       NumberFormat::RealImaginary, 50, TouchstoneVersion::Two}));
    file.close();

    const auto read = readMeasurement(MeasuredAntenna{path, 0, 0, atRadio}, 146,
                                      line ? std::optional(rg58) : std::nullopt);
    if (!refusal.isEmpty()) {
        QVERIFY(std::holds_alternative<QString>(read));
        QVERIFY2(std::get<QString>(read).startsWith(refusal), qPrintable(std::get<QString>(read)));
        return;
    }
    QVERIFY(std::holds_alternative<Measurement>(read));
    const Measurement &measured = std::get<Measurement>(read);
    QCOMPARE(measured.atRadio, atRadio);
    QCOMPARE(measured.curve.size(), antenna.size());
    QCOMPARE(measured.rawCurve.size(), atRadio ? antenna.size() : 0);
    for (qsizetype i = 0; i < antenna.size(); ++i) {
        const SweepPoint &point = measured.curve.at(i);
        const std::complex<double> z(point.feed.resistance, point.feed.reactance);
        QVERIFY2(
            std::abs(z - antenna.at(i).impedanceOhm) < 0.1,
            qPrintable(u"%1 MHz: %2 %3j"_s.arg(point.frequencyMhz).arg(z.real()).arg(z.imag())));
    }
    // The antenna's own SWR at its dip, which the line's loss lowers at the radio.
    const double gamma = std::abs((35.0 - 50) / (35.0 + 50));
    QVERIFY2(std::fabs(measured.dipSwr - (1 + gamma) / (1 - gamma)) < 0.02,
             qPrintable(QString::number(measured.dipSwr)));
    const auto dip = measuredDip(antenna, u"antenna.s1p"_s);
    QVERIFY(std::holds_alternative<MeasuredDip>(dip));
    QVERIFY2(std::fabs(measured.dipMhz - std::get<MeasuredDip>(dip).frequencyMhz) < 0.0005,
             qPrintable(u"%1 MHz, the antenna's %2 MHz"_s.arg(measured.dipMhz)
                            .arg(std::get<MeasuredDip>(dip).frequencyMhz)));
    if (atRadio) {
        QVERIFY(measured.rawDipMhz.has_value());
        const auto lowest = std::min_element(
            measured.rawCurve.cbegin(), measured.rawCurve.cend(),
            [](const SweepPoint &a, const SweepPoint &b) { return a.swr < b.swr; });
        QVERIFY(lowest->swr < measured.dipSwr - 0.05);
    }
}

void TestBuildAnalyses::tolerancesOfTheDesignShown()
{
    Windows windows;
    Session &session = windows.window.session;
    FakeCheckView &checks = windows.checks;

    // Of the formula's design, with the default cut error.
    session.startTolerances(std::nullopt);
    QTRY_VERIFY_WITH_TIMEOUT(checks.ended(AnalysisKind::Tolerances), 30'000);
    QCOMPARE(checks.outline(), (QStringList{u"tolerances started"_s, u"tolerances result"_s}));
    const TuneDimensions formula = checks.tolerances->dimensions;
    QCOMPARE(formula, session.builtSetup()->formula);
    QCOMPARE(checks.tolerances->cutError, kDefaultCutErrorOfA * formula.a);
    // The build sheet is of the formula's design and carries its tolerances.
    const ToleranceResult ofFormula = *checks.tolerances;
    std::optional<BuildSheet> sheet = session.buildSheet({{}, {}, ofFormula});
    QVERIFY(sheet);
    QCOMPARE(sheet->origin, SheetDimensions::Formula);
    QCOMPARE(sheet->dimensions, formula);
    QVERIFY(sheet->tolerances.has_value());

    // A tuning voids them; once it is done, the tuned design is the one analysed.
    session.startTuning(TuneGoal::FrontToBack);
    QCOMPARE(checks.outline().mid(2),
             (QStringList{u"tolerances ended voided"_s, u"tuning started"_s}));
    QTRY_VERIFY_WITH_TIMEOUT(checks.result.has_value(), 30'000);
    checks.events.clear();
    session.startTolerances(0.1);
    QTRY_VERIFY_WITH_TIMEOUT(checks.ended(AnalysisKind::Tolerances), 30'000);
    QCOMPARE(checks.outline(), (QStringList{u"tolerances started"_s, u"tolerances result"_s}));
    QCOMPARE(checks.tolerances->dimensions, checks.result->tuned);
    QVERIFY(!(checks.tolerances->dimensions == formula));
    QCOMPARE(checks.tolerances->cutError, 0.1);
    // The sheet is now of the tuned design: the formula's tolerances are not its own.
    sheet = session.buildSheet({{}, {}, ofFormula});
    QVERIFY(sheet);
    QCOMPARE(sheet->origin, SheetDimensions::Tuned);
    QCOMPARE(sheet->dimensions, checks.result->tuned);
    QVERIFY(!sheet->tolerances.has_value());
    sheet = session.buildSheet({{}, {}, *checks.tolerances});
    QVERIFY(sheet && sheet->tolerances.has_value());
}

void TestBuildAnalyses::buildSheetPrinted_data()
{
    QTest::addColumn<PrintOutcome>("printer");
    QTest::addColumn<QList<Message>>("messages");

    QTest::newRow("printed") << PrintOutcome::Printed << QList<Message>{};
    QTest::newRow("no printer") << PrintOutcome::NoPrinter << QList<Message>{noPrinterMessage()};
    QTest::newRow("failed") << PrintOutcome::Failed << QList<Message>{printFailedMessage()};
}

// The sheet goes to the window's printer with the check's predictions on it, and a print that
// did not happen is told as the design sheet's is.
void TestBuildAnalyses::buildSheetPrinted()
{
    QFETCH(PrintOutcome, printer);
    QFETCH(QList<Message>, messages);

    Windows windows;
    FakeView &view = windows.window.view;
    view.clear();
    view.printOutcome = printer;
    DesignFigures figures;
    figures.swr = 1.3;
    const QList<SweepPoint> curve = {{145, {50, -20}, 0}, {146, {50, 0}, 0}, {147, {50, 20}, 0}};
    QCOMPARE(windows.window.session.printBuildSheet({figures, curve, std::nullopt}), printer);
    QVERIFY(view.buildSheet.has_value());
    QCOMPARE(view.buildSheet->figures.swr, 1.3);
    QVERIFY(view.buildSheet->dipMhz && std::fabs(*view.buildSheet->dipMhz - 146) < 0.01);
    QCOMPARE(view.buildSheet->dimensions, windows.window.session.builtSetup()->formula);
    QCOMPARE(view.buildSheet->wireText, u"#12"_s); // as the wire box shows it
    QCOMPARE(view.messages(), messages);
}

void TestBuildAnalyses::voidedAndCancelled_data()
{
    QTest::addColumn<int>("analysis"); // AnalysisKind
    QTest::addColumn<bool>("cancel");  // else the installation changes
    QTest::addColumn<QStringList>("events");

    QTest::newRow("tolerances cancelled")
        << int(AnalysisKind::Tolerances) << true
        << QStringList{u"tolerances started"_s, u"tolerances ended cancelled"_s};
    QTest::newRow("a trim voided by the installation")
        << int(AnalysisKind::Trim) << false
        << QStringList{u"trim started"_s, u"measurement"_s, u"trim ended voided"_s,
                       u"check formula"_s};
}

void TestBuildAnalyses::voidedAndCancelled()
{
    QFETCH(int, analysis);
    QFETCH(bool, cancel);
    QFETCH(QStringList, events);

    Windows windows;
    Session &session = windows.window.session;
    if (AnalysisKind(analysis) == AnalysisKind::Tolerances) {
        session.startTolerances(std::nullopt);
    } else {
        session.startTrim(MeasuredAntenna{QString(), 145, 0});
    }
    QVERIFY(session.isRunning(AnalysisKind(analysis)));
    if (cancel) {
        session.cancelAnalysis(AnalysisKind(analysis));
    } else {
        session.setInstallation(Installation{20, {GroundKind::Perfect, 0, 0}, {}, {}});
    }
    QVERIFY(!session.isRunning(AnalysisKind(analysis)));
    // Nothing it finds after that is shown.
    QTest::qWait(1500);
    QCOMPARE(windows.checks.outline(), events);
    QSettings(u"moxon"_s, u"moxon"_s).remove(u"designCheck"_s);
}

MOXON_TEST_GUILESS_MAIN(TestBuildAnalyses)
#include "tst_buildanalyses.moc"
