#include "endonsignals.h"
#include "moxoncli.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    const QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    moxon::MoxonCli cli(out, err);
    // Before the commands start any thread: each inherits the signals blocked.
    const moxon::EndOnSignals ending(cli.engineScheduler());
    return cli.run(QCoreApplication::arguments());
}
