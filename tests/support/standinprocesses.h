#pragma once

#include <QList>
#include <QString>

namespace moxon::test {

// The numbers a stand-in engine noted in a file, one after another: process ids (hang.sh) or
// counts of engines running (slow.sh).
[[nodiscard]] QList<qint64> notedNumbers(const QString &path);

// Gone, or a zombie that only waits to be reaped by whoever inherited it.
[[nodiscard]] bool processEnded(qint64 pid);
[[nodiscard]] bool allEnded(const QList<qint64> &pids);

// How long a test waits for ended engines and their folders to be gone, ms: a bound on the
// wait, not a speed goal. A killed process is gone only once reaped, which a loaded machine
// and a sanitised build delay past a second.
inline constexpr int kEndedWaitMs = 5000;
// The ids of those still running, for a failure's message.
[[nodiscard]] QString stillRunning(const QList<qint64> &pids);

} // namespace moxon::test
