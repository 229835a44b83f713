#pragma once

#include "designprobe.h"
#include "tuner.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace moxon {

// A measured dip may lie at most this share from the model's, and the target from the measured
// dip: further off, the antenna is not the one the dimensions describe (another band, another
// file), or the target is another antenna's, and no trim is advised.
inline constexpr double kMostTrimScaleError = 0.1;
// The field trim's dip is brought this close to the target, relative, by the engine's runs.
inline constexpr double kTrimDipAgreement = 2e-4;

// The antenna after a trim, as the model scaled to the measurement predicts it.
struct TrimmedAntenna
{
    TuneDimensions dimensions;  // as the builder makes them, display unit, to its decimals
    double predictedDipMhz = 0; // where its SWR will be lowest
    DesignFigures figures;      // at the target: SWR, and the front-to-back at take-off
    QList<SweepPoint> curve;    // predicted SWR curve over +-5 % of the target, for drawing
};

// The trim at the tips: each pair of tails changed equally, the gap C taking up their sum, A
// and E unchanged.
struct FieldTrim
{
    double drivenTailChange = 0;    // display unit, each driven-element tail; negative: a cut
    double reflectorTailChange = 0; // display unit, each reflector tail; negative: a cut
    TrimmedAntenna antenna;
    // From a dip alone: dB at the target, the front-to-back of the antenna as built with both
    // pairs of tails long enough to dip where measured, after the same changes of the tails.
    // The prediction (`antenna`) stays that of the antenna behaving longer all over.
    std::optional<double> longTailsFrontToBack;
    // Where the frame lets it change: display unit, how much deeper E is made, and so the gap C
    // wider with the tails as changed; 0 where the frame stays.
    double gapChange = 0;
};

// The trim, or how the analysis ended without one: nothing but the outcome is set then.
struct TrimResult : AnalysisOutcome
{
    TuneDimensions built;      // as the builder gave them, display unit
    double designMhz = 0;      // the design frequency of the model
    Installation installation; // where the antenna hangs, what it is made of
    double targetMhz = 0;      // where the dip is wanted
    double measuredDipMhz = 0; // where the antenna's SWR is lowest, as measured
    double modelDipMhz = 0;    // where the model of the built dimensions has it
    // How much longer the antenna behaves than its model: the model with every dimension
    // times the scale dips where the antenna was measured to.
    double scale = 1;
    DesignFigures modelFigures;   // the model of the built dimensions at the design frequency
    QList<SweepPoint> modelCurve; // its SWR curve over +-5 % of the design frequency
    std::optional<FieldTrim> fieldTrim;
    QString fieldTrimRefusal; // why there is none: the tails cannot bring the dip there
    // Whether the trim had the dip alone, which cannot tell an antenna that behaves longer all
    // over from one whose tails are long: the field trim is then chosen to hold for both.
    bool dipAlone = false;
    QString longTailsRefusal; // from a dip alone: why the long-tailed antenna was not tried
    // From a dip alone, display unit: how much longer than built each tail of both pairs is in
    // the long-tailed reading (negative: shorter); 0 where it was not tried.
    double longTails = 0;
    TrimmedAntenna rebuild; // every dimension anew for the target
    bool trimGap = false;   // whether the frame was let change E too
    // dB: the front-to-back the antenna was meant to have, its design's at the design
    // frequency, where the caller knows the design apart from the antenna as it is (the
    // diagnosis does). The field trim is held to it beside the rebuild's, and a search of E
    // too goes on further while it falls short of it.
    std::optional<double> designFrontToBack;
};

// `trim`, found for an antenna as it was meant, told of the antenna as it is (`asIs`, display
// unit, dipping at `dipMhz`, its model at `modelDipMhz`): each cut of the field trim then runs
// from the tails and E as they are, to `decimals`. The trimmed and rebuilt dimensions stay.
[[nodiscard]] TrimResult toldOf(TrimResult trim, const TuneDimensions &asIs, double dipMhz,
                                double modelDipMhz, int decimals);

// The field trim leaves the front-to-back this far below the rebuild's, dB, before the trim
// says that the frame itself holds it back.
inline constexpr double kFrameShortfallDb = 1;

// How far below the rebuild's, or the design's where that is known and higher, the field trim
// leaves the front-to-back at the target, dB, where that is more than kFrameShortfallDb and the
// frame was held: the tails alone cannot make up for a frame of the wrong size, which a trim of
// E too (TrimOptions::gap) or the rebuild can. None from a dip alone, which cannot tell the
// frame from the tails.
[[nodiscard]] std::optional<double> frameShortfall(const TrimResult &result);

// The front-to-back a trim is held to at the target, dB: the rebuild's (`rebuildDb`), or the
// design's where that is known and higher.
[[nodiscard]] double heldFrontToBack(double rebuildDb, const std::optional<double> &designDb);

// `dims` with the driven element's tails changed by `driven` and the reflector's by
// `reflector` (display unit), A and E held: C takes up their sum.
[[nodiscard]] TuneDimensions withTails(TuneDimensions dims, double driven, double reflector);

// What a trim is asked besides the dip and the target.
struct TrimOptions
{
    // Only the dip was measured: no curve that could tell an antenna that behaves longer all
    // over from one whose tails are long.
    bool dipAlone = false;
    // The frame lets E, and so the gap, change too: the tails' corner points can move along
    // the spreaders.
    bool gap = false;
    // dB: the design's front-to-back at its frequency, where the caller knows it
    // (TrimResult::designFrontToBack).
    std::optional<double> designFrontToBack = std::nullopt;
};

// How to bring an antenna built to the `formula` dimensions of `setup`, hanging where the
// setup hangs it, from its measured SWR dip at `measuredDipMhz` to `targetMhz`. The model's dip
// and the scale come from the engine; the field trim is found on the model scaled as the
// antenna behaves: the two tail changes that put its dip on the target, of those the one with
// the best front-to-back at the target, each checked with the engine; the rebuild scales every
// dimension by measured dip over target and is checked too. The rounds of runs go through
// `engine`; `progress` may stop it.
// Where the frame allows (`gap`), the field trim changes E too, which with the two pairs of
// tails can bring the field behind to a null at the target; from the dip alone it does not.
// With the dip alone (`dipAlone`: no curve that could tell the two apart), each candidate cut
// is run too on the antenna as built with both pairs of tails long enough to dip where
// measured, and the field trim is a cut whose worse front-to-back of the two is within half a
// dB of the best (of those, the nearest the scaled antenna's best), so that it holds whichever
// the antenna is; where those tails would leave too little gap, the choice is the scaled
// model's alone and `longTailsRefusal` says so.
[[nodiscard]] TrimResult trim(const TuneSetup &setup, double measuredDipMhz, double targetMhz,
                              const ProbeEngine &engine, const AnalysisProgressFn &progress = {},
                              TrimOptions asked = {});

// The same with nec2c, as the window and the command line run it: the runs queued in
// `scheduler` under `options`; `cancelled` is looked at while they run.
[[nodiscard]] TrimResult trimWithNec2c(const TuneSetup &setup, double measuredDipMhz,
                                       double targetMhz, EngineScheduler &scheduler,
                                       const CheckOptions &options = {},
                                       std::function<bool()> cancelled = {},
                                       const AnalysisProgressFn &progress = {},
                                       TrimOptions asked = {});

} // namespace moxon
