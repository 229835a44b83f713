#include "goldenfile.h"

#include <QFile>

namespace moxon::test {

QString compareWithGolden(const QString &name, const QByteArray &actual)
{
    const QString expectedPath = QStringLiteral(MOXON_TEST_DATA_DIR "/") + name;
    const QString actualPath = expectedPath + QStringLiteral(".actual");
    QFile expectedFile(expectedPath);
    if (!expectedFile.open(QIODevice::ReadOnly)) {
        QFile out(actualPath);
        if (out.open(QIODevice::WriteOnly)) {
            out.write(actual);
        }
        return QStringLiteral("golden file %1 is missing; actual bytes written to %2")
            .arg(expectedPath, actualPath);
    }
    const QByteArray expected = expectedFile.readAll();
    if (expected == actual) {
        QFile::remove(actualPath);
        return {};
    }
    QFile out(actualPath);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(actual);
    }
    qsizetype at = 0;
    while (at < expected.size() && at < actual.size() && expected.at(at) == actual.at(at)) {
        ++at;
    }
    const qsizetype line = expected.left(at).count('\n') + 1;
    return QStringLiteral("%1 differs from golden file at byte %2 (line %3): expected %4 bytes, "
                          "got %5; actual written to %6 (diff -u %7 %6)")
        .arg(name)
        .arg(at)
        .arg(line)
        .arg(expected.size())
        .arg(actual.size())
        .arg(actualPath, expectedPath);
}

} // namespace moxon::test
