#pragma once

#include "localenumbers.h"
#include "modelsource.h"

#include <QIODevice>

namespace moxon {

// Writes the model as the binary model file: a header, one record per wire and two blank
// records, 170 bytes each, 1530 bytes in all, every length in metres. The frequency and the
// wire size are read with `numbers`, in the window's locale. Every input is read before the
// first byte goes out, so a failure writes nothing.
[[nodiscard]] WriteResult WriteEZ(QIODevice &out, const ModelSource &source,
                                  const LocaleNumbers &numbers);

} // namespace moxon
