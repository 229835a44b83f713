#pragma once

#include "diagnosis.h"

namespace moxon::diagnosing {

// The antenna as a diagnosis found it, where its trims start from.
struct DiagnosedAntenna
{
    // Its formula: the dimensions as built with the tails as meant (and the gap as fitted),
    // unscaled, display unit.
    TuneSetup asMeant;
    double scale = 1;            // how much longer the antenna behaves than that model
    TuneDimensions asIs;         // display unit: as built, with the tails' errors
    double dipMhz = 0;           // where the antenna as it is dips
    double meantDipMhz = 0;      // where it would, with its tails as meant
    double modelDipMhz = 0;      // where the model of it as it is dips, unscaled
    double meantModelDipMhz = 0; // where the model of `asMeant` dips, unscaled
};

// What the trims of a diagnosis are asked, and where their progress follows on from the fit's.
struct DiagnosisTrimRequest
{
    double targetMhz = 0;
    bool trimGap = false;                    // the frame was said to let E change too
    std::optional<double> designFrontToBack; // dB, the dimensions as given at the design frequency
    int runsBefore = 0;                      // the fit's engine runs
    int roundsBefore = 0;                    // and its rounds
};

// dB the tails' trim of a diagnosed antenna must hold the front-to-back above the rebuild's or
// the design's before E's trim is no longer sought beside it: near a sharp null the prediction
// moves by that much with errors of the fit within their uncertainty (on 2 m a few hundredths
// of a percent of the scale move the dip, and the null with it, by tens of kilohertz), and E's
// trim reaches deeper.
inline constexpr double kGapTrimSpareDb = 3;

// dB: a new frame is tried only where the trim a diagnosis leads with leaves the front-to-back
// below this. Above it the back lobe is a thousandth of the forward power or less, a null
// narrower than the band that the surroundings blur, and no builder rebuilds a frame for it.
inline constexpr double kNewFrameBelowDb = 30;

// The engine runs of a diagnosis's trims, those not kept too, and whether one was cancelled.
struct TrimsRun
{
    int engineRuns = 0;
    bool cancelled = false;
};

// The trims of `antenna` into `result`, each on `engine`: the tails' (E's too where the frame
// was said to allow it); E's beside it where the tails alone fall short or hold the
// front-to-back with less than kGapTrimSpareDb to spare, and it does better; and where even
// the better leaves the front-to-back below kNewFrameBelowDb and more than kFrameShortfallDb
// below the rebuild's or the design's, the new frame (DiagnosisResult::newFrame), offered
// where it gets back more than that. `progress` may stop them.
[[nodiscard]] TrimsRun trimDiagnosed(DiagnosisResult &result, const DiagnosedAntenna &antenna,
                                     const DiagnosisTrimRequest &request, const ProbeEngine &engine,
                                     const AnalysisProgressFn &progress);

} // namespace moxon::diagnosing
