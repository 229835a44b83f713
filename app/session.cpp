#include "session.h"

#include "checkrequest.h"
#include "modelfile.h"

#include <exception>

namespace moxon {

Session::Session(DesignView &view, LocaleNumbers numbers)
    : m_view(view)
    , m_numbers(std::move(numbers))
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
    return CalculateOutcome::Shown;
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
    return designCheckRequest(*model, m_state.acceptedInputs.wireSize, m_state.installation);
}

std::optional<TuneSetup> Session::tuneSetup() const
{
    const std::optional<ModelInput> model = currentModel();
    if (!model) {
        return std::nullopt;
    }
    return moxon::tuneSetup(*model, m_state.shown->values, m_state.acceptedInputs.wireSize,
                            m_state.installation);
}

ExportOutcome Session::exportTunedModel(const TuneDimensions &dims)
{
    const std::optional<ModelInput> model = currentModel();
    if (!model) {
        return ExportOutcome::Rejected;
    }
    return saveAs(withDimensions(*model, dims));
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
