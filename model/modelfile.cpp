#include "modelfile.h"

#include "writeez.h"
#include "writenec.h"

#include <QBuffer>
#include <QSaveFile>

#include <functional>

namespace moxon {

namespace {

WriteResult write(QIODevice &out, ModelFormat format, const ModelInput &model)
{
    return format == ModelFormat::Eznec ? WriteEZ(out, model) : WriteNEC(out, model);
}

ModelBytes inMemory(const std::function<WriteResult(QIODevice &)> &write)
{
    ModelBytes written;
    QBuffer buffer(&written.bytes);
    buffer.open(QIODevice::WriteOnly);
    written.result = write(buffer);
    if (!written.result.ok()) {
        written.bytes.clear();
    }
    return written;
}

} // namespace

ModelBytes modelBytes(ModelFormat format, const ModelInput &model)
{
    return inMemory([&](QIODevice &out) { return write(out, format, model); });
}

ModelBytes checkDeckBytes(const ModelInput &model, const Installation &installation)
{
    return inMemory([&](QIODevice &out) { return WriteNEC(out, model, installation); });
}

WriteResult saveModelFile(const QString &path, ModelFormat format, const ModelInput &model)
{
    // No fallback to writing the target in place: where no temporary file can be made
    // beside it, the export fails rather than risk a half-written model.
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        return WriteResult::failure(file.errorString());
    }
    const WriteResult written = write(file, format, model);
    if (!written.ok()) {
        file.cancelWriting();
        return written;
    }
    if (!file.commit()) {
        return WriteResult::failure(file.errorString());
    }
    return WriteResult::success();
}

} // namespace moxon
