#pragma once

#include "checkreport.h"
#include "designview.h"
#include "tuner.h"

#include <QString>

namespace moxon {

// How the check window shows lengths: the main window's display unit and the design's
// wavelength, so that a height reads "10 m（0.47 λ）".
struct LengthScale
{
    QString unit = QStringLiteral("m");
    double metresPerUnit = 1;
    double wavelengthMetres = 0; // of the design frequency; 0 before a design is shown
};

// Which design a check shows: the formula's, or the tuned one drawn over the formula's.
enum class CheckedDesign
{
    Formula,
    Tuned,
};

// How a tuning ended without a design to show.
enum class TuningEnd
{
    Cancelled, // by the user, or by closing the window
    Voided,    // the design, an option or the installation changed: the tuning no longer applies
    Failed,    // the engine gave nothing to tune from; the message says why
};

// What the session asks of the design check window, in the user's terms, as DesignView is for
// the main window.
class CheckView
{
public:
    virtual ~CheckView() = default;

    // Nothing is checked while the window is closed.
    [[nodiscard]] virtual bool isCheckShown() const = 0;

    // The installation in force, its height in `scale`'s unit and in wavelengths.
    virtual void showInstallation(const Installation &installation, const LengthScale &scale) = 0;

    // Checks `request` in the background, superseding the check in flight. A refused request
    // shows its sentence and runs nothing.
    virtual void check(const CheckRequest &request, CheckedDesign design) = 0;

    virtual void showTuningStarted() = 0;
    virtual void showTuningProgress(const TuneProgress &progress) = 0;
    // The tuned design against the formula's; its check follows through check().
    virtual void showTuningResult(const TuneResult &result, const TuneSetup &setup) = 0;
    virtual void showTuningEnded(TuningEnd end, const QString &message) = 0;
};

// What the check window asks of the session: the user's intents.
class CheckCommands
{
public:
    virtual ~CheckCommands() = default;

    // The scheduler and the engine options every engine run of the session goes through.
    [[nodiscard]] virtual EngineScheduler &engineScheduler() = 0;
    [[nodiscard]] virtual const CheckOptions &engineOptions() const = 0;

    // Where the antenna hangs: stored, any tuning voided, the design checked anew.
    virtual void setInstallation(const Installation &installation) = 0;
    // How the check's SWR curve comes from the engine: stored, the design checked anew.
    virtual void setSweepMode(SweepMode mode) = 0;
    // Tunes the shown design where it hangs, in the background; a tuning in flight ends first.
    virtual void startTuning(TuneGoal goal) = 0;
    virtual void cancelTuning() = 0;
    // Writes exactly the model that was tuned, as the export writes a design.
    virtual ExportOutcome exportTunedModel() = 0;
    // The header of the shown design, as check() requests carry it, made anew in the language
    // in force; empty without a design.
    [[nodiscard]] virtual QString shownDesignHeader() const = 0;
};

} // namespace moxon
