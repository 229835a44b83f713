#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace moxon {

// Write `bytes`, or `image` as PNG, to `path` through QSaveFile, so that a failed write leaves
// an existing file as it was. Return why it failed, or an empty string.
[[nodiscard]] QString saveBytes(const QString &path, const QByteArray &bytes);
[[nodiscard]] QString savePng(const QString &path, const QImage &image);

} // namespace moxon
