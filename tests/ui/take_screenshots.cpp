// The README's pictures, taken of the real windows on a display (scripts/screenshots.sh runs
// it under Xvfb): the main window with a 28.4 MHz design in metres, and its check window over
// average ground in copper wire with the trim of an analyser's file drawn on the SWR chart;
// with --smith, the check window's Smith chart of the 20 m design over the same ground, fed
// through 30 m of RG-58, with the feed point's curve and the radio's.
//
// take_screenshots --language en|zh --measured FILE.s1p --out FOLDER
// writes FOLDER/main-<language>.png and FOLDER/check-trim-<language>.png;
// take_screenshots --language en|zh --smith --out FOLDER
// writes FOLDER/check-smith-<language>.png. It stores the installation in the settings first,
// as the check window would: run it with a HOME and an XDG_CONFIG_HOME of its own, as the
// script does, so that a user's settings stay untouched.

#include "cable.h"
#include "captionface.h"
#include "enginescheduler.h"
#include "frmmoxon.h"
#include "installation.h"
#include "installationsettings.h"
#include "translation.h"

#include <QApplication>
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
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace moxon;
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
            dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept();
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

// The check of the 20 m design in 2 mm wire, its Smith chart's tab open.
int smithChart(frmMoxon &window, const QDir &out, const QString &name)
{
    if (!pickWireUnit(window, u"mm"_s)) {
        return fail("the wire has no unit mm");
    }
    typeInto(window, u"txtWD"_s, u"2"_s);
    typeInto(window, u"txtFreq"_s, u"14.15"_s);
    QTest::mouseClick(window.control(u"optM"_s), Qt::LeftButton);
    QWidget *check = checkedDesign(window);
    if (check == nullptr) {
        return 1;
    }
    // The last tab is the Smith chart's: clicked as a user would.
    QTabBar *tabs = check->findChild<QTabWidget *>(u"figureTabs"_s)->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tabs->count() - 1).center());
    QTest::qWait(500); // the chart's first paint
    // The pointer on the radio's curve at the design frequency, so that the readout beside
    // tells what the radio sees there.
    const QString radio =
        QCoreApplication::translate("moxon::SmithChart", "模型（电台端）") + u"\n14.150 MHz"_s;
    if (!pointAt(check, check->findChild<QWidget *>(u"smithChart"_s), radio)) {
        return fail("the radio's curve has no point at the design frequency");
    }
    QTest::qWait(300);
    return save(check, out.filePath(u"check-smith-%1.png"_s.arg(name))) ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    const auto engines = std::make_shared<EngineScheduler>();
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"moxon"_s);
    QCommandLineParser parser;
    parser.addOptions({{u"language"_s, u"en or zh"_s, u"language"_s},
                       {u"measured"_s, u"the analyser's file"_s, u"file"_s},
                       {u"smith"_s, u"the Smith chart of a design fed through a line"_s},
                       {u"out"_s, u"the folder of the pictures"_s, u"folder"_s}});
    parser.process(app);
    const std::optional<UiLanguage> language = uiLanguageFromName(parser.value(u"language"_s));
    const bool smith = parser.isSet(u"smith"_s);
    if (!language || smith == parser.isSet(u"measured"_s) || !parser.isSet(u"out"_s)) {
        return fail("usage: take_screenshots --language en|zh (--measured FILE | --smith) "
                    "--out FOLDER");
    }
    const QString name = uiLanguageName(*language);
    const QDir out(parser.value(u"out"_s));

    // 10 m above average ground (εr 13, 0.005 S/m), in copper wire; for the Smith chart fed
    // through 30 m of RG-58, so that it draws the radio's curve beside the feed point's.
    Installation installation{10, {GroundKind::Real, 13, 0.005}, copper(), {}};
    if (smith) {
        installation.feedLine = FeedLine{cableOf(*cablePreset(u"RG-58")), 30};
    }
    storeInstallation(installation);
    QApplication::setFont(CaptionFace::captionFont());
    frmMoxon window(*language, engines);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return fail("the main window was not shown");
    }
    return smith ? smithChart(window, out, name)
                 : mainAndTrim(window, parser.value(u"measured"_s), out, name);
}
