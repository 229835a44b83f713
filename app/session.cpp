#include "session.h"

#include "checkrequest.h"
#include "installationsettings.h"
#include "measurementfile.h"
#include "modelfile.h"

#include <exception>

namespace moxon {

Session::Session(DesignView &view, LocaleNumbers numbers, std::shared_ptr<EngineScheduler> engines)
    : m_view(view)
    , m_numbers(std::move(numbers))
    , m_installation(storedInstallation())
    , m_scheduler(std::move(engines))
{
}

Session::~Session()
{
    // The workers of analyses in flight see their cancel and end; their engines and working
    // folders go at once, so that nothing outlives the window.
    m_scheduler->endAll();
}

void Session::formLoad()
{
    m_state.inputs.wireUnit = WireUnit::Gauge;
    m_view.showWireSize(m_state.inputs.wireSize, WireUnit::Gauge);
    m_state.displayUnits = DisplayUnit::Inch;
    calculate();
}

CalculateOutcome Session::calculate()
{
    const Calculation run = moxon::calculate(m_state.inputs, m_state.displayUnits, m_numbers);
    // The "#" shorthand shows before any message, as the box changes before the checks end.
    if (run.form != m_state.inputs) {
        m_state.inputs = run.form;
        m_view.showWireSize(run.form.wireSize, run.form.wireUnit.value_or(WireUnit::Gauge));
    }
    if (run.error) {
        m_view.showMessage(inputErrorMessage(*run.error));
        m_view.focusField(run.error->field);
        return CalculateOutcome::Rejected;
    }
    if (run.warning != RangeWarning::None) {
        m_view.showMessage(rangeWarningMessage(run.warning));
    }
    m_state.shown = run.shown;
    m_state.accepted = run.input;
    m_state.acceptedInputs = run.form;
    m_view.showDesign(run.shown);
    checkShownDesign();
    return CalculateOutcome::Shown;
}

void Session::setVertical(bool vertical)
{
    if (vertical != m_state.vertical) {
        m_state.vertical = vertical;
        checkShownDesign();
    }
}

void Session::setXAxis(bool xAxis)
{
    if (xAxis != m_state.xAxis) {
        m_state.xAxis = xAxis;
        checkShownDesign();
    }
}

CalculateOutcome Session::selectDisplayUnit(DisplayUnit unit)
{
    m_state.displayUnits = unit;
    return calculate();
}

std::optional<ModelInput> Session::currentModel() const
{
    if (!m_state.shown || !m_state.accepted) {
        return std::nullopt;
    }
    return modelInputFor(*m_state.shown, *m_state.accepted, m_state.vertical, m_state.xAxis);
}

std::optional<CheckRequest> Session::checkRequest() const
{
    const std::optional<ModelInput> model = currentModel();
    if (!model) {
        return std::nullopt;
    }
    CheckRequest request = checkRequestFor(*model, m_state.acceptedInputs.wireSize, m_installation);
    request.sweep = m_sweepMode;
    return request;
}

void Session::setSweepMode(SweepMode mode)
{
    if (mode != m_sweepMode) {
        m_sweepMode = mode;
        checkShownDesign();
    }
}

QString Session::shownDesignHeader() const
{
    const std::optional<CheckRequest> request = checkRequest();
    return request ? request->header : QString();
}

void Session::setCheckView(CheckView *view)
{
    m_checkView = view;
    if (m_checkView) {
        m_checkView->showInstallation(m_installation, lengthScale());
    }
}

LengthScale Session::lengthScale() const
{
    const DisplayUnitInfo &unit = unitInfo(m_state.displayUnits);
    const double wavelength = m_state.accepted && m_state.accepted->frequencyMHz > 0
                                  ? freeSpaceWavelength(m_state.accepted->frequencyMHz)
                                  : 0;
    return {unitText(m_state.displayUnits), unit.metresPerUnit, wavelength, unit.cutStep,
            unit.cutStepText.toString()};
}

void Session::checkShownDesign()
{
    // A tuning of the design as it was no longer applies, whether or not the check is shown;
    // nor do its tolerances or a trim.
    endTuning(AnalysisEnd::Voided);
    endAnalyses(AnalysisEnd::Voided);
    if (!m_checkView || !m_checkView->isCheckShown()) {
        return; // nothing runs while the check window is closed
    }
    m_checkView->showInstallation(m_installation, lengthScale());
    if (const std::optional<CheckRequest> request = checkRequest()) {
        m_checkView->check(*request, CheckedDesign::Formula);
    }
}

void Session::setInstallation(const Installation &installation)
{
    if (installation == m_installation) {
        return;
    }
    m_installation = installation;
    storeInstallation(installation);
    checkShownDesign();
}

void Session::startTuning(TuneGoal goal)
{
    const std::optional<ModelInput> model = currentModel();
    if (!model) {
        return;
    }
    endTuning(AnalysisEnd::Voided);
    // The tolerances and a trim were of the design the tuning replaces.
    endAnalyses(AnalysisEnd::Voided);
    const TuneSetup setup = moxon::tuneSetup(*model, m_state.shown->values,
                                             m_state.acceptedInputs.wireSize, m_installation);
    m_tuning = Tuning{goal, *model, setup, std::nullopt, std::nullopt};

    const std::shared_ptr<EngineScheduler> scheduler = m_scheduler;
    const CheckOptions options = m_engineOptions;
    m_tuningRun.start(
        [goal, setup, scheduler, options](const auto &cancelled, const auto &progress) {
            return tuneWithNec2c(goal, setup, *scheduler, options, cancelled, progress);
        },
        [this](const TuneProgress &progress) {
            if (m_checkView) {
                m_checkView->showTuningProgress(progress);
            }
        },
        [this](const TuneResult &result) { tuningFinished(result); });
    if (m_checkView) {
        m_checkView->showTuningStarted();
    }
}

void Session::tuningFinished(const TuneResult &result)
{
    if (result.cancelled) {
        endTuning(AnalysisEnd::Cancelled);
        return;
    }
    if (!result.failure.isEmpty()) {
        m_tuning.reset();
        if (m_checkView) {
            m_checkView->showTuningEnded(AnalysisEnd::Failed, result.failure);
        }
        return;
    }
    // Tolerances or a trim asked for meanwhile were of the formula's design, no longer shown.
    endAnalyses(AnalysisEnd::Voided);
    m_tuning->result = result;
    m_tuning->tuned = withDimensions(m_tuning->formula, result.tuned);
    if (m_checkView) {
        m_checkView->showTuningResult(result, m_tuning->setup);
        CheckRequest tuned = m_tuning->setup.requestFor(result.tuned);
        m_checkView->check(tuned, CheckedDesign::Tuned);
    }
}

void Session::cancelTuning()
{
    if (m_tuningRun.isRunning()) {
        endTuning(AnalysisEnd::Cancelled);
    }
}

void Session::endTuning(AnalysisEnd end)
{
    const bool told = m_tuning.has_value();
    m_tuningRun.end();
    m_tuning.reset();
    if (told && m_checkView) {
        m_checkView->showTuningEnded(end, {});
    }
}

std::optional<TuneSetup> Session::shownSetup() const
{
    if (m_tuning && m_tuning->result) {
        TuneSetup setup = m_tuning->setup;
        setup.formula = m_tuning->result->tuned;
        return setup;
    }
    const std::optional<ModelInput> model = currentModel();
    if (!model) {
        return std::nullopt;
    }
    return moxon::tuneSetup(*model, m_state.shown->values, m_state.acceptedInputs.wireSize,
                            m_installation);
}

bool Session::isRunning(BuildAnalysis analysis) const
{
    return analysis == BuildAnalysis::Tolerances ? m_toleranceRun.isRunning()
                                                 : m_trimRun.isRunning();
}

void Session::startTolerances(std::optional<double> cutError)
{
    const std::optional<TuneSetup> setup = shownSetup();
    if (!setup) {
        return;
    }
    endAnalysis(BuildAnalysis::Tolerances, AnalysisEnd::Voided);
    const double error = cutError.value_or(kDefaultCutErrorOfA * setup->formula.a);
    const std::shared_ptr<EngineScheduler> scheduler = m_scheduler;
    const CheckOptions options = m_engineOptions;
    m_analysisShown[std::size_t(BuildAnalysis::Tolerances)] = true;
    m_toleranceRun.start(
        [setup = *setup, error, scheduler, options](const auto &cancelled, const auto &progress) {
            return tolerancesWithNec2c(setup, error, *scheduler, options, cancelled, progress);
        },
        progressShown(BuildAnalysis::Tolerances),
        [this, setup = *setup](const ToleranceResult &result) {
            if (analysisEnded(BuildAnalysis::Tolerances, result.cancelled, result.failure) &&
                m_checkView) {
                m_checkView->showTolerances(result, setup);
            }
        });
    if (m_checkView) {
        m_checkView->showAnalysisStarted(BuildAnalysis::Tolerances);
    }
}

void Session::startTrim(const MeasuredAntenna &measured)
{
    const std::optional<TuneSetup> setup = shownSetup();
    if (!setup) {
        return;
    }
    endAnalysis(BuildAnalysis::Trim, AnalysisEnd::Voided);
    m_analysisShown[std::size_t(BuildAnalysis::Trim)] = true;
    if (m_checkView) {
        m_checkView->showAnalysisStarted(BuildAnalysis::Trim);
    }
    // The measurement first: a file that cannot be taken stops the trim before any run.
    const std::variant<Measurement, QString> read =
        readMeasurement(measured, m_state.accepted->frequencyMHz);
    if (const auto *refusal = std::get_if<QString>(&read)) {
        m_analysisShown[std::size_t(BuildAnalysis::Trim)] = false;
        if (m_checkView) {
            m_checkView->showAnalysisEnded(BuildAnalysis::Trim, AnalysisEnd::Failed, *refusal);
        }
        return;
    }
    const Measurement measurement = std::get<Measurement>(read);
    if (m_checkView) {
        m_checkView->showMeasurement(measurement);
    }
    const std::shared_ptr<EngineScheduler> scheduler = m_scheduler;
    const CheckOptions options = m_engineOptions;
    m_trimRun.start(
        [setup = *setup, measurement, scheduler, options](const auto &cancelled,
                                                          const auto &progress) {
            return trimWithNec2c(setup, measurement.dipMhz, measurement.targetMhz, *scheduler,
                                 options, cancelled, progress);
        },
        progressShown(BuildAnalysis::Trim),
        [this, setup = *setup](const TrimResult &result) {
            if (analysisEnded(BuildAnalysis::Trim, result.cancelled, result.failure) &&
                m_checkView) {
                m_checkView->showTrim(result, setup);
            }
        });
}

std::function<void(const AnalysisProgress &)> Session::progressShown(BuildAnalysis analysis)
{
    return [this, analysis](const AnalysisProgress &progress) {
        if (m_checkView) {
            m_checkView->showAnalysisProgress(analysis, progress);
        }
    };
}

bool Session::analysisEnded(BuildAnalysis analysis, bool cancelled, const QString &failure)
{
    if (cancelled) {
        endAnalysis(analysis, AnalysisEnd::Cancelled);
        return false;
    }
    if (!failure.isEmpty()) {
        m_analysisShown[std::size_t(analysis)] = false;
        if (m_checkView) {
            m_checkView->showAnalysisEnded(analysis, AnalysisEnd::Failed, failure);
        }
        return false;
    }
    return true;
}

void Session::cancelAnalysis(BuildAnalysis analysis)
{
    if (isRunning(analysis)) {
        endAnalysis(analysis, AnalysisEnd::Cancelled);
    }
}

void Session::endAnalysis(BuildAnalysis analysis, AnalysisEnd end)
{
    if (analysis == BuildAnalysis::Tolerances) {
        m_toleranceRun.end();
    } else {
        m_trimRun.end();
    }
    bool &shown = m_analysisShown[std::size_t(analysis)];
    if (shown && m_checkView) {
        m_checkView->showAnalysisEnded(analysis, end, {});
    }
    shown = false;
}

void Session::endAnalyses(AnalysisEnd end)
{
    endAnalysis(BuildAnalysis::Tolerances, end);
    endAnalysis(BuildAnalysis::Trim, end);
}

ExportOutcome Session::exportTunedModel()
{
    if (!m_tuning || !m_tuning->tuned) {
        return ExportOutcome::Rejected;
    }
    // A copy: Save As is modal, and nothing the user does meanwhile may change what is written.
    const ModelInput tuned = *m_tuning->tuned;
    return saveAs(tuned);
}

ExportOutcome Session::saveAs(const ModelInput &model)
{
    const std::optional<QString> path = m_view.askSavePath(m_state.format);
    if (!path || path->isEmpty()) {
        return ExportOutcome::Cancelled;
    }
    const WriteResult written = saveModelFile(*path, m_state.format, model);
    if (!written.ok()) {
        m_view.showMessage(exportFailedMessage(*path, written.error()));
        return ExportOutcome::Failed;
    }
    m_view.showMessage(modelWrittenMessage(*path));
    return ExportOutcome::Written;
}

ExportOutcome Session::exportModel()
{
    if (calculate() == CalculateOutcome::Rejected) {
        return ExportOutcome::Rejected;
    }
    // A design is shown: the calculation has just shown one.
    const ModelInput model = *currentModel();
    m_state.wireTable = model.wires;
    return saveAs(model);
}

PrintOutcome Session::print()
{
    // The results are computed afresh; a rejected input leaves the last good results, and
    // the sheet shows them beside the input text as it stands.
    calculate();
    m_view.showSheet(true);
    PrintOutcome outcome = PrintOutcome::Cancelled;
    if (m_view.confirm(confirmPrintMessage())) {
        // A print that throws (out of memory for the page, a broken driver) must not skip
        // restoring the window; it counts as a failed print.
        try {
            outcome = m_view.printSheet();
        } catch (const std::exception &) {
            outcome = PrintOutcome::Failed;
        }
    }
    m_view.showSheet(false);

    // Told only once the window is whole again: a print that was asked for and did not
    // happen must not pass for one that did.
    if (outcome == PrintOutcome::NoPrinter) {
        m_view.showMessage(noPrinterMessage());
    } else if (outcome == PrintOutcome::Failed) {
        m_view.showMessage(printFailedMessage());
    }
    return outcome;
}

void Session::close()
{
    m_view.closeWindow();
}

} // namespace moxon
