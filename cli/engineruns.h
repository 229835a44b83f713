#pragma once

#include "checkreport.h"
#include "tuner.h"

namespace moxon {

// The command line's runs of nec2c, each kind started from here only, every engine through
// the command's scheduler: the design check of a request, on the window's own runner and
// schedule; and the tuning of a design, each candidate checked as the design is. Each blocks
// until the engine is done.
[[nodiscard]] CheckReport checkOnEngine(const CheckRequest &request, EngineScheduler &scheduler);
[[nodiscard]] TuneResult tuneOnEngine(TuneGoal goal, const TuneSetup &setup,
                                      EngineScheduler &scheduler);

} // namespace moxon
