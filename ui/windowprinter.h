#pragma once

#include "toolkit.h"

class QWidget;

namespace moxon {

// Prints `clientArea` as it is shown, rendered as vectors at the printer's resolution, on the
// default printer: one page, no dialog, scaled to fit the page with its aspect kept.
PrintOutcome printWidgetImage(QWidget &clientArea);

} // namespace moxon
