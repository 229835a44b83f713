#pragma once

#include "checkreport.h"
#include "diagnosis.h"
#include "tolerance.h"
#include "trim.h"
#include "tuner.h"

namespace moxon {

// The command line's runs of nec2c, each kind started from here only, every engine through
// the command's scheduler: the design check of a request, on the window's own runner and
// schedule; the tuning of a design, each candidate checked as the design is; the tolerances of
// a design's cuts with every cut off by up to `cutError`; and the trim of an antenna built to
// a design that dipped at `measuredDipMhz`, towards `targetMhz`. Each blocks until the engine
// is done. The diagnosis of an antenna from its measured impedance curve, likewise.
[[nodiscard]] CheckReport checkOnEngine(const CheckRequest &request, EngineScheduler &scheduler);
[[nodiscard]] TuneResult tuneOnEngine(TuneGoal goal, const TuneSetup &setup,
                                      EngineScheduler &scheduler);
[[nodiscard]] ToleranceResult toleranceOnEngine(const TuneSetup &setup, double cutError,
                                                EngineScheduler &scheduler);
[[nodiscard]] TrimResult trimOnEngine(const TuneSetup &setup, double measuredDipMhz,
                                      double targetMhz, EngineScheduler &scheduler,
                                      TrimOptions asked = {});
[[nodiscard]] DiagnosisResult diagnoseOnEngine(const TuneSetup &setup,
                                               const DiagnosisMeasurement &measurement,
                                               double targetMhz, EngineScheduler &scheduler);

} // namespace moxon
