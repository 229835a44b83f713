#include "session.h"

#include "checkrequest.h"
#include "installationsettings.h"
#include "modelfile.h"

#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>

namespace moxon {

Session::Session(DesignView &view, LocaleNumbers numbers)
    : m_view(view)
    , m_numbers(std::move(numbers))
    , m_installation(storedInstallation())
    , m_scheduler(std::make_shared<EngineScheduler>())
{
}

Session::~Session()
{
    // The worker of a tuning in flight sees the cancel and ends; its engines and working
    // folders go at once, so that nothing outlives the window.
    if (m_watcher) {
        m_watcher->disconnect();
        m_watcher->cancel();
        delete m_watcher;
    }
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
    return {unitText(m_state.displayUnits), unit.metresPerUnit, wavelength};
}

void Session::checkShownDesign()
{
    // A tuning of the design as it was no longer applies, whether or not the check is shown.
    endTuning(TuningEnd::Voided);
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
    endTuning(TuningEnd::Voided);
    const TuneSetup setup = moxon::tuneSetup(*model, m_state.shown->values,
                                             m_state.acceptedInputs.wireSize, m_installation);
    m_tuning = Tuning{goal, *model, setup, std::nullopt, std::nullopt};
    m_tuningRunning = true;

    // The tuning runs on a worker thread with an event loop of its own for its engine runs;
    // its progress and its result come back as results of the future, in this thread.
    auto *watcher = new QFutureWatcher<TuneReport>;
    m_watcher = watcher;
    QObject::connect(watcher, &QFutureWatcher<TuneReport>::resultReadyAt, watcher,
                     [this](int index) { tuningReported(index); });
    const std::shared_ptr<EngineScheduler> scheduler = m_scheduler;
    const CheckOptions options = m_engineOptions;
    watcher->setFuture(
        QtConcurrent::run([goal, setup, scheduler, options](QPromise<TuneReport> &promise) {
            const TuneResult result = tuneWithNec2c(
                goal, setup, *scheduler, options, [&promise] { return promise.isCanceled(); },
                [&promise](const TuneProgress &progress) {
                    promise.addResult(TuneReport(progress));
                    return !promise.isCanceled();
                });
            promise.addResult(TuneReport(result));
        }));
    if (m_checkView) {
        m_checkView->showTuningStarted();
    }
}

void Session::tuningReported(int index)
{
    if (!m_watcher || !m_tuningRunning) {
        return;
    }
    const TuneReport report = m_watcher->future().resultAt(index);
    if (const auto *progress = std::get_if<TuneProgress>(&report)) {
        if (m_checkView) {
            m_checkView->showTuningProgress(*progress);
        }
        return;
    }
    tuningFinished(std::get<TuneResult>(report));
}

void Session::tuningFinished(const TuneResult &result)
{
    m_tuningRunning = false;
    if (result.cancelled) {
        endTuning(TuningEnd::Cancelled);
        return;
    }
    if (!result.failure.isEmpty()) {
        m_tuning.reset();
        if (m_checkView) {
            m_checkView->showTuningEnded(TuningEnd::Failed, result.failure);
        }
        return;
    }
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
    if (m_tuningRunning) {
        endTuning(TuningEnd::Cancelled);
    }
}

void Session::endTuning(TuningEnd end)
{
    const bool told = m_tuning.has_value();
    if (m_watcher) {
        // Not waited for: the worker sees the cancel within one poll of its engine runs and
        // ends them; what it reports after this is no longer listened to.
        m_watcher->disconnect();
        m_watcher->cancel();
        // It may be the watcher reporting right now.
        m_watcher->deleteLater();
        m_watcher = nullptr;
    }
    m_tuningRunning = false;
    m_tuning.reset();
    if (told && m_checkView) {
        m_checkView->showTuningEnded(end, {});
    }
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
