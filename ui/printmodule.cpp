// The printing module: Qt's printing support, loaded by the window on its first print.
#include "windowprinter.h"

#include <QtGlobal>

// The entry points, unmangled so that the window can look them up by name. Each returns the
// PrintOutcome as an int.
extern "C" Q_DECL_EXPORT int moxon_print_on_default_printer(QWidget *clientArea)
{
    return int(moxon::printOnDefaultPrinter(*clientArea));
}

extern "C" Q_DECL_EXPORT int moxon_print_build_sheet(const moxon::BuildSheet *sheet)
{
    return int(moxon::printBuildSheetOnDefaultPrinter(*sheet));
}
