#pragma once

#include "designprobe.h"
#include "tuner.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace moxon {

// The limits a cut must keep the antenna within: the SWR at the design frequency, and the
// front-to-back there (at take-off over ground) no more than this far below the design's own.
inline constexpr double kToleranceSwr = 1.5;
inline constexpr double kToleranceFrontToBackDrop = 3; // dB
// Builds of the Monte Carlo, each with every cut off at random; a fixed seed makes the yield
// the same on every run and every machine.
inline constexpr int kToleranceBuilds = 10'000;
// The cut error by default: this share of A, either way.
inline constexpr double kDefaultCutErrorOfA = 0.002;

// The dimensions a builder cuts, each changed alone with the others held: E = B + C + D
// follows, so that changing A leaves E and changing B, C or D changes E by the same amount.
enum class CutDimension
{
    A,
    B,
    C,
    D,
};
inline constexpr std::array kCutDimensions = {CutDimension::A, CutDimension::B, CutDimension::C,
                                              CutDimension::D};

// `dims` with `dimension` changed by `change` (display unit), the others held.
[[nodiscard]] TuneDimensions withCut(TuneDimensions dims, CutDimension dimension, double change);

// What ends a tolerance.
enum class ToleranceLimit
{
    Swr,         // the SWR at the design frequency passes kToleranceSwr
    FrontToBack, // the front-to-back falls more than kToleranceFrontToBackDrop
    SearchEnd,   // neither within the search: 5 % of A, or nine tenths of the dimension shorter
    Design,      // the design itself is past a limit: it has no tolerance
};

struct DimensionTolerance
{
    CutDimension dimension = CutDimension::A;
    double dipKhzPerStep = 0;        // how far the SWR dip moves per step longer, kHz
    double frontToBackDbPerStep = 0; // how the front-to-back at the design frequency changes
    std::optional<double> minus;     // display unit: how much shorter keeps both limits
    std::optional<double> plus;      // and how much longer; none when the design is past one
    ToleranceLimit minusLimit = ToleranceLimit::SearchEnd;
    ToleranceLimit plusLimit = ToleranceLimit::SearchEnd;
};

// The tolerances, or how the analysis ended without them: nothing but the outcome is set then.
struct ToleranceResult : AnalysisOutcome
{
    TuneDimensions dimensions;                // analysed, display unit
    double frequencyMhz = 0;                  // the design frequency
    Installation installation;                // where the antenna hangs, what it is made of
    DesignFigures figures;                    // the engine's at the design frequency
    double dipMhz = 0;                        // where the model's SWR is lowest
    std::array<DimensionTolerance, 4> cuts{}; // A, B, C, D
    double step = 0;                          // the builder's step in the display unit: 0.01 for m
    QString stepUnit;                         // its name: "cm"
    double differenceStep = 0; // display unit: the central differences' step either way
    double cutError = 0;       // display unit: every cut of a build off by up to this
    int builds = 0;            // of the Monte Carlo
    double yield = 0;          // share of the builds within both limits, 0 to 1
    double dipSpreadKhz = 0;   // standard deviation of the builds' dip
};

// How exactly each cut of the design of `setup` (its `formula` dimensions, which may be any
// built or tuned ones, where it hangs) must be made: for each of A to D, central differences
// on the engine's dip and front-to-back over a step of 1/2000 wavelength; each tolerance
// estimated from them and the fitted SWR curve, then run on the engine and narrowed (regula
// falsi, bisection where it stalls) until a change within both limits and one past them lie
// within 5 % of each other; and the yield of builds with every cut off by up to `cutError`
// (display unit, 0 or more) together, from kToleranceBuilds builds on the differences. The
// rounds of runs go through `engine`; `progress` may stop it.
[[nodiscard]] ToleranceResult tolerances(const TuneSetup &setup, double cutError,
                                         const ProbeEngine &engine,
                                         const AnalysisProgressFn &progress = {});

// The same with nec2c, as the window and the command line run it: the runs queued in
// `scheduler` under `options`; `cancelled` is looked at while they run.
[[nodiscard]] ToleranceResult tolerancesWithNec2c(const TuneSetup &setup, double cutError,
                                                  EngineScheduler &scheduler,
                                                  const CheckOptions &options = {},
                                                  std::function<bool()> cancelled = {},
                                                  const AnalysisProgressFn &progress = {});

} // namespace moxon
