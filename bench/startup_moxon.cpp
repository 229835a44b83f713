// Starts as the program does (see main.cpp) and reports when its window is first shown.
#include "frmmoxon.h"
#include "startupprobe.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("moxon"));
    QGuiApplication::setDesktopFileName(QStringLiteral(MOXON_APP_ID));

    moxon::frmMoxon window;
    QApplication::setWindowIcon(window.windowIcon());
    const moxon::bench::FirstExposeProbe probe(window);
    window.show();
    return QApplication::exec();
}
