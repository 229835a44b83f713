#include "engineruns.h"

#include "checkrunner.h"

namespace moxon {

CheckReport checkOnEngine(const CheckRequest &request, EngineScheduler &scheduler)
{
    return checkDeck(request, scheduler);
}

TuneResult tuneOnEngine(TuneGoal goal, const TuneSetup &setup, EngineScheduler &scheduler)
{
    return tuneWithNec2c(goal, setup, scheduler);
}

} // namespace moxon
