#pragma once

#include "buildsheet.h"
#include "checkreport.h"
#include "designprobe.h"
#include "designview.h"
#include "diagnosis.h"
#include "tolerance.h"
#include "trim.h"
#include "tuner.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <variant>

namespace moxon {

// How the check window shows lengths: the main window's display unit and the design's
// wavelength, so that a height reads "10 m（0.47 λ）".
struct LengthScale
{
    QString unit = QStringLiteral("m");
    double metresPerUnit = 1;
    double wavelengthMetres = 0;           // of the design frequency; 0 before a design is shown
    double cutStep = 1;                    // the step a builder cuts by, in the unit: 0.01 for m
    QString cutUnit = QStringLiteral("m"); // its name: "cm"
    // The insulation's thickness is shown and typed in the unit of the wire size: "mm".
    QString thicknessUnit = QStringLiteral("mm");
    double thicknessMetresPerUnit = 0.001;
};

// Which design a check shows: the formula's, or the tuned one drawn over the formula's.
enum class CheckedDesign
{
    Formula,
    Tuned,
};

// The analyses the session runs in the background for the check window: the design check of
// the shown design, which follows every change while the window is shown; its tuning; and,
// of the design as built, the tolerances of its cuts, the trim from what was measured and the
// diagnosis of which cut is off from a measured impedance curve.
enum class AnalysisKind
{
    Check,
    Tuning,
    Tolerances,
    Trim,
    Diagnosis,
};

inline constexpr std::array kAnalysisKinds = {AnalysisKind::Check, AnalysisKind::Tuning,
                                              AnalysisKind::Tolerances, AnalysisKind::Trim,
                                              AnalysisKind::Diagnosis};

// How an analysis ended without a result to show.
enum class AnalysisEnd
{
    Cancelled, // by the user, or by closing the window
    Voided,    // the design, an option or the installation changed: the result no longer applies
    Failed,    // nothing came of it (the engine, the measurement); the message says why
};

// How far the design check has come, as the engine gives it: its figures and patterns (in free
// space once; over ground first from the run that finds the take-off angle, without the azimuth
// cut, then with it), or after each slice the engine's sweep points so far, in order of
// frequency.
using CheckProgress = std::variant<DesignFigures, QList<SweepPoint>>;

// What the builder measured, as the window passes it on.
struct MeasuredAntenna
{
    QString file;         // a one-port Touchstone file; empty: the dip was typed
    double dipMhz = 0;    // the measured SWR dip, without a file
    double targetMhz = 0; // where the dip is wanted; 0: the design frequency
    // The file was measured at the radio's end of the installation's feed line, and is turned
    // back to the feed point before anything uses it; else at the feed point itself.
    bool atRadio = false;
    // The frame lets the field trim move the tails' corner points, changing E and the gap.
    bool trimGap = false;
};

// The measurement as the session read it, before the trim runs.
struct Measurement
{
    QString source;          // the file's name; empty when the dip was typed
    double dipMhz = 0;       // where the measured SWR is lowest
    double dipSwr = 0;       // the SWR there on the 50-ohm line; 0 when typed
    double targetMhz = 0;    // where the dip is wanted
    QList<SweepPoint> curve; // the measured SWR on the 50-ohm line; empty when typed
    // Measured at the radio: the curve and its dip as the analyser read them there, before
    // they were turned back to the feed point, which `curve` and `dipMhz` are.
    bool atRadio = false;
    QList<SweepPoint> rawCurve{};
    std::optional<double> rawDipMhz{}; // none where the raw curve has no dip inside its range
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

    // The design the check is of, as its run starts or is refused: the request's header,
    // caution and refusal, and whether it is the tuned design.
    virtual void showCheckedDesign(const CheckRequest &request, CheckedDesign design) = 0;

    // Every analysis is told alike: started, then its progress, then either its result or how
    // it ended without one. Only the latest run of each kind is told: a run that a newer one
    // superseded, or that was cancelled or voided, tells nothing more.
    virtual void showAnalysisStarted(AnalysisKind kind) = 0;
    virtual void showAnalysisProgress(const CheckProgress &progress) = 0;
    virtual void showAnalysisProgress(const TuneProgress &progress) = 0;
    // The tolerances' or the trim's rounds.
    virtual void showAnalysisProgress(AnalysisKind kind, const AnalysisProgress &progress) = 0;
    // What was measured, as soon as it is read; the trim runs on.
    virtual void showMeasurement(const Measurement &measurement) = 0;
    // The check's result: its whole SWR curve and bandwidth, after the figures.
    virtual void showAnalysisResult(const SweepOutcome &sweep) = 0;
    // The tuned design against the formula's; its check follows.
    virtual void showAnalysisResult(const TuneResult &result, const TuneSetup &setup) = 0;
    virtual void showAnalysisResult(const ToleranceResult &result, const TuneSetup &setup) = 0;
    virtual void showAnalysisResult(const TrimResult &result, const TuneSetup &setup) = 0;
    // The diagnosis, whose curves are where the file was measured.
    virtual void showAnalysisResult(const DiagnosisResult &result, const TuneSetup &setup) = 0;
    virtual void showAnalysisEnded(AnalysisKind kind, AnalysisEnd end, const QString &message) = 0;
};

// What the check window asks of the session: the user's intents.
class CheckCommands
{
public:
    virtual ~CheckCommands() = default;

    // Where the antenna hangs: stored, any tuning voided, the design checked anew.
    virtual void setInstallation(const Installation &installation) = 0;
    // How the check's SWR curve comes from the engine: stored, the design checked anew.
    virtual void setSweepMode(SweepMode mode) = 0;
    // Tunes the shown design where it hangs, in the background; a tuning in flight ends first.
    virtual void startTuning(TuneGoal goal) = 0;
    // Writes exactly the model that was tuned, as the export writes a design.
    virtual ExportOutcome exportTunedModel() = 0;
    // The tolerances of the cuts of the shown design (the tuned one once there is one), with
    // every cut of a build off by up to `cutError` (display unit) for the yield; none: the
    // default share of A. In the background; the same analysis in flight ends first.
    virtual void startTolerances(std::optional<double> cutError) = 0;
    // The trim of the shown design as built, from what was measured of it: a file is read
    // first, and one that cannot be taken is refused with its sentence before anything runs.
    virtual void startTrim(const MeasuredAntenna &measured) = 0;
    // The diagnosis of the shown design as built from the measured file's impedance curve
    // (the dip and the target's file as the trim takes it); in the background, superseding a
    // trim or diagnosis in flight, which share where they are shown.
    virtual void startDiagnosis(const MeasuredAntenna &measured) = 0;
    // Ends the analysis in flight, if any: the check window is told it was cancelled.
    virtual void cancelAnalysis(AnalysisKind kind) = 0;
    // The build sheet of the shown design (the tuned one once there is one) where it hangs,
    // with what the window computed of it, on the default printer as one page: what came of
    // it, a missing printer or a failed print told to the user as the design sheet's are.
    virtual PrintOutcome printBuildSheet(const SheetPredictions &predictions) = 0;
    // That sheet, for the window to write as a file; none before a design is shown.
    [[nodiscard]] virtual std::optional<BuildSheet>
    buildSheet(const SheetPredictions &predictions) const = 0;
    // The header of the shown design, as check() requests carry it, made anew in the language
    // in force; empty without a design.
    [[nodiscard]] virtual QString shownDesignHeader() const = 0;
};

} // namespace moxon
