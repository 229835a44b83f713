// The README's pictures, taken of the real windows on a display (scripts/screenshots.sh runs
// it under Xvfb): the main window with a 28.4 MHz design in metres, and its check window over
// average ground in copper wire with the trim of an analyser's file drawn on the SWR chart.
// With --smith and --diagnosis, the 20 m design over the same ground fed through 30 m of
// RG-58, and an analyser's file of it as built (1 % long, driven tails 3 cm long, reflector
// tails 2 cm short, the line 30.3 m), read at the radio: --smith trims from it and shows the
// Smith chart with the model at the feed point and at the radio, the file as measured and
// turned back to the feed point, and the trim's prediction; --diagnosis presses 诊断 and shows
// the 实测 tab with the errors found and the fitted model on the SWR chart.
//
// take_screenshots --language en|zh --measured FILE.s1p --out FOLDER
// writes FOLDER/main-<language>.png and FOLDER/check-trim-<language>.png;
// take_screenshots --language en|zh --smith|--diagnosis --out FOLDER
// writes FOLDER/check-smith-<language>.png or FOLDER/check-diagnosis-<language>.png. It stores
// the installation in the settings first, as the check window would: run it with a HOME and an
// XDG_CONFIG_HOME of its own, as the script does, so that a user's settings stay untouched.

#include "builtantenna.h"
#include "cable.h"
#include "captionface.h"
#include "enginescheduler.h"
#include "filedialoganswer.h"
#include "frmmoxon.h"
#include "installation.h"
#include "installationsettings.h"
#include "translation.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

// Lets the program run until `done`, for at most `seconds`.
bool waitFor(const std::function<bool()> &done, int seconds)
{
    const QDeadlineTimer deadline(seconds * 1000);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(100);
    }
    return true;
}

QWidget *checkWindow()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == u"CheckWindow"_s && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

QString labelText(const QWidget *window, const QString &name)
{
    const auto *label = window->findChild<QLabel *>(name);
    return label != nullptr ? label->text() : QString();
}

// The opening words of the check window's status once nec2c is done, in the window's
// language: the part the sentences with and without a fitted curve share.
QString checkDoneWords()
{
    const QString full =
        QCoreApplication::translate("moxon::CheckWindow", "nec2c 已算完：设计频率与 %1 个扫频点。");
    return full.left(full.indexOf(u"%1"_s));
}

bool save(QWidget *window, const QString &path)
{
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "take_screenshots: cannot write %s\n", qUtf8Printable(path));
        return false;
    }
    std::printf("%s\n", qUtf8Printable(path));
    return true;
}

// Opens the analyser's file through the trim tab's own button, answering its file dialog as
// a user would.
void openMeasurement(QWidget *check, const QString &path)
{
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, &answer, [path] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            dialog != nullptr && dialog->isVisible()) {
            chooseFile(dialog, path);
        }
    });
    answer.start(20);
    QTest::mouseClick(check->findChild<QPushButton *>(u"openMeasurement"_s), Qt::LeftButton);
}

int fail(const char *what)
{
    std::fprintf(stderr, "take_screenshots: %s\n", what);
    return 1;
}

