#include "endonsignals.h"
#include "moxoncli.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstring>
#include <memory>

int main(int argc, char *argv[])
{
    // The build sheet is drawn in Qt Gui's fonts and written by its PDF writer: it needs Gui's
    // application, and no display. The offscreen platform, whatever the session has, so that it
    // runs the same over ssh, in a cron job and at a desk. Every other command runs on Qt Core.
    const bool drawsSheet = argc > 1 && std::strcmp(argv[1], "sheet") == 0;
    if (drawsSheet) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const std::unique_ptr<QCoreApplication> app =
        drawsSheet ? std::make_unique<QGuiApplication>(argc, argv)
                   : std::make_unique<QCoreApplication>(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    moxon::MoxonCli cli(out, err);
    // Before the commands start any thread: each inherits the signals blocked.
    const moxon::EndOnSignals ending(cli.engineScheduler());
    return cli.run(QCoreApplication::arguments());
}
