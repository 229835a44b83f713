#include "moxoncli.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    const QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return moxon::MoxonCli(out, err).run(QCoreApplication::arguments());
}
