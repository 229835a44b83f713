#pragma once

// Architecture: core/ reads and checks the design input, computes the dimensions and formats
// them for display; model/ turns a shown design into the six-wire model and writes it as an
// NEC-2 deck or a binary model file. engine/ runs nec2c, every run through one scheduler capped
// at the cores, and reads what it prints. measurement/ reads and writes what an analyser
// measured of the antenna and carries it along the feed line; analysis/ computes the check,
// the tuning, the tolerances and the trim from the engine's runs; report/ words their results
// for the window, the command line and scripts. Links run one way, in that order. app/ holds
// the session: the form's state and the installation, and the commands (Calculate, the unit
// options, export, print, the check and the analyses) as direct calls that return typed
// outcomes, against the DesignView and CheckView interfaces of intent-level operations. The
// session runs every analysis in the background, the design check included (SessionAnalyses:
// the one scheduler, the one check runner, the tuning, the tolerances and the trim), and tells
// the check view of each in one vocabulary: started, progress, result, ended. ui/ is the Qt
// window implementing DesignView and the check window implementing CheckView, the only folder
// with widgets; the views show what the session tells them and hold neither a runner nor a
// scheduler. cli/ calls core, model, measurement, analysis and report directly.

#include "calculation.h"
#include "checkview.h"
#include "designview.h"
#include "enginescheduler.h"
#include "localenumbers.h"
#include "modelinput.h"
#include "sessionanalyses.h"

#include <memory>
#include <optional>

namespace moxon {

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
};

// One window's session: the commands and the form state they work on. The view reports what
// the user types and picks through the setters and runs the commands; the session tells the
// view what to show. A command that recalculates first calls calculate() itself, nested and
// to its end, with every message it gives.
class Session : public CheckCommands
{
public:
    // The installation starts as the settings stored it. Every engine run of the session goes
    // through `engines`, the program's scheduler, which the session ends when it goes.
    Session(DesignView &view, LocaleNumbers numbers,
            std::shared_ptr<EngineScheduler> engines = std::make_shared<EngineScheduler>());

    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

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
    // The polarization and the axis change the model: a tuning of it is voided and the
    // design checked anew.
    void setVertical(bool vertical);
    void setXAxis(bool xAxis);

    [[nodiscard]] const FormState &state() const { return m_state; }
    [[nodiscard]] const LocaleNumbers &numbers() const { return m_numbers; }

    // The model an export would write at this moment; none before a design is shown.
    [[nodiscard]] std::optional<ModelInput> currentModel() const;
    // The design check of that model where the antenna hangs, named by the inputs it was
    // calculated from; none before a design is shown.
    [[nodiscard]] std::optional<CheckRequest> checkRequest() const;

    // The design check window, once it exists, which the session tells what to show; none once
    // it goes, which ends the check in flight.
    void setCheckView(CheckView *view);
    // Checks the shown design in the check window, when that is shown; a tuning is voided.
    void checkShownDesign();

    [[nodiscard]] const Installation &installation() const { return m_installation; }
    // The tuning in flight or done; none when there is none or it was voided.
    [[nodiscard]] const std::optional<Tuning> &tuning() const { return m_analyses.tuning(); }
    [[nodiscard]] bool isRunning(AnalysisKind kind) const { return m_analyses.isRunning(kind); }
    // The design the tolerances and a trim take as built: the tuned one once a tuning gave one,
    // else the formula's, where the antenna hangs; none before a design is shown.
    [[nodiscard]] std::optional<TuneSetup> builtSetup() const;
    // The build sheet of that design where the antenna hangs, its wire as the form gave it and
    // the allowances of the display unit, with `predictions`; none before a design is shown.
    [[nodiscard]] std::optional<BuildSheet>
    buildSheet(const SheetPredictions &predictions) const override;

    // CheckCommands
    void setInstallation(const Installation &installation) override;
    void setSweepMode(SweepMode mode) override;
    void startTuning(TuneGoal goal) override;
    ExportOutcome exportTunedModel() override;
    [[nodiscard]] QString shownDesignHeader() const override;
    void startTolerances(std::optional<double> cutError) override;
    void startTrim(const MeasuredAntenna &measured) override;
    void startDiagnosis(const MeasuredAntenna &measured) override;
    void cancelAnalysis(AnalysisKind kind) override { m_analyses.cancel(kind); }
    PrintOutcome printBuildSheet(const SheetPredictions &predictions) override;

private:
    // Save As, then the model written whole or not at all, and what came of it told; a model
    // tuned for insulated wire carries `insulation` where the format has a place for it.
    ExportOutcome saveAs(const ModelInput &model,
                         const std::optional<Insulation> &insulation = std::nullopt);
    [[nodiscard]] LengthScale lengthScale() const;
    // A print that was asked for and did not happen told to the user.
    void tellPrintOutcome(PrintOutcome outcome);

    DesignView &m_view;
    LocaleNumbers m_numbers;
    FormState m_state;
    Installation m_installation; // where the design check hangs the antenna
    SweepMode m_sweepMode = SweepMode::Fitted;
    CheckView *m_checkView = nullptr;
    SessionAnalyses m_analyses; // the check, the tuning, the tolerances and the trim
};

} // namespace moxon