// Types `text` into the main window's field `name` and confirms it, as a user would.
void typeInto(frmMoxon &window, const QString &name, const QString &text)
{
    auto *edit = qobject_cast<QLineEdit *>(window.control(name));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Picks the wire's unit `unit` ("mm", "in") in its list with the arrow keys, as a user would.
bool pickWireUnit(frmMoxon &window, const QString &unit)
{
    auto *units = qobject_cast<QComboBox *>(window.control(u"cboDiaUnits"_s));
    const int wanted = units->findText(unit);
    if (wanted < 0) {
        return false;
    }
    units->setFocus();
    while (units->currentIndex() != wanted) {
        QTest::keyClick(units, units->currentIndex() < wanted ? Qt::Key_Down : Qt::Key_Up);
    }
    return true;
}

// Opens the check window of the main window's design and waits until nec2c is done with it.
QWidget *checkedDesign(frmMoxon &window)
{
    window.openCheck();
    QWidget *check = checkWindow();
    if (check == nullptr || !QTest::qWaitForWindowExposed(check)) {
        fail("the check window was not shown");
        return nullptr;
    }
    const QString done = checkDoneWords();
    if (!waitFor([&] { return labelText(check, u"status"_s).startsWith(done); }, 120)) {
        fail("the check did not finish within two minutes");
        return nullptr;
    }
    return check;
}

// The main window with a 28.4 MHz design, and its check with the trim of `measured`.
int mainAndTrim(frmMoxon &window, const QString &measured, const QDir &out, const QString &name)
{
    typeInto(window, u"txtFreq"_s, u"28.4"_s);
    // In metres, so that the check window tells the height as the 10 m it was given.
    QTest::mouseClick(window.control(u"optM"_s), Qt::LeftButton);
    QTest::qWait(300);
    if (!save(&window, out.filePath(u"main-%1.png"_s.arg(name)))) {
        return 1;
    }
    QWidget *check = checkedDesign(window);
    if (check == nullptr) {
        return 1;
    }
    openMeasurement(check, QFileInfo(measured).absoluteFilePath());
    if (!waitFor([&] { return !labelText(check, u"trimResult"_s).isEmpty(); }, 180)) {
        std::fprintf(stderr, "take_screenshots: no trim: %s\n",
                     qUtf8Printable(labelText(check, u"trimStatus"_s)));
        return 1;
    }
    QTest::qWait(500); // the chart's last repaint
    return save(check, out.filePath(u"check-trim-%1.png"_s.arg(name))) ? 0 : 1;
}

// Moves the pointer over `chart` until the check window's readout of it begins with `text`,
// as a user looking for that point would; false when no point of the chart says so. The
// chart's module is loaded at run time, so it is asked through its events alone.
bool pointAt(QWidget *check, QWidget *chart, const QString &text)
{
    for (int y = 0; y < chart->height(); ++y) {
        for (int x = 0; x < chart->width(); ++x) {
            const QPointF at(x, y);
            QMouseEvent move(QEvent::MouseMove, at, chart->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(chart, &move);
            if (labelText(check, u"smithReadout"_s).startsWith(text)) {
                return true;
            }
        }
    }
    return false;
}

// Clicks the check window's tab named `name` in the window's language, as a user would.
bool openTab(QWidget *check, const char *name)
{
    const QString text = QCoreApplication::translate("moxon::CheckWindow", name);
    QTabBar *tabs = check->findChild<QTabWidget *>(u"figureTabs"_s)->tabBar();
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->tabText(i) == text) {
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
            return true;
        }
    }
    return false;
}

// The 20 m design of 2 mm wire, in metres, and its check.
QWidget *twentyMetreCheck(frmMoxon &window)
{
    if (!pickWireUnit(window, u"mm"_s)) {
        fail("the wire has no unit mm");
        return nullptr;
    }
    typeInto(window, u"txtWD"_s, u"2"_s);
    typeInto(window, u"txtFreq"_s, u"14.15"_s);
    QTest::mouseClick(window.control(u"optM"_s), Qt::LeftButton);
    return checkedDesign(window);
}

// What an analyser in the shack read of the 20 m design as built where `installation` hangs
// it: 1 % long, each driven tail 3 cm long and each reflector tail 2 cm short, at the end of
// 30.3 m of the installation's line (which says 30 m), 61 readings over +-5 % with 0.5 ohm of
// noise. Written to `path`.
bool writeShackFile(const QString &path, const Installation &installation)
{
    const TuneSetup setup = shownDesignSetup(FormInputs{u"14.15"_s, u"2"_s, WireUnit::Millimetre},
                                             DisplayUnit::Metre, installation);
    const FeedLine line{installation.feedLine->cable, 30.3};
    const QList<TouchstonePoint> readings = analyserReadings(
        setup, BuildErrors{1.01, 0.03, -0.02}, frequenciesAround(14.15, 61, 0.05), 0.5, line);
    return !readings.isEmpty() && writeAnalyserFile(path, readings);
}

// The file opened in the 实测 tab as measured at the radio, and its trim done.
bool trimmedAtRadio(QWidget *check, const QString &file)
{
    if (!openTab(check, "实测")) {
        fail("the check window has no tab of the measurement");
        return false;
    }
    QTest::mouseClick(check->findChild<QCheckBox *>(u"measuredAtRadio"_s), Qt::LeftButton);
    openMeasurement(check, file);
    if (!waitFor([&] { return !labelText(check, u"trimResult"_s).isEmpty(); }, 300)) {
        std::fprintf(stderr, "take_screenshots: no trim: %s\n",
                     qUtf8Printable(labelText(check, u"trimStatus"_s)));
        return false;
    }
    return true;
}

