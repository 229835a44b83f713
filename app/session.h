#pragma once

// Architecture: core/ reads and checks the design input, computes the dimensions and formats
// them for display; model/ turns a shown design into the six-wire model and writes it as an
// NEC-2 deck or a binary model file; analysis/ runs nec2c on a deck and reads what it says.
// app/ holds the session: the form's state and the commands (Calculate, the unit options,
// export, print) as direct calls that return typed outcomes, against the DesignView
// interface of intent-level operations, and the design check's request built from the design
// as accepted. ui/ is the Qt window implementing DesignView and the design-check window; cli/
// calls core, model, analysis and the check request directly. Only ui/ uses widgets.

#include "calculation.h"
#include "checkreport.h"
#include "tuner.h"
#include "designview.h"
#include "localenumbers.h"
#include "modelinput.h"

#include <optional>

namespace moxon {

enum class CalculateOutcome
{
    Shown,    // the results and unit labels show the new design
    Rejected, // the input was rejected with its message; results and labels are as they were
};

enum class ExportOutcome
{
    Written,
    Cancelled, // the user cancelled Save As: no file touched, nothing shown
    Rejected,  // the input was rejected: a model of the last design with it would be wrong
    Failed,    // the file could not be written; an existing one is as it was
};

// The window's form-level values, as long as the window lives.
struct FormState
{
    FormInputs inputs;
    DisplayUnit displayUnits = DisplayUnit::Inch; // DisplayUnits: the unit of the results
    ModelFormat format = ModelFormat::Eznec;
    bool vertical = false;
    bool xAxis = true;
    std::optional<ShownDesign> shown;    // what the result boxes show; none before the first
    std::optional<DesignInput> accepted; // the input that design was computed from
    FormInputs acceptedInputs;           // the form's texts as that calculation showed them
    WireTable wireTable{};               // all zero until the first export, rebuilt by each
    Installation installation;           // where the design check hangs the antenna
};

// One window's session: the commands and the form state they work on. The view reports what
// the user types and picks through the setters and runs the commands; the session tells the
// view what to show. A command that recalculates first calls calculate() itself, nested and
// to its end, with every message it gives.
class Session
{
public:
    Session(DesignView &view, LocaleNumbers numbers);

    // Before the window is first shown: the gauge unit, inches, one calculation.
    void formLoad();

    CalculateOutcome calculate();
    // Sets the display unit, then recalculates from the inputs; the shown numbers are never
    // converted. The unit stays set when the inputs are rejected.
    CalculateOutcome selectDisplayUnit(DisplayUnit unit);
    // Recalculates and, unless the inputs were rejected, writes the model to a chosen file.
    ExportOutcome exportModel();
    // Recalculates, shows the white design sheet, prints it on OK and restores the window.
    PrintOutcome print();
    void close();

    void setFrequencyText(const QString &text) { m_state.inputs.frequency = text; }
    void setWireSizeText(const QString &text) { m_state.inputs.wireSize = text; }
    void setWireUnit(WireUnit unit) { m_state.inputs.wireUnit = unit; }
    void setFormat(ModelFormat format) { m_state.format = format; }
    void setVertical(bool vertical) { m_state.vertical = vertical; }
    void setXAxis(bool xAxis) { m_state.xAxis = xAxis; }
    void setInstallation(const Installation &installation) { m_state.installation = installation; }

    [[nodiscard]] const FormState &state() const { return m_state; }
    [[nodiscard]] const LocaleNumbers &numbers() const { return m_numbers; }

    // The model an export would write at this moment; none before a design is shown.
    [[nodiscard]] std::optional<ModelInput> currentModel() const;
    // The design check of that model in the installation, named by the inputs it was
    // calculated from; none before a design is shown.
    [[nodiscard]] std::optional<CheckRequest> checkRequest() const;
    // Tuning of that design in that installation; none before a design is shown.
    [[nodiscard]] std::optional<TuneSetup> tuneSetup() const;
    // Writes the design with the tuned dimensions `dims` as the export writes a design, with
    // the same Save As and messages; the shown design and its export stay as they are.
    ExportOutcome exportTunedModel(const TuneDimensions &dims);

private:
    // Save As, then the model written whole or not at all, and what came of it told.
    ExportOutcome saveAs(const ModelInput &model);

    DesignView &m_view;
    LocaleNumbers m_numbers;
    FormState m_state;
};

} // namespace moxon
