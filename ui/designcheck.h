#pragma once

#include "checkreport.h"

#include <QString>

class QWidget;

namespace moxon {

// The design check window as the main window sees it. It lives in a module of its own, with
// Qt Charts, that the main window loads on first use, so that neither slows its start-up.
class DesignCheck
{
public:
    virtual ~DesignCheck() = default;

    [[nodiscard]] virtual QWidget *window() = 0;

    // Checks `request` in the background, superseding the check in flight.
    virtual void check(const CheckRequest &request) = 0;
};

// The module's one entry point: a new check window, owned by `parent` and deleted with it.
using CreateDesignCheck = DesignCheck *(*)(QWidget *parent);
inline constexpr char kCreateDesignCheckEntry[] = "moxon_create_design_check";

} // namespace moxon
