#pragma once

#include "trim.h"

#include <QString>

namespace moxon {

// From a dip alone: that it cannot tell a scaled antenna from a long-tailed one, how the field
// trim holds for both (or why the long-tailed one was not tried), and that the whole curve
// tells them apart. Lines aligned as the trim's report, without the last line's end.
[[nodiscard]] QString dipAloneLines(const TrimResult &result);

} // namespace moxon
