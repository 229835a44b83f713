// The yardstick for start-up: an empty Qt window of the calculator's size.
#include "startupprobe.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(664, 376);
    const moxon::bench::FirstExposeProbe probe(window);
    window.show();
    return QApplication::exec();
}
