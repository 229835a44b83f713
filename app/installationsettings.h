#pragma once

#include "installation.h"

namespace moxon {

// The installation the user last chose, its feed line included, kept in the settings across
// runs; the default (free space, perfect wire, no line) where nothing is stored or what is
// stored does not read as an installation.
[[nodiscard]] Installation storedInstallation();
void storeInstallation(const Installation &installation);

} // namespace moxon
