#pragma once

#include "modelinput.h"

#include <QIODevice>

namespace moxon {

// Writes the model as an NEC-2 input deck of fifteen cards, each line ended by CR LF: the six
// wires in the display unit with a GS card that scales them to metres, a 1 V source on the
// middle segment of wire 2, the one design frequency, and an azimuth and an elevation
// pattern. Numbers always carry ".", whatever the user's locale. Every value is checked before
// the first byte goes out, so a failure writes nothing.
[[nodiscard]] WriteResult WriteNEC(QIODevice &out, const ModelInput &model);

} // namespace moxon
