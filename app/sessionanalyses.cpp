#include "sessionanalyses.h"

#include "checkrequest.h"
#include "checkrunner.h"
#include "enginescheduler.h"
#include "measurementfile.h"

namespace moxon {

SessionAnalyses::SessionAnalyses(std::shared_ptr<EngineScheduler> engines)
    : m_scheduler(std::move(engines))
    , m_checkRunner(std::make_unique<CheckRunner>(*m_scheduler, m_engineOptions))
{
    CheckRunner *runner = m_checkRunner.get();
    // A report of a check that a newer one superseded meanwhile is not told.
    const auto told = [this, runner](quint64 sequence) {
        return sequence == runner->sequence() && m_view != nullptr;
    };
    QObject::connect(runner, &CheckRunner::figuresReady, runner,
                     [this, told](quint64 sequence, const DesignFigures &figures) {
                         if (told(sequence)) {
                             m_view->showAnalysisProgress(CheckProgress(figures));
                         }
                     });
    QObject::connect(runner, &CheckRunner::sweepUpdated, runner,
                     [this, told](quint64 sequence, const QList<SweepPoint> &sweep) {
                         if (told(sequence)) {
                             m_view->showAnalysisProgress(CheckProgress(sweep));
                         }
                     });
    QObject::connect(runner, &CheckRunner::sweepFinished, runner,
                     [this, told](quint64 sequence, const SweepOutcome &sweep) {
                         if (told(sequence)) {
                             shown(AnalysisKind::Check) = false;
                             m_view->showAnalysisResult(sweep);
                         }
                     });
    QObject::connect(runner, &CheckRunner::failed, runner,
                     [this, told](quint64 sequence, EngineFailure, const QString &message) {
                         if (told(sequence)) {
                             shown(AnalysisKind::Check) = false;
                             m_view->showAnalysisEnded(AnalysisKind::Check, AnalysisEnd::Failed,
                                                       message);
                         }
                     });
}

SessionAnalyses::~SessionAnalyses()
{
    // The workers of analyses in flight see their cancel and end; their engines and working
    // folders go at once, so that nothing outlives the window.
    m_scheduler->endAll();
}

void SessionAnalyses::setView(CheckView *view)
{
    if (view != m_view) {
        m_checkRunner->cancel();
        shown(AnalysisKind::Check) = false;
    }
    m_view = view;
}

bool SessionAnalyses::isRunning(AnalysisKind kind) const
{
    switch (kind) {
    case AnalysisKind::Check:
        return m_checkRunner->isRunning();
    case AnalysisKind::Tuning:
        return m_tuningRun.isRunning();
    case AnalysisKind::Tolerances:
        return m_toleranceRun.isRunning();
    case AnalysisKind::Trim:
        return m_trimRun.isRunning();
    case AnalysisKind::Diagnosis:
        return m_diagnosisRun.isRunning();
    }
    return false;
}

void SessionAnalyses::check(const CheckRequest &request, CheckedDesign design)
{
    if (m_view == nullptr) {
        return;
    }
    m_view->showCheckedDesign(request, design);
    m_checkRunner->start(request);
    shown(AnalysisKind::Check) = true;
    m_view->showAnalysisStarted(AnalysisKind::Check);
}

void SessionAnalyses::startTuning(TuneGoal goal, const ModelInput &formula, const TuneSetup &setup)
{
    end(AnalysisKind::Tuning, AnalysisEnd::Voided);
    // The tolerances and a trim were of the design the tuning replaces.
    voidBuildAnalyses();
    m_tuning = Tuning{goal, formula, setup, std::nullopt, std::nullopt};
    shown(AnalysisKind::Tuning) = true;
    m_tuningRun.start(
        [goal, setup, scheduler = m_scheduler, options = m_engineOptions](const auto &cancelled,
                                                                          const auto &progress) {
            return tuneWithNec2c(goal, setup, *scheduler, options, cancelled, progress);
        },
        [this](const TuneProgress &progress) {
            if (m_view) {
                m_view->showAnalysisProgress(progress);
            }
        },
        [this](const TuneResult &result) { tuningFinished(result); });
    if (m_view) {
        m_view->showAnalysisStarted(AnalysisKind::Tuning);
    }
}

void SessionAnalyses::tuningFinished(const TuneResult &result)
{
    if (result.cancelled) {
        end(AnalysisKind::Tuning, AnalysisEnd::Cancelled);
        return;
    }
    if (!result.message.isEmpty()) {
        m_tuning.reset();
        shown(AnalysisKind::Tuning) = false;
        if (m_view) {
            m_view->showAnalysisEnded(AnalysisKind::Tuning, AnalysisEnd::Failed, result.message);
        }
        return;
    }
    // Tolerances or a trim asked for meanwhile were of the formula's design, no longer shown.
    voidBuildAnalyses();
    m_tuning->result = result;
    m_tuning->tuned = withDimensions(m_tuning->formula, result.tuned);
    if (m_view) {
        m_view->showAnalysisResult(result, m_tuning->setup);
        check(m_tuning->setup.requestFor(result.tuned), CheckedDesign::Tuned);
    }
}

void SessionAnalyses::startTolerances(const TuneSetup &built, double cutError)
{
    end(AnalysisKind::Tolerances, AnalysisEnd::Voided);
    shown(AnalysisKind::Tolerances) = true;
    m_toleranceRun.start(
        [built, cutError, scheduler = m_scheduler,
         options = m_engineOptions](const auto &cancelled, const auto &progress) {
            return tolerancesWithNec2c(built, cutError, *scheduler, options, cancelled, progress);
        },
        progressShown(AnalysisKind::Tolerances),
        [this, built](const ToleranceResult &result) {
            if (buildAnalysisEnded(AnalysisKind::Tolerances, result.cancelled, result.message) &&
                m_view) {
                m_view->showAnalysisResult(result, built);
            }
        });
    if (m_view) {
        m_view->showAnalysisStarted(AnalysisKind::Tolerances);
    }
}

void SessionAnalyses::startTrim(const TuneSetup &built, const MeasuredAntenna &measured,
                                double designMhz, const std::optional<FeedLine> &line)
{
    end(AnalysisKind::Diagnosis, AnalysisEnd::Voided);
    end(AnalysisKind::Trim, AnalysisEnd::Voided);
    shown(AnalysisKind::Trim) = true;
    if (m_view) {
        m_view->showAnalysisStarted(AnalysisKind::Trim);
    }
    // The measurement first: a file that cannot be taken stops the trim before any run.
    const std::variant<Measurement, QString> read = readMeasurement(measured, designMhz, line);
    if (const auto *refusal = std::get_if<QString>(&read)) {
        shown(AnalysisKind::Trim) = false;
        if (m_view) {
            m_view->showAnalysisEnded(AnalysisKind::Trim, AnalysisEnd::Failed, *refusal);
        }
        return;
    }
    const Measurement measurement = std::get<Measurement>(read);
    if (m_view) {
        m_view->showMeasurement(measurement);
    }
    // A typed dip, or a file too sparse near the design frequency to be diagnosed, is a dip
    // alone: the field trim must hold for an antenna with long tails as for a scaled one.
    QList<double> frequencies;
    for (const SweepPoint &point : measurement.curve) {
        frequencies.append(point.frequencyMhz);
    }
    const bool dipAlone = onlyTheDip(frequencies, built.requestFor(built.formula).frequencyMhz);
    const TrimOptions asked{.dipAlone = dipAlone, .gap = measured.trimGap};
    m_trimRun.start(
        [built, measurement, asked, scheduler = m_scheduler,
         options = m_engineOptions](const auto &cancelled, const auto &progress) {
            return trimWithNec2c(built, measurement.dipMhz, measurement.targetMhz, *scheduler,
                                 options, cancelled, progress, asked);
        },
        progressShown(AnalysisKind::Trim),
        [this, built](const TrimResult &result) {
            if (buildAnalysisEnded(AnalysisKind::Trim, result.cancelled, result.message) &&
                m_view) {
                m_view->showAnalysisResult(result, built);
            }
        });
}

void SessionAnalyses::startDiagnosis(const TuneSetup &built, const MeasuredAntenna &measured,
                                     double designMhz, const std::optional<FeedLine> &line)
{
    end(AnalysisKind::Trim, AnalysisEnd::Voided);
    end(AnalysisKind::Diagnosis, AnalysisEnd::Voided);
    shown(AnalysisKind::Diagnosis) = true;
    if (m_view) {
        m_view->showAnalysisStarted(AnalysisKind::Diagnosis);
    }
    const std::variant<DiagnosedFile, QString> read = readDiagnosisFile(measured, designMhz, line);
    if (const auto *refusal = std::get_if<QString>(&read)) {
        shown(AnalysisKind::Diagnosis) = false;
        if (m_view) {
            m_view->showAnalysisEnded(AnalysisKind::Diagnosis, AnalysisEnd::Failed, *refusal);
        }
        return;
    }
    m_diagnosisRun.start(
        [built, file = std::get<DiagnosedFile>(read), scheduler = m_scheduler,
         options = m_engineOptions](const auto &cancelled, const auto &progress) {
            return diagnoseWithNec2c(built, file.measurement, file.targetMhz, *scheduler, options,
                                     cancelled, progress);
        },
        progressShown(AnalysisKind::Diagnosis),
        [this, built](const DiagnosisResult &result) {
            if (buildAnalysisEnded(AnalysisKind::Diagnosis, result.cancelled, result.message) &&
                m_view) {
                m_view->showAnalysisResult(result, built);
            }
        });
}

std::function<void(const AnalysisProgress &)> SessionAnalyses::progressShown(AnalysisKind kind)
{
    return [this, kind](const AnalysisProgress &progress) {
        if (m_view) {
            m_view->showAnalysisProgress(kind, progress);
        }
    };
}

bool SessionAnalyses::buildAnalysisEnded(AnalysisKind kind, bool cancelled, const QString &failure)
{
    if (cancelled) {
        end(kind, AnalysisEnd::Cancelled);
        return false;
    }
    if (!failure.isEmpty()) {
        shown(kind) = false;
        if (m_view) {
            m_view->showAnalysisEnded(kind, AnalysisEnd::Failed, failure);
        }
        return false;
    }
    return true;
}

void SessionAnalyses::cancel(AnalysisKind kind)
{
    if (isRunning(kind)) {
        end(kind, AnalysisEnd::Cancelled);
    }
}

void SessionAnalyses::end(AnalysisKind kind, AnalysisEnd how)
{
    switch (kind) {
    case AnalysisKind::Check:
        m_checkRunner->cancel();
        break;
    case AnalysisKind::Tuning:
        m_tuningRun.end();
        m_tuning.reset();
        break;
    case AnalysisKind::Tolerances:
        m_toleranceRun.end();
        break;
    case AnalysisKind::Trim:
        m_trimRun.end();
        break;
    case AnalysisKind::Diagnosis:
        m_diagnosisRun.end();
        break;
    }
    if (shown(kind) && m_view) {
        m_view->showAnalysisEnded(kind, how, {});
    }
    shown(kind) = false;
}

void SessionAnalyses::voidDesignAnalyses()
{
    end(AnalysisKind::Tuning, AnalysisEnd::Voided);
    voidBuildAnalyses();
}

void SessionAnalyses::voidBuildAnalyses()
{
    end(AnalysisKind::Tolerances, AnalysisEnd::Voided);
    voidTrim();
}

} // namespace moxon
