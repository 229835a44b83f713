#pragma once

#include "checkreport.h"
#include "modelinput.h"

#include <QString>

namespace moxon {

// The design check of a model, as the window and the command line run it: the deck the export
// writes, the header naming the design as the user gave it (`wireText` as the wire box shows
// it), and what the engine must not be asked: a model the writer refuses or one beyond NEC-2's
// thin-wire model is refused with the reason; one outside its accuracy guideline carries a
// caution.
[[nodiscard]] CheckRequest designCheckRequest(const ModelInput &model, const QString &wireText);

} // namespace moxon
