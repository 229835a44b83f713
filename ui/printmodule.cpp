// The printing module: Qt's printing support, loaded by the window on its first print.
#include "windowprinter.h"

#include <QtGlobal>

// The one entry point, unmangled so that the window can look it up by name. Returns the
// PrintOutcome as an int.
extern "C" Q_DECL_EXPORT int moxon_print_on_default_printer(QWidget *clientArea)
{
    return int(moxon::printOnDefaultPrinter(*clientArea));
}
