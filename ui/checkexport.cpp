#include "checkexport.h"

#include <QSaveFile>

#include <functional>

namespace moxon {

namespace {

QByteArray number(double value, int decimals)
{
    return QByteArray::number(value, 'f', decimals);
}

QString save(const QString &path, const std::function<bool(QSaveFile &)> &write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    if (!write(file)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason.isEmpty() ? QStringLiteral("the data could not be written") : reason;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return {};
}

} // namespace

QByteArray checkCsv(const QList<SweepPoint> &sweep, const DesignFigures &figures)
{
    QByteArray csv = "MHz,R,X,SWR\r\n";
    for (const SweepPoint &point : sweep) {
        // Impedances with the digits the engine printed.
        csv += number(point.frequencyMhz, 4) + ',' +
               QByteArray::number(point.feed.resistance, 'g', 8) + ',' +
               QByteArray::number(point.feed.reactance, 'g', 8) + ',' + number(point.swr, 4) +
               "\r\n";
    }
    csv += "\r\nplane,angle,dBi\r\n";
    for (const CutPoint &point : figures.azimuth) {
        csv += "azimuth," + number(point.angle, 1) + ',' + number(point.gain, 2) + "\r\n";
    }
    for (const CutPoint &point : figures.elevation) {
        csv += "elevation," + number(point.angle, 1) + ',' + number(point.gain, 2) + "\r\n";
    }
    return csv;
}

QString saveBytes(const QString &path, const QByteArray &bytes)
{
    return save(path, [&bytes](QSaveFile &file) { return file.write(bytes) == bytes.size(); });
}

QString savePng(const QString &path, const QImage &image)
{
    return save(path, [&image](QSaveFile &file) { return image.save(&file, "PNG"); });
}

} // namespace moxon
