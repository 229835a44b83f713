#include "session.h"

#include "checkrequest.h"
#include "installationsettings.h"
#include "modelfile.h"

#include <exception>

namespace moxon {

Session::Session(DesignView &view, LocaleNumbers numbers, std::shared_ptr<EngineScheduler> engines)
    : m_view(view)
    , m_numbers(std::move(numbers))
    , m_installation(storedInstallation())
    , m_analyses(std::move(engines))
{
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
    m_analyses.setView(view);
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
    const WireUnit wireUnit = m_state.accepted ? m_state.accepted->wire.unit : WireUnit::Millimetre;
    return {unitText(m_state.displayUnits),
            unit.metresPerUnit,
            wavelength,
            unit.cutStep,
            unit.cutStepText.toString(),
            thicknessUnitText(wireUnit),
            unitInfo(wireUnit).metresPerUnit};
}

void Session::checkShownDesign()
{
    // A tuning of the design as it was no longer applies, whether or not the check is shown;
    // nor do its tolerances or a trim.
    m_analyses.voidDesignAnalyses();
    if (!m_checkView || !m_checkView->isCheckShown()) {
        return; // nothing runs while the check window is closed
    }
    m_checkView->showInstallation(m_installation, lengthScale());
    if (const std::optional<CheckRequest> request = checkRequest()) {
        m_analyses.check(*request, CheckedDesign::Formula);
    }
}

void Session::setInstallation(const Installation &installation)
{
    if (installation == m_installation) {
        return;
    }
    // The feed line changes nothing of the antenna's model: what the radio sees is arithmetic
    // on the check's curve, which the view works out anew, and no engine runs. Only a trim,
    // whose measurement may have been turned back through the line, no longer applies.
    Installation antenna = installation;
    antenna.feedLine = m_installation.feedLine;
    const bool lineOnly = antenna == m_installation;
    m_installation = installation;
    storeInstallation(installation);
    if (lineOnly) {
        m_analyses.voidTrim();
        if (m_checkView) {
            m_checkView->showInstallation(m_installation, lengthScale());
        }
        return;
    }
    checkShownDesign();
}

void Session::startTuning(TuneGoal goal)
{
    const std::optional<ModelInput> model = currentModel();
    if (!model) {
        return;
    }
    m_analyses.startTuning(goal, *model,
                           moxon::tuneSetup(*model, m_state.shown->values,
                                            m_state.acceptedInputs.wireSize, m_installation));
}

std::optional<TuneSetup> Session::builtSetup() const
{
    const std::optional<Tuning> &tuning = m_analyses.tuning();
    if (tuning && tuning->tuned) {
        const TuneDimensions &tuned = tuning->result->tuned;
        return moxon::tuneSetup(*tuning->tuned,
                                Dimensions{tuned.a, tuned.b, tuned.c(), tuned.d, tuned.e},
                                m_state.acceptedInputs.wireSize, m_installation);
    }
    const std::optional<ModelInput> model = currentModel();
    if (!model) {
        return std::nullopt;
    }
    return moxon::tuneSetup(*model, m_state.shown->values, m_state.acceptedInputs.wireSize,
                            m_installation);
}

void Session::startTolerances(std::optional<double> cutError)
{
    if (const std::optional<TuneSetup> built = builtSetup()) {
        // A share of the width A as built, unless the builder said how exactly they cut.
        const double builtA = built->formula.a;
        m_analyses.startTolerances(*built, cutError.value_or(kDefaultCutErrorOfA * builtA));
    }
}

void Session::startTrim(const MeasuredAntenna &measured)
{
    if (const std::optional<TuneSetup> built = builtSetup()) {
        m_analyses.startTrim(*built, measured, m_state.accepted->frequencyMHz,
                             m_installation.feedLine);
    }
}

void Session::startDiagnosis(const MeasuredAntenna &measured)
{
    if (const std::optional<TuneSetup> built = builtSetup()) {
        m_analyses.startDiagnosis(*built, measured, m_state.accepted->frequencyMHz,
                                  m_installation.feedLine);
    }
}

ExportOutcome Session::exportTunedModel()
{
    const std::optional<Tuning> &tuning = m_analyses.tuning();
    if (!tuning || !tuning->tuned) {
        return ExportOutcome::Rejected;
    }
    // A copy: Save As is modal, and nothing the user does meanwhile may change what is written.
    const ModelInput tuned = *tuning->tuned;
    // Dimensions tuned for insulated wire resonate where they should only with the insulation:
    // the deck carries it, and the binary model file, which has no place for it, says so. A
    // change of the installation voids the tuning, so the one in force is the one it was for.
    return saveAs(tuned, m_installation.insulation);
}

ExportOutcome Session::saveAs(const ModelInput &model, const std::optional<Insulation> &insulation)
{
    const std::optional<QString> path = m_view.askSavePath(m_state.format);
    if (!path || path->isEmpty()) {
        return ExportOutcome::Cancelled;
    }
    const WriteResult written = saveModelFile(*path, m_state.format, model, insulation);
    if (!written.ok()) {
        m_view.showMessage(exportFailedMessage(*path, written.error()));
        return ExportOutcome::Failed;
    }
    m_view.showMessage(insulation
                           ? tunedModelWrittenMessage(*path, m_state.format, model, *insulation)
                           : modelWrittenMessage(*path));
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
    // Told only once the window is whole again.
    tellPrintOutcome(outcome);
    return outcome;
}

void Session::tellPrintOutcome(PrintOutcome outcome)
{
    // A print that was asked for and did not happen must not pass for one that did.
    if (outcome == PrintOutcome::NoPrinter) {
        m_view.showMessage(noPrinterMessage());
    } else if (outcome == PrintOutcome::Failed) {
        m_view.showMessage(printFailedMessage());
    }
}

std::optional<BuildSheet> Session::buildSheet(const SheetPredictions &predictions) const
{
    const std::optional<TuneSetup> built = builtSetup();
    if (!built) {
        return std::nullopt;
    }
    const std::optional<Tuning> &tuning = m_analyses.tuning();
    const bool tuned = tuning && tuning->tuned;
    const ModelInput model = tuned ? *tuning->tuned : *currentModel();
    BuildSheet sheet = moxon::buildSheet(model, m_state.acceptedInputs.wireSize, m_installation,
                                         built->formula, defaultAllowances(model.units));
    sheet.origin = tuned ? SheetDimensions::Tuned : SheetDimensions::Formula;
    setPredictions(sheet, predictions);
    return sheet;
}

PrintOutcome Session::printBuildSheet(const SheetPredictions &predictions)
{
    const std::optional<BuildSheet> sheet = buildSheet(predictions);
    PrintOutcome outcome = PrintOutcome::Failed;
    if (sheet) {
        // As the design sheet's: a print that throws counts as a failed one.
        try {
            outcome = m_view.printBuildSheet(*sheet);
        } catch (const std::exception &) {
            outcome = PrintOutcome::Failed;
        }
    }
    tellPrintOutcome(outcome);
    return outcome;
}

void Session::close()
{
    m_view.closeWindow();
}

} // namespace moxon
