#include "frmmoxon.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("moxon"));
    QApplication::setApplicationVersion(QStringLiteral(MOXON_VERSION));
    // Lets Wayland compositors and docks match the window to its desktop entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(MOXON_APP_ID));

    moxon::frmMoxon window;
    QApplication::setWindowIcon(window.windowIcon());
    window.show();
    return QApplication::exec();
}
