// The design check module: the check window with its charts, loaded by the main window on
// first use.
#include "checkmodule.h"

#include "checkwindow.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT moxon::CheckModule *
moxon_create_check_window(QWidget *parent, moxon::CheckCommands &commands)
{
    return new moxon::CheckWindow(commands, parent);
}
