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

ToleranceResult toleranceOnEngine(const TuneSetup &setup, double cutError,
                                  EngineScheduler &scheduler)
{
    return tolerancesWithNec2c(setup, cutError, scheduler);
}

TrimResult trimOnEngine(const TuneSetup &setup, double measuredDipMhz, double targetMhz,
                        EngineScheduler &scheduler, TrimOptions asked)
{
    return trimWithNec2c(setup, measuredDipMhz, targetMhz, scheduler, {}, {}, {}, asked);
}

DiagnosisResult diagnoseOnEngine(const TuneSetup &setup, const DiagnosisMeasurement &measurement,
                                 double targetMhz, EngineScheduler &scheduler)
{
    return diagnoseWithNec2c(setup, measurement, targetMhz, scheduler);
}

} // namespace moxon
