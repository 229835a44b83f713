#include "captionface.h"
#include "endonsignals.h"
#include "enginescheduler.h"
#include "fontconfigwarmup.h"
#include "frmmoxon.h"
#include "startoptions.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

// --version and --help are answered from argv before anything of Qt starts: they need no
// display, and the window's start-up pays for nothing but this loop.
int answerInfoOption(int argc, char *argv[])
{
    const char *text = nullptr;
    for (int i = 1; i < argc && text == nullptr; ++i) {
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            text = "moxon " MOXON_VERSION "\n";
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            text = "Usage: moxon [options]\n"
                   "Opens the Moxon rectangle calculator's window.\n\n"
                   "Options:\n"
                   "  --language en|zh  the captions in English or in Simplified Chinese for\n"
                   "                    this run; without it, the language last chosen in the\n"
                   "                    antenna diagram's menu, else Chinese\n"
                   "  --check           opens the design check window with the window\n"
                   "  -h, --help        this help\n"
                   "  -v, --version     the version\n\n"
                   "The options every Qt program takes, such as -platform, apply as well.\n"
                   "moxon-cli designs, exports and checks from the command line.\n\n"
                   "Ended by SIGINT, SIGTERM or SIGHUP, it ends every nec2c it started and\n"
                   "removes their working folders first, and exits with 130, 143 or 129.\n";
        }
    }
    if (text == nullptr) {
        return -1;
    }
    // A full disk or a closed pipe is a failure, not a silent success.
    return std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const int status = answerInfoOption(argc, argv); status >= 0) {
        return status;
    }

    // The program's one engine scheduler, and its ending on a signal, which ends the
    // scheduler's runs: made before any thread starts, Qt's own included, so that every thread
    // inherits the signals blocked; the scheduler outlives the thread that takes them.
    const auto engines = std::make_shared<moxon::EngineScheduler>();
    const moxon::EndOnSignals ending(*engines);
    // Fontconfig reads the font configuration on another core while the application connects
    // to the display; the window's first font waits for no more than what is left of it.
    moxon::FontConfigWarmUp fontConfig;
    QApplication app(argc, argv);
    fontConfig.wait();
    QApplication::setApplicationName(QStringLiteral("moxon"));
    QApplication::setApplicationVersion(QStringLiteral(MOXON_VERSION));
    // Lets Wayland compositors and docks match the window to its desktop entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(MOXON_APP_ID));
    // Read once Qt has taken its own options, such as -platform, off the command line.
    QString refusal;
    const std::optional<moxon::StartOptions> options =
        moxon::startOptions(QApplication::arguments(), refusal);
    if (!options) {
        std::fprintf(stderr, "moxon: %s\nTry 'moxon --help'.\n", qUtf8Printable(refusal));
        return 2;
    }

    // The program's font is the window's face: message boxes and the file dialog look like
    // the window, and no text box lays out its first text in a system font, which a text box
    // does before it takes its window's font. The window registers the face before anything
    // draws text; a font resolves at its first use.
    QApplication::setFont(moxon::CaptionFace::captionFont());
    moxon::frmMoxon window(options->language, engines);
    // The window sets its icon once it has been painted; its dialogs take it from the program.
    QObject::connect(&window, &QWidget::windowIconChanged, &app,
                     [](const QIcon &icon) { QApplication::setWindowIcon(icon); });
    window.show();
    if (options->check) {
        window.openCheck();
    }
    return QApplication::exec();
}
