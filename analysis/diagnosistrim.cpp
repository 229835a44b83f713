#include "diagnosistrim.h"

#include "trimcheck.h"

namespace moxon::diagnosing {

namespace {

// The trims of one diagnosis, run one after another: each one's runs and rounds follow on
// from those before it in the progress shown. Once one was cancelled no other runs.
class TrimSequence
{
public:
    TrimSequence(const DiagnosisTrimRequest &request, const ProbeEngine &engine,
                 const AnalysisProgressFn &progress)
        : m_request(request)
        , m_engine(engine)
        , m_progress(progress)
        , m_runs(request.runsBefore)
        , m_rounds(request.roundsBefore)
    {
    }

    [[nodiscard]] bool cancelled() const { return m_cancelled; }
    [[nodiscard]] int engineRuns() const { return m_runs - m_request.runsBefore; }

    // The trim of an antenna built to `setup`'s formula and dipping at `dipMhz`.
    [[nodiscard]] TrimResult trimmed(const TuneSetup &setup, double dipMhz, bool gap)
    {
        int lastRound = 0; // the trim's own count
        const AnalysisProgressFn progress = [&](const AnalysisProgress &step) {
            lastRound = step.round;
            return !m_progress || m_progress({m_runs + step.engineRuns, m_rounds + step.round,
                                              m_rounds + step.rounds});
        };
        const TrimOptions asked{.gap = gap, .designFrontToBack = m_request.designFrontToBack};
        TrimResult trim =
            moxon::trim(setup, dipMhz, m_request.targetMhz, m_engine, progress, asked);
        m_runs += trim.engineRuns;
        m_rounds += lastRound;
        m_cancelled = m_cancelled || trim.cancelled;
        return trim;
    }

private:
    const DiagnosisTrimRequest &m_request;
    const ProbeEngine &m_engine;
    const AnalysisProgressFn &m_progress;
    int m_runs = 0;
    int m_rounds = 0;
    bool m_cancelled = false;
};

// Whether the tails' trim leaves the front-to-back below the rebuild's or the design's, or
// above it by less than kGapTrimSpareDb: a trim of E too may then hold it with room to spare.
bool tailsWithoutSpare(const TrimResult &trim)
{
    if (!trim.fieldTrim || trim.dipAlone || trim.trimGap) {
        return false;
    }
    return trim.fieldTrim->antenna.figures.frontToBack <
           heldFrontToBack(trim.rebuild.figures.frontToBack, trim.designFrontToBack) +
               kGapTrimSpareDb;
}

} // namespace

TrimsRun trimDiagnosed(DiagnosisResult &result, const DiagnosedAntenna &antenna,
                       const DiagnosisTrimRequest &request, const ProbeEngine &engine,
                       const AnalysisProgressFn &progress)
{
    TrimSequence trims(request, engine, progress);
    const int decimals = antenna.asMeant.decimals;
    const auto told = [&](TrimResult trim) {
        return toldOf(std::move(trim), antenna.asIs, antenna.dipMhz, antenna.modelDipMhz, decimals);
    };
    result.trim = told(trims.trimmed(antenna.asMeant, antenna.meantDipMhz, request.trimGap));
    result.trimRefusal = result.trim->message;
    if (!request.trimGap && result.trim->ok() && tailsWithoutSpare(*result.trim)) {
        TrimResult gap = told(trims.trimmed(antenna.asMeant, antenna.meantDipMhz, true));
        // Given only where it does better than the tails' own: the search of E, held to a goal,
        // can end below them, and a trim that does worse is no advice.
        if (!gap.ok() || !gap.fieldTrim ||
            gap.fieldTrim->antenna.figures.frontToBack >
                result.trim->fieldTrim->antenna.figures.frontToBack) {
            result.gapTrim = std::move(gap);
        }
    }
    const std::optional<double> led = moxon::ledFrontToBack(result);
    if (trims.cancelled() || !led || *led >= kNewFrameBelowDb) {
        return {trims.engineRuns(), trims.cancelled()};
    }
    const double held =
        heldFrontToBack(result.trim->rebuild.figures.frontToBack, request.designFrontToBack);
    if (held - *led <= kFrameShortfallDb) {
        return {trims.engineRuns(), trims.cancelled()};
    }
    // Every dimension as given, divided by the scale: built so, the antenna behaves as the
    // model of the dimensions as given, and dips where that model does; its tails then take it
    // onto the target. Only its tails are trimmed: the frame is made to the design's shape.
    TuneSetup frame = antenna.asMeant;
    frame.formula = trimming::rounded(trimming::scaled(frame.formula, 1 / antenna.scale), decimals);
    TrimResult newFrame = trims.trimmed(frame, antenna.meantModelDipMhz, false);
    if (newFrame.ok() && newFrame.fieldTrim &&
        newFrame.fieldTrim->antenna.figures.frontToBack > *led + kFrameShortfallDb) {
        result.newFrame = std::move(newFrame);
    }
    return {trims.engineRuns(), trims.cancelled()};
}

} // namespace moxon::diagnosing

namespace moxon {

std::optional<double> ledFrontToBack(const DiagnosisResult &result)
{
    for (const std::optional<TrimResult> *trim : {&result.gapTrim, &result.trim}) {
        if (*trim && (*trim)->ok() && (*trim)->fieldTrim) {
            return (*trim)->fieldTrim->antenna.figures.frontToBack;
        }
    }
    return std::nullopt;
}

} // namespace moxon
