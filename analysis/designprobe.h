#pragma once

#include "checkreport.h"
#include "designengine.h"
#include "tuner.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace moxon {

// What the tolerance and the trim ask the engine of one design: its figures at one frequency
// (SWR, and the front-to-back at take-off over ground) and its feed-point impedance at a few
// frequencies. Each is one engine run; a probe without frequencies costs only the figures run,
// one without figures only the impedance run.
struct DesignProbe
{
    TuneDimensions dims;              // in the display unit
    std::optional<double> figuresMhz; // the figures run at this frequency; none: no figures run
    QList<double> frequenciesMhz;     // the impedance run's frequencies, any order; may be empty

    [[nodiscard]] int engineRuns() const
    {
        return (figuresMhz ? 1 : 0) + (frequenciesMhz.isEmpty() ? 0 : 1);
    }
};

// What the engine made of one probe.
struct ProbeAnswer
{
    std::optional<DesignFigures> figures; // when asked for and the engine gave them
    QList<SweepPoint> points;             // at the probe's frequencies, in their order
    EngineFailure failure = EngineFailure::None;
    QString message; // a sentence naming nec2c and what happened, when it failed

    [[nodiscard]] bool ok() const { return failure == EngineFailure::None; }
};

// The engine of a tolerance or a trim: what each probe asked for.
using ProbeEngine = DesignEngine<DesignProbe, ProbeAnswer>;

// How far a tolerance or a trim has come: engine runs so far, rounds of runs done and the most
// rounds it may take (the bar of a progress display; it usually ends sooner).
struct AnalysisProgress
{
    int engineRuns = 0;
    int round = 0;
    int rounds = 0;
};

// Told after each round; returning false stops the analysis.
using AnalysisProgressFn = std::function<bool(const AnalysisProgress &)>;

// The engine for real: each probe's check deck (`requestFor`) at its figures frequency, and the
// same deck with impedances only at its frequencies, every run of a round queued together in
// `scheduler` (which must outlive the engine), the longest first so that the cores finish
// together. It waits in an event loop of its own, in whichever thread calls it; `cancelled` is
// looked at while the runs go on. A design the check refuses is answered with its refusal.
[[nodiscard]] ProbeEngine
nec2cProbeEngine(std::function<CheckRequest(const TuneDimensions &)> requestFor,
                 EngineScheduler &scheduler, CheckOptions options = {},
                 std::function<bool()> cancelled = {});

} // namespace moxon
