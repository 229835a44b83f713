#pragma once

#include <QByteArray>
#include <QString>

namespace moxon::test {

// Compares `actual` with the golden file tests/data/<name>. On a difference it writes the
// actual bytes beside the expected file as <name>.actual and returns a description naming
// the first differing byte (and line, for text); on a match it removes a stale .actual file.
// Returns an empty string when the bytes are equal.
[[nodiscard]] QString compareWithGolden(const QString &name, const QByteArray &actual);

} // namespace moxon::test
