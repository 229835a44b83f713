#include "touchstone.h"

#include "feedline.h"
#include "necoutput.h"
#include "touchstonereader.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace moxon {

namespace {

// Ten thousand points of a one-port take half a megabyte; anything far larger is some other
// file picked by mistake, and is not worth reading into memory.
constexpr qint64 kLargestFile = 16 * 1024 * 1024; // bytes

} // namespace

QString TouchstoneError::sentence() const
{
    return line > 0 ? QStringLiteral("%1 line %2: %3.").arg(file, QString::number(line), reason)
                    : QStringLiteral("%1: %2.").arg(file, reason);
}

double toMegahertz(double frequency, FrequencyUnit unit)
{
    switch (unit) {
    case FrequencyUnit::Hz:
        return frequency / 1e6;
    case FrequencyUnit::kHz:
        return frequency / 1e3;
    case FrequencyUnit::MHz:
        return frequency;
    case FrequencyUnit::GHz:
        return frequency * 1e3;
    }
    return frequency;
}

double fromMegahertz(double megahertz, FrequencyUnit unit)
{
    switch (unit) {
    case FrequencyUnit::Hz:
        return megahertz * 1e6;
    case FrequencyUnit::kHz:
        return megahertz * 1e3;
    case FrequencyUnit::MHz:
        return megahertz;
    case FrequencyUnit::GHz:
        return megahertz / 1e3;
    }
    return megahertz;
}

TouchstoneResult readTouchstone(const QByteArray &data, const QString &displayName)
{
    touchstone::Reader reader;
    if (const std::optional<touchstone::Fault> fault =
            reader.read(touchstone::contentLines(data))) {
        return TouchstoneError{displayName, fault->line, fault->reason};
    }
    return reader.file();
}

TouchstoneResult readTouchstoneFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return TouchstoneError{name, 0,
                               QStringLiteral("cannot be read (%1)").arg(file.errorString())};
    }
    // Read no more than one byte past the limit, so that a pipe or a huge file is not taken in
    // whole before it is refused.
    const QByteArray data = file.read(kLargestFile + 1);
    if (file.error() != QFileDevice::NoError) {
        return TouchstoneError{name, 0,
                               QStringLiteral("cannot be read (%1)").arg(file.errorString())};
    }
    if (data.size() > kLargestFile) {
        return TouchstoneError{name, 0,
                               QStringLiteral("is larger than %1 MB, far more than an analyser's "
                                              "one-port measurement")
                                   .arg(kLargestFile / (1024 * 1024))};
    }
    return readTouchstone(data, name);
}

QList<double> swrOnLine(const QList<TouchstonePoint> &points)
{
    QList<double> swr;
    swr.reserve(points.size());
    for (const TouchstonePoint &point : points) {
        swr.append(standingWaveRatio({point.impedanceOhm.real(), point.impedanceOhm.imag()},
                                     kLineImpedance));
    }
    return swr;
}

} // namespace moxon
