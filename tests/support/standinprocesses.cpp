#include "standinprocesses.h"

#include <QFile>
#include <QStringList>

#include <algorithm>

namespace moxon::test {

QList<qint64> notedNumbers(const QString &path)
{
    QFile file(path);
    QList<qint64> numbers;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray &word : file.readAll().simplified().split(' ')) {
            if (!word.isEmpty()) {
                numbers.append(word.toLongLong());
            }
        }
    }
    return numbers;
}

bool processEnded(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return true;
    }
    const QByteArray text = stat.readAll();
    const qsizetype name = text.lastIndexOf(')');
    return name > 0 && text.mid(name + 2, 1) == "Z";
}

bool allEnded(const QList<qint64> &pids)
{
    return std::all_of(pids.cbegin(), pids.cend(), processEnded);
}

QString stillRunning(const QList<qint64> &pids)
{
    QStringList alive;
    for (const qint64 pid : pids) {
        if (!processEnded(pid)) {
            alive.append(QString::number(pid));
        }
    }
    return alive.join(u' ');
}

} // namespace moxon::test
