#pragma once

#include "checkreport.h"
#include "tuner.h"

#include <QString>

#include <functional>
#include <optional>

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

    // Where the user hangs the antenna, as the window remembers it; `changed` is called after
    // each change the user makes, so that the design is checked anew in it.
    [[nodiscard]] virtual Installation installation() const = 0;
    virtual void onInstallationChanged(std::function<void()> changed) = 0;

    // The design the check window tunes (set before each check() that follows a Calculate),
    // and how its tuned model is exported.
    virtual void setTuning(std::optional<TuneSetup> setup,
                           std::function<void(const TuneDimensions &)> exportTuned) = 0;
};

// The module's one entry point: a new check window, owned by `parent` and deleted with it.
using CreateDesignCheck = DesignCheck *(*)(QWidget *parent);
inline constexpr char kCreateDesignCheckEntry[] = "moxon_create_design_check";

} // namespace moxon
