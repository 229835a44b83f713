#include "engineruns.h"

#include "checkrunner.h"

namespace moxon {

CheckReport checkOnEngine(const CheckRequest &request)
{
    return checkDeck(request);
}

TuneResult tuneOnEngine(TuneGoal goal, const TuneSetup &setup)
{
    return tune(goal, setup.formula, setup.decimals, nec2cTuneEngine(setup.requestFor));
}

} // namespace moxon
