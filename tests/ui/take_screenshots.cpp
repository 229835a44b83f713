// The README's pictures, taken of the real windows on a display (scripts/screenshots.sh runs
// it under Xvfb): the main window with a 28.4 MHz design in metres, and its check window over
// average ground in copper wire with the trim of an analyser's file drawn on the SWR chart.
//
// take_screenshots --language en|zh --measured FILE.s1p --out FOLDER
// writes FOLDER/main-<language>.png and FOLDER/check-trim-<language>.png. It stores the
// installation in the settings first, as the check window would: run it with a HOME and an
// XDG_CONFIG_HOME of its own, as the script does, so that a user's settings stay untouched.

#include "captionface.h"
#include "enginescheduler.h"
#include "frmmoxon.h"
#include "installation.h"
#include "installationsettings.h"
#include "translation.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

} // namespace

int main(int argc, char *argv[])
{
    const auto engines = std::make_shared<EngineScheduler>();
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"moxon"_s);
    QCommandLineParser parser;
    parser.addOptions({{u"language"_s, u"en or zh"_s, u"language"_s},
                       {u"measured"_s, u"the analyser's file"_s, u"file"_s},
                       {u"out"_s, u"the folder of the pictures"_s, u"folder"_s}});
    parser.process(app);
    const std::optional<UiLanguage> language = uiLanguageFromName(parser.value(u"language"_s));
    if (!language || !parser.isSet(u"measured"_s) || !parser.isSet(u"out"_s)) {
        return fail("usage: take_screenshots --language en|zh --measured FILE --out FOLDER");
    }
    const QString name = uiLanguageName(*language);
    const QDir out(parser.value(u"out"_s));

    // 10 m above average ground (εr 13, 0.005 S/m), in copper wire.
    storeInstallation({10, {GroundKind::Real, 13, 0.005}, copper(), {}});
    QApplication::setFont(CaptionFace::captionFont());
    frmMoxon window(*language, engines);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return fail("the main window was not shown");
    }
    auto *frequency = qobject_cast<QLineEdit *>(window.control(u"txtFreq"_s));
    frequency->setFocus();
    frequency->selectAll();
    QTest::keyClicks(frequency, u"28.4"_s);
    QTest::keyClick(frequency, Qt::Key_Return);
    // In metres, so that the check window tells the height as the 10 m it was given.
    QTest::mouseClick(window.control(u"optM"_s), Qt::LeftButton);
    QTest::qWait(300);
    if (!save(&window, out.filePath(u"main-%1.png"_s.arg(name)))) {
        return 1;
    }

    window.openCheck();
    QWidget *check = checkWindow();
    if (check == nullptr || !QTest::qWaitForWindowExposed(check)) {
        return fail("the check window was not shown");
    }
    const QString done = checkDoneWords();
    if (!waitFor([&] { return labelText(check, u"status"_s).startsWith(done); }, 120)) {
        return fail("the check did not finish within two minutes");
    }
    openMeasurement(check, QFileInfo(parser.value(u"measured"_s)).absoluteFilePath());
    if (!waitFor([&] { return !labelText(check, u"trimResult"_s).isEmpty(); }, 180)) {
        std::fprintf(stderr, "take_screenshots: no trim: %s\n",
                     qUtf8Printable(labelText(check, u"trimStatus"_s)));
        return 1;
    }
    QTest::qWait(500); // the chart's last repaint
    return save(check, out.filePath(u"check-trim-%1.png"_s.arg(name))) ? 0 : 1;
}
