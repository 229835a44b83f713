#pragma once

#include "installation.h"
#include "modelinput.h"

#include <QByteArray>
#include <QString>

namespace moxon {

// The model in `format` as bytes, for a run that keeps it in memory (the design check).
struct ModelBytes
{
    WriteResult result = WriteResult::success();
    QByteArray bytes; // empty when the writer refused
};

// `insulation`: the wire's, which the NEC deck carries as its card; the binary model file has
// no place for it.
[[nodiscard]] ModelBytes modelBytes(ModelFormat format, const ModelInput &model,
                                    const std::optional<Insulation> &insulation = {});
// The design check's NEC deck of the model as it hangs in `installation`.
[[nodiscard]] ModelBytes checkDeckBytes(const ModelInput &model, const Installation &installation);

// Writes the model whole into `path` or leaves the file there as it was: it goes to a
// temporary file beside the target, which replaces the target only once complete.
[[nodiscard]] WriteResult saveModelFile(const QString &path, ModelFormat format,
                                        const ModelInput &model,
                                        const std::optional<Insulation> &insulation = {});

} // namespace moxon
