#include "modelfile.h"

#include "writeez.h"
#include "writenec.h"

#include <QBuffer>
#include <QSaveFile>

#include <functional>

namespace moxon {

namespace {

// The binary model file has no place for insulation; the NEC deck carries its card.
WriteResult write(QIODevice &out, ModelFormat format, const ModelInput &model,
                  const std::optional<Insulation> &insulation)
{
    if (format == ModelFormat::Eznec) {
        return WriteEZ(out, model);
    }
    Installation inFreeSpace;
    inFreeSpace.insulation = insulation;
    return WriteNEC(out, model, inFreeSpace);
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

ModelBytes modelBytes(ModelFormat format, const ModelInput &model,
                      const std::optional<Insulation> &insulation)
{
    return inMemory([&](QIODevice &out) { return write(out, format, model, insulation); });
}

ModelBytes checkDeckBytes(const ModelInput &model, const Installation &installation)
{
    return inMemory([&](QIODevice &out) { return WriteNEC(out, model, installation); });
}

WriteResult saveModelFile(const QString &path, ModelFormat format, const ModelInput &model,
                          const std::optional<Insulation> &insulation)
{
    // No fallback to writing the target in place: where no temporary file can be made
    // beside it, the export fails rather than risk a half-written model.
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        return WriteResult::failure(file.errorString());
    }
    const WriteResult written = write(file, format, model, insulation);
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
