#pragma once

#include "figures.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace moxon {

// The check's numbers as CSV, "." as the decimal point whatever the locale: the sweep rows
// "MHz,R,X,SWR", an empty line, then the pattern rows "plane,angle,dBi" (azimuth by phi,
// elevation by theta, both in degrees).
[[nodiscard]] QByteArray checkCsv(const QList<SweepPoint> &sweep, const DesignFigures &figures);

// Write `bytes`, or `image` as PNG, to `path` through QSaveFile, so that a failed write leaves
// an existing file as it was. Return why it failed, or an empty string.
[[nodiscard]] QString saveBytes(const QString &path, const QByteArray &bytes);
[[nodiscard]] QString savePng(const QString &path, const QImage &image);

} // namespace moxon
