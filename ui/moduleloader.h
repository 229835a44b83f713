#pragma once

#include <QFunctionPointer>
#include <QString>

namespace moxon {

// The entry point `symbol` of the window's module `name` ("print" for moxon-print.so), loaded
// on first use from beside the installed program's libraries or else from where the build put
// it. A module stays loaded: unloading one that has set up Qt plugins would pull code from
// under them. Null when no such module can be loaded.
[[nodiscard]] QFunctionPointer moduleEntry(const QString &name, const char *symbol);

} // namespace moxon
