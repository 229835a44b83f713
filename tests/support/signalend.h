#pragma once

#include <QDir>
#include <QProcess>
#include <QString>

namespace moxon::test {

// Sends `signal` to `program`, whose stand-in engines noted their process ids in the file `pids`
// and made their working folders in `workFolders`, and checks that it ends as a program ended
// by a signal must: within a second, with the shell's `status` for the signal, every engine
// process ended and every working folder removed. Qt Test checks: a caller that goes on looks
// at QTest::currentTestFailed().
void checkEndsOnSignal(QProcess &program, int signal, int status, const QString &pids,
                       const QDir &workFolders);

} // namespace moxon::test
