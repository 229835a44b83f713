#pragma once

#include "moxoncli.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace moxon::test {

// moxon-cli run in the test's own process: its exit status and what it wrote to each stream.
struct CliRun
{
    int status = -1;
    QString out;
    QString err;
};

// `arguments` after the program's name.
inline CliRun runCli(const QStringList &arguments)
{
    CliRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = MoxonCli(out, err).run(QStringList{QStringLiteral("moxon-cli")} + arguments);
    out.flush();
    err.flush();
    return run;
}

} // namespace moxon::test
