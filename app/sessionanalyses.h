#pragma once

#include "backgroundrun.h"
#include "checkview.h"
#include "modelinput.h"
#include "tuner.h"

#include <array>
#include <memory>
#include <optional>

namespace moxon {

class CheckRunner;
class EngineScheduler;

// A tuning of the shown design: what it tunes and, once done, exactly the model it tuned.
struct Tuning
{
    TuneGoal goal = TuneGoal::Match;
    ModelInput formula;               // the formula's model, as shown when the tuning started
    TuneSetup setup;                  // its candidates, checked where the antenna hangs
    std::optional<TuneResult> result; // once it ended with a design
    std::optional<ModelInput> tuned;  // the formula's model with the tuned dimensions
};

// The session's analyses in the background: the design check, the tuning, the tolerances and
// the trim and the diagnosis, every engine run of them through the session's one scheduler, and
// what comes of them told to the check view in one vocabulary (started, progress, result, ended). A
// newer run of a kind supersedes the one in flight. Ending a run never waits for it: its engines
// are ended and nothing it finds after that is told.
class SessionAnalyses
{
public:
    // Every engine run goes through `engines`, which is ended when the analyses go.
    explicit SessionAnalyses(std::shared_ptr<EngineScheduler> engines);
    ~SessionAnalyses();

    SessionAnalyses(const SessionAnalyses &) = delete;
    SessionAnalyses &operator=(const SessionAnalyses &) = delete;

    // The check view told of every analysis; none: nothing is told, and a check in flight,
    // which has no one left to show it, ends.
    void setView(CheckView *view);

    // Checks `request` in the background, superseding the check in flight; a refused request
    // is told as a failed check with its sentence, and nothing runs. Nothing without a view.
    void check(const CheckRequest &request, CheckedDesign design);
    // Tunes the design of `setup`, whose model is `formula`; once tuned, its check follows.
    void startTuning(TuneGoal goal, const ModelInput &formula, const TuneSetup &setup);
    // The tolerances and the trim of the design `built`; `designMhz` is the target of a trim
    // that names none.
    void startTolerances(const TuneSetup &built, double cutError);
    // A file measured at the radio is turned back to the feed point through `line`.
    void startTrim(const TuneSetup &built, const MeasuredAntenna &measured, double designMhz,
                   const std::optional<FeedLine> &line = std::nullopt);

    // The diagnosis of the design `built` from the measured file's impedance curve; it and the
    // trim are shown in one place, so each supersedes the other.
    void startDiagnosis(const TuneSetup &built, const MeasuredAntenna &measured, double designMhz,
                        const std::optional<FeedLine> &line = std::nullopt);

    // Ends the analysis of `kind` in flight, if any, telling the view it was cancelled.
    void cancel(AnalysisKind kind);
    // Ends the tuning, the tolerances and the trim, in flight or shown: the design changed.
    void voidDesignAnalyses();
    // The tolerances and the trim alone: the design a tuning gives replaces theirs.
    void voidBuildAnalyses();
    // The trim and the diagnosis alone: the feed line a measurement may have been turned back
    // through, or fitted through, changed.
    void voidTrim()
    {
        end(AnalysisKind::Trim, AnalysisEnd::Voided);
        end(AnalysisKind::Diagnosis, AnalysisEnd::Voided);
    }

    [[nodiscard]] bool isRunning(AnalysisKind kind) const;
    // The tuning in flight or done; none when there is none or it was voided.
    [[nodiscard]] const std::optional<Tuning> &tuning() const { return m_tuning; }

private:
    // Ends the analysis of `kind`; the view is told how when it showed a run or a result of it.
    void end(AnalysisKind kind, AnalysisEnd end);
    void tuningFinished(const TuneResult &result);
    // A tolerance or a trim ended with `failure` (empty when it gave a result) or was
    // cancelled; true when its result is to be shown.
    [[nodiscard]] bool buildAnalysisEnded(AnalysisKind kind, bool cancelled,
                                          const QString &failure);
    [[nodiscard]] std::function<void(const AnalysisProgress &)> progressShown(AnalysisKind kind);
    // Whether the view shows a run or a result of `kind`.
    bool &shown(AnalysisKind kind) { return m_shown[std::size_t(kind)]; }

    CheckView *m_view = nullptr;
    const CheckOptions m_engineOptions; // every engine run's program and time-out
    // Shared with the analyses' workers, which may still be ending their engines when the
    // session goes: the scheduler outlives them.
    std::shared_ptr<EngineScheduler> m_scheduler;
    std::unique_ptr<CheckRunner> m_checkRunner; // the one check; ended before the scheduler
    std::optional<Tuning> m_tuning;
    BackgroundRun<TuneProgress, TuneResult> m_tuningRun;
    BackgroundRun<AnalysisProgress, ToleranceResult> m_toleranceRun;
    BackgroundRun<AnalysisProgress, TrimResult> m_trimRun;
    BackgroundRun<AnalysisProgress, DiagnosisResult> m_diagnosisRun;
    std::array<bool, kAnalysisKinds.size()> m_shown{}; // by AnalysisKind
};

} // namespace moxon
