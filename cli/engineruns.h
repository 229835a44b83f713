#pragma once

#include "checkreport.h"
#include "tuner.h"

namespace moxon {

// The command line's runs of nec2c, each kind started from here only: the design check of a
// request, on the window's own runner and schedule; the tuning of a design, each candidate
// checked as the design is; and one run of a request's design deck, read as the tuner reads
// its candidates, which says why the tuner got no figures. Each blocks until the engine is done.
[[nodiscard]] CheckReport checkOnEngine(const CheckRequest &request);
[[nodiscard]] TuneResult tuneOnEngine(TuneGoal goal, const TuneSetup &setup);
[[nodiscard]] DesignStep designRunOnEngine(const CheckRequest &request);

} // namespace moxon
