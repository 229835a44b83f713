// The design check module: the check window with its charts, loaded by the main window on
// first use.
#include "designcheck.h"
#include "designcheckwindow.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT moxon::DesignCheck *
moxon_create_design_check(QWidget *parent, moxon::CheckCommands &commands)
{
    return new moxon::DesignCheckWindow(commands, parent);
}
