#pragma once

#include "modelinput.h"

#include <QIODevice>

namespace moxon {

// Writes the model as the binary model file: a header, one record per wire and two blank
// records, 170 bytes each, 1530 bytes in all, every length in metres. Every value is checked
// before the first byte goes out, so a failure writes nothing.
[[nodiscard]] WriteResult WriteEZ(QIODevice &out, const ModelInput &model);

} // namespace moxon
