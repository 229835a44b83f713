#pragma once

#include "nec2crunner.h"

#include <QString>

namespace moxon {

// Why a tolerance or a trim gave no result, when it was not cancelled.
enum class AnalysisFault
{
    None,
    Engine,        // nec2c failed on a design, or gave figures no fit can take
    NoDip,         // the model's SWR is lowest at an end of the range searched
    DipOutOfReach, // the measured dip lies too far from the model's for any trim
    BadInput,      // a frequency or a cut error that is none
};

// How an analysis on the engine ended, whatever it computes: the runs it took, whether it was
// cancelled, and why it gave no result when it failed. The tuning, the tolerances and the trim
// each end in a result that is one.
struct AnalysisOutcome
{
    int engineRuns = 0;
    double seconds = 0;
    bool cancelled = false;
    // Why there is no result, in a sentence; nothing else is set then.
    QString message;
    AnalysisFault fault =
        AnalysisFault::None; // a tolerance's or a trim's; tuning fails on the engine
    EngineFailure failure = EngineFailure::None; // where the engine failed, as a check's report

    [[nodiscard]] bool ok() const { return message.isEmpty() && !cancelled; }
};

} // namespace moxon
