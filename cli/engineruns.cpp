#include "engineruns.h"

#include "checkrunner.h"
#include "nec2crunner.h"

namespace moxon {

CheckReport checkOnEngine(const CheckRequest &request)
{
    return checkDeck(request);
}

TuneResult tuneOnEngine(TuneGoal goal, const TuneSetup &setup)
{
    return tune(goal, setup.formula, setup.decimals, nec2cTuneEngine(setup.requestFor));
}

DesignStep designRunOnEngine(const CheckRequest &request)
{
    return readDesignRun(runNec2c(request.deck), request);
}

} // namespace moxon
