#include "checkexport.h"

#include <QSaveFile>

#include <functional>

namespace moxon {

namespace {

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

QString saveBytes(const QString &path, const QByteArray &bytes)
{
    return save(path, [&bytes](QSaveFile &file) { return file.write(bytes) == bytes.size(); });
}

QString savePng(const QString &path, const QImage &image)
{
    return save(path, [&image](QSaveFile &file) { return image.save(&file, "PNG"); });
}

} // namespace moxon
