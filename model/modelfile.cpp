#include "modelfile.h"

#include "writeez.h"
#include "writenec.h"

#include <QBuffer>
#include <QSaveFile>

namespace moxon {

namespace {

WriteResult write(QIODevice &out, ModelFormat format, const ModelInput &model)
{
    return format == ModelFormat::Eznec ? WriteEZ(out, model) : WriteNEC(out, model);
}

} // namespace

ModelBytes modelBytes(ModelFormat format, const ModelInput &model)
{
    ModelBytes written;
    QBuffer buffer(&written.bytes);
    buffer.open(QIODevice::WriteOnly);
    written.result = write(buffer, format, model);
    if (!written.result.ok()) {
        written.bytes.clear();
    }
    return written;
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
