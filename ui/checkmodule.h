#pragma once

#include "checkview.h"

class QWidget;

namespace moxon {

// The design check window as the main window sees it: the check view the session talks to,
// and a window to show. It lives in a module of its own, with Qt Charts, that the main window
// loads on first use, so that neither slows its start-up.
class CheckModule : public CheckView
{
public:
    [[nodiscard]] virtual QWidget *window() = 0;
};

// The module's one entry point: a new check window, owned by `parent` and deleted with it,
// that passes what the user asks on to `commands`, which must outlive it.
using CreateCheckWindow = CheckModule *(*)(QWidget *parent, CheckCommands &commands);
inline constexpr char kCreateCheckWindowEntry[] = "moxon_create_check_window";

} // namespace moxon
