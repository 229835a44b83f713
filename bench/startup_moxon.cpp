// Starts as the program does (see main.cpp) and reports when its window is first shown.
#include "captionface.h"
#include "endonsignals.h"
#include "enginescheduler.h"
#include "fontconfigwarmup.h"
#include "frmmoxon.h"
#include "startoptions.h"
#include "startupprobe.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The program's scheduler and its ending on a signal, before any thread starts.
    const auto engines = std::make_shared<moxon::EngineScheduler>();
    const moxon::EndOnSignals ending(*engines);
    // Fontconfig reads the font configuration on another core while the application connects
    // to the display; the window's first font waits for no more than what is left of it.
    moxon::FontConfigWarmUp fontConfig;
    QApplication app(argc, argv);
    fontConfig.wait();
    QApplication::setApplicationName(QStringLiteral("moxon"));
    QGuiApplication::setDesktopFileName(QStringLiteral(MOXON_APP_ID));

    // The program's font is the window's face: message boxes and the file dialog look like
    // the window, and no text box lays out its first text in a system font, which a text box
    // does before it takes its window's font. The window registers the face before anything
    // draws text; a font resolves at its first use.
    QApplication::setFont(moxon::CaptionFace::captionFont());
    // The language as the program finds it: Chinese, loading no translation, unless English
    // was chosen.
    QString refusal;
    const moxon::UiLanguage language = moxon::startOptions(QApplication::arguments(), refusal)
                                           .value_or(moxon::StartOptions{})
                                           .language;
    moxon::frmMoxon window(language, engines);
    // The window sets its icon once it has been painted; its dialogs take it from the program.
    QObject::connect(&window, &QWidget::windowIconChanged, &app,
                     [](const QIcon &icon) { QApplication::setWindowIcon(icon); });
    const moxon::bench::FirstExposeProbe probe(window);
    window.show();
    return QApplication::exec();
}
