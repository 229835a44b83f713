#pragma once

#include "cable.h"
#include "designprobe.h"
#include "touchstone.h"
#include "trim.h"

#include <QList>

#include <functional>
#include <optional>

namespace moxon {

// The least frequencies of a measured file within the fitted range that a diagnosis takes:
// fewer leave the noise and the unknowns of its fit unknown, and only the dip can be read.
inline constexpr int kLeastDiagnosisPoints = 7;
// The fitted range: the file's frequencies within this share of the design frequency.
inline constexpr double kDiagnosisRangeShare = 0.1;

// Whether a file with readings at `frequenciesMhz` has too few within the range of
// `designMhz` to be diagnosed: only its dip can be read, and a trim takes the dip alone.
[[nodiscard]] bool onlyTheDip(const QList<double> &frequenciesMhz, double designMhz);

// A measured impedance curve as the diagnosis fits it.
struct DiagnosisMeasurement
{
    QList<TouchstonePoint> points; // as the analyser gave them, in increasing frequency
    // Where it was measured at the radio: the line between, at its nominal length. The
    // antenna's model is carried through it to the radio, where the readings were taken.
    std::optional<FeedLine> line;
    bool fitGap = false;  // the gap C an unknown of its own too
    bool trimGap = false; // the frame lets the trim change E, and so the gap, too
};

// One unknown of the fit with its 1-σ uncertainty; infinite where the measurement cannot tell
// it from the others.
struct Estimate
{
    double value = 0;
    double sigma = 0;
};

// The antenna as built, read from its measured impedance curve: which of its cuts is off and
// by how much, whether the model explains the measurement at all, and the trim of each piece.
// When the outcome failed nothing else is set.
struct DiagnosisResult : AnalysisOutcome
{
    TuneDimensions built;        // as the builder gave them, display unit
    double designMhz = 0;        // of the model
    double targetMhz = 0;        // where the dip is wanted
    int points = 0;              // the file's frequencies fitted, within the range
    double lowerMhz = 0;         // the fitted range's lowest of them
    double upperMhz = 0;         // and its highest
    int iterations = 0;          // damped Gauss-Newton steps taken
    Estimate scale{1, 0};        // how much longer the antenna behaves than its model, all over
    Estimate driverTailError;    // display unit, each driven-element tail; positive: too long
    Estimate reflectorTailError; // display unit, each reflector tail; positive: too long
    std::optional<Estimate> gapError;        // display unit, with fitGap; positive: too wide
    std::optional<Estimate> lineLengthError; // display unit, measured at the radio
    double residualOhm = 0;                  // RMS of the fit's misses, per real or imaginary part
    double noiseOhm = 0;                     // one reading's noise, from the file's own smoothness
    bool explained = false; // whether the residual lies within a few times the noise
    // The antenna as diagnosed, without the scale: the built dimensions with the errors.
    TuneDimensions diagnosed;
    bool measuredAtRadio = false; // whether the file was read at the radio, through the line
    // Where it was measured: the readings fitted, and the fitted model's curve over them.
    QList<SweepPoint> measuredCurve;
    QList<SweepPoint> fittedCurve;
    // When explained: the trim of the diagnosed antenna, cuts relative to it as it is.
    std::optional<TrimResult> trim;
    QString trimRefusal; // when explained and there is no trim: why
    // Where the frame was not said to let E change and the tails alone leave the front-to-back
    // below the rebuild's or the design's, or less than 3 dB above (kGapTrimSpareDb): the trim
    // that moves E too, for a frame whose corners can move along the spreaders, where it does
    // better than theirs; cuts relative to the antenna as it is.
    std::optional<TrimResult> gapTrim;
    // Where even the trim the diagnosis leads with (E's where given) leaves the front-to-back
    // below 30 dB and more than kFrameShortfallDb below the rebuild's or the design's: a new
    // frame, every dimension as given divided by the scale so that the antenna behaves as
    // their model, with its tails trimmed onto the target. Its field trim's antenna is the
    // whole antenna so made; offered only where it gets back more than kFrameShortfallDb.
    std::optional<TrimResult> newFrame;
    // Whether the file had too few readings in range to fit: nothing is fitted or explained
    // then, and `trim` is the trim from the file's dip alone.
    bool dipAlone = false;
};

// Fits the model of `setup`'s `formula` (the dimensions as built, where the setup hangs them)
// to `measurement`: the antenna's electrical scale, the driven element's and the reflector's
// tail errors (A and E as built, the gap taking up the difference) and, as asked, the gap's
// error and the feed line's electrical length, by damped Gauss-Newton (Levenberg-Marquardt) on
// the engine's runs. Each round runs one design and each pair of tails stepped from it, side
// by side; the Jacobian comes from those finite differences and, for the scale, from the run's
// curve stretched along frequency. When the fit explains the measurement, the trim of the
// diagnosed antenna to `targetMhz` follows on the same engine. `progress` may stop it.
// A measurement with fewer than kLeastDiagnosisPoints readings in range gives the trim from its
// dip alone instead (dipAlone), whose failure is the diagnosis's; without a dip it is refused.
[[nodiscard]] DiagnosisResult diagnose(const TuneSetup &setup,
                                       const DiagnosisMeasurement &measurement, double targetMhz,
                                       const ProbeEngine &engine,
                                       const AnalysisProgressFn &progress = {});

// The same with nec2c, as the window and the command line run it.
[[nodiscard]] DiagnosisResult
diagnoseWithNec2c(const TuneSetup &setup, const DiagnosisMeasurement &measurement, double targetMhz,
                  EngineScheduler &scheduler, const CheckOptions &options = {},
                  std::function<bool()> cancelled = {}, const AnalysisProgressFn &progress = {});

// dB: the front-to-back at the target of the trim a diagnosis leads with, E's where it came
// beside the tails'; none without a field trim.
[[nodiscard]] std::optional<double> ledFrontToBack(const DiagnosisResult &result);

} // namespace moxon