// The Smith chart's tab of the trimmed check, the pointer on the trim's prediction at the
// design frequency (else on the measurement there), so that the readout tells it.
int smithChart(QWidget *check, const QDir &out, const QString &name)
{
    if (!openTab(check, "史密斯圆图")) {
        return fail("the check window has no Smith chart");
    }
    QTest::qWait(500); // the chart's first paint
    QWidget *chart = check->findChild<QWidget *>(u"smithChart"_s);
    bool pointed = false;
    for (const char *curve : {"修剪后预测", "实测（馈点）"}) {
        const QString text =
            QCoreApplication::translate("moxon::SmithChart", curve) + u"\n14.150 MHz"_s;
        pointed = pointed || pointAt(check, chart, text);
    }
    if (!pointed) {
        return fail("neither the trim nor the measurement has a point at the design frequency");
    }
    QTest::qWait(300);
    return save(check, out.filePath(u"check-smith-%1.png"_s.arg(name))) ? 0 : 1;
}

// 诊断 pressed once the trim is done, and the 实测 tab with what it found.
int diagnosisPage(QWidget *check, const QDir &out, const QString &name)
{
    QTest::mouseClick(check->findChild<QPushButton *>(u"diagnose"_s), Qt::LeftButton);
    const QString full = QCoreApplication::translate("moxon::TrimPanel", "诊断已算完%1。");
    const QString done = full.left(full.indexOf(u"%1"_s));
    if (!waitFor([&] { return labelText(check, u"trimStatus"_s).startsWith(done); }, 600)) {
        std::fprintf(stderr, "take_screenshots: no diagnosis: %s\n",
                     qUtf8Printable(labelText(check, u"trimStatus"_s)));
        return 1;
    }
    QTest::qWait(500); // the chart's last repaint
    return save(check, out.filePath(u"check-diagnosis-%1.png"_s.arg(name))) ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    const auto engines = std::make_shared<EngineScheduler>();
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"moxon"_s);
    QCommandLineParser parser;
    parser.addOptions(
        {{u"language"_s, u"en or zh"_s, u"language"_s},
         {u"measured"_s, u"the analyser's file"_s, u"file"_s},
         {u"smith"_s, u"the Smith chart of a built design trimmed through a line"_s},
         {u"diagnosis"_s, u"the diagnosis of a built design measured through a line"_s},
         {u"out"_s, u"the folder of the pictures"_s, u"folder"_s}});
    parser.process(app);
    const std::optional<UiLanguage> language = uiLanguageFromName(parser.value(u"language"_s));
    const bool smith = parser.isSet(u"smith"_s);
    const bool diagnosis = parser.isSet(u"diagnosis"_s);
    const int pictures = int(smith) + int(diagnosis) + int(parser.isSet(u"measured"_s));
    if (!language || pictures != 1 || !parser.isSet(u"out"_s)) {
        return fail("usage: take_screenshots --language en|zh (--measured FILE | --smith | "
                    "--diagnosis) --out FOLDER");
    }
    const QString name = uiLanguageName(*language);
    const QDir out(parser.value(u"out"_s));

    // 10 m above average ground (εr 13, 0.005 S/m), in copper wire; for the built 20 m
    // antenna fed through 30 m of RG-58, so that the radio's curves come beside the feed
    // point's.
    Installation installation{10, {GroundKind::Real, 13, 0.005}, copper(), {}};
    const QTemporaryDir folder;
    const QString shack = folder.filePath(u"moxon20m.s1p"_s);
    if (smith || diagnosis) {
        installation.feedLine = FeedLine{cableOf(*cablePreset(u"RG-58")), 30};
        if (!writeShackFile(shack, installation)) {
            return fail("nec2c read nothing of the built antenna");
        }
    }
    storeInstallation(installation);
    QApplication::setFont(CaptionFace::captionFont());
    frmMoxon window(*language, engines);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return fail("the main window was not shown");
    }
    if (!smith && !diagnosis) {
        return mainAndTrim(window, parser.value(u"measured"_s), out, name);
    }
    QWidget *check = twentyMetreCheck(window);
    if (check == nullptr || !trimmedAtRadio(check, shack)) {
        return 1;
    }
    return smith ? smithChart(check, out, name) : diagnosisPage(check, out, name);
}
