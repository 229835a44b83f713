#pragma once

#include "moxoncli.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace moxon::test {

// moxon-cli run in the test's own process, with what it writes on either stream.
struct CliRun
{
    int status = -1;
    QString out;
    QString err;
};

// `arguments` as a shell would pass them after the program's name, the command first.
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

inline CliRun runCli(const QString &command, const QStringList &arguments)
{
    return runCli(QStringList{command} + arguments);
}

} // namespace moxon::test
