#include "tolerance.h"

#include "analysisrounds.h"
#include "impedancecurve.h"
#include "sweepplan.h"
#include "units.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <random>

namespace moxon {

namespace {

// The central differences' step, in wavelengths: about a centimetre on 20 m, where a dip
// moves some 20 kHz and the front-to-back a few tenths of a dB, far above the engine's five
// printed digits, and a tenth of a per cent of the antenna, where both are still straight.
constexpr double kDifferenceWavelengths = 5e-4;
// The impedance runs near the dip lie this share of it either side: half a step of the sweep,
// about as far as a difference step moves the dip on any band (the dip moves with the
// antenna's size in wavelengths), so that the correction of each changed design interpolates.
constexpr double kSampleShare = kSweepStep / 2;
// A tolerance is searched up to this share of A longer or shorter, and never past nine tenths
// of the dimension shorter.
constexpr double kSearchShareOfA = 0.05;
constexpr double kShortestShare = 0.9;
// A tolerance is known when the engine has a change within both limits and one past them this
// close together, relative to the tolerance (or the display's last decimal, if coarser).
constexpr double kToleranceAccuracy = 0.05;
constexpr int kMostCentreRounds = 2; // impedance runs around the dip, moved if it moved
constexpr int kMostBoundRounds = 6;  // figures runs narrowing the tolerances
constexpr int kSearchGrid = 400;     // steps of the estimated limits' scan
constexpr std::uint64_t kSeed = 0x4d6f786f6e2d3235ULL;

double lowEdge(double f0Mhz)
{
    return sweepFrequency(f0Mhz, 0);
}

double highEdge(double f0Mhz)
{
    return sweepFrequency(f0Mhz, kSweepPoints - 1);
}

// What changing one dimension is estimated to do, between the engine's runs: the SWR at the
// design frequency read on the design's curve moved by the dip's shift, with the change of
// level the differences show beside it, and the front-to-back from the back lobe's power
// changing as a field that is linear in the change.
struct Estimate
{
    const ImpedanceCurve *curve = nullptr; // the design's
    double f0Mhz = 0;
    double dipSlope = 0; // MHz per display unit of change
    // Ohms per display unit: how the impedance at the design frequency changes beyond what
    // moving the curve by the dip's shift explains (a change of level, as the tails make).
    std::complex<double> residualSlope;
    // The back lobe's power over the forward lobe's, as q0 |1 + k x|^2 in the change x: a
    // field that changes linearly with the dimension. Re k from the central difference, |k|^2
    // from the second difference, never less than (Re k)^2 (a perfect null at most), since the
    // engine's hundredths of a dB hide a shallow curvature.
    double kappaReal = 0;    // per display unit
    double kappaSquared = 0; // per display unit squared
    double frontToBack = 0;  // the design's, dB

    [[nodiscard]] double swrAt(double x) const
    {
        const std::complex<double> z = curve->impedance(f0Mhz - dipSlope * x) + residualSlope * x;
        return standingWaveRatio({z.real(), z.imag()}, kLineImpedance);
    }
    // dB, less the design's
    [[nodiscard]] double frontToBackChange(double x) const
    {
        const double ratio = 1 + 2 * kappaReal * x + kappaSquared * x * x;
        return -10 * std::log10(std::max(ratio, 1e-12));
    }
};

// Margins to the limits: how far the SWR lies below kToleranceSwr and the front-to-back above
// the design's less kToleranceFrontToBackDrop. Within both limits where neither is negative.
using Margins = std::array<double, 2>;
constexpr std::size_t kSwrMargin = 0;
constexpr std::size_t kFrontToBackMargin = 1;

Margins marginsOf(double swr, double frontToBack, double designFrontToBack)
{
    return {kToleranceSwr - swr, frontToBack - (designFrontToBack - kToleranceFrontToBackDrop)};
}

bool within(const Margins &margins)
{
    return margins[kSwrMargin] >= 0 && margins[kFrontToBackMargin] >= 0;
}

// One way of one dimension: where the engine ran it, and its tolerance once known. Until
// the engine has run a change past a limit, the next run goes a little past where the
// estimate, corrected through every run so far, crosses one; then the runs close in on the
// crossing by regula falsi on the engine's own margins (the Illinois variant, which halves
// the weight of an end that stays, so that the bracket shrinks from both sides).
class Bound
{
public:
    Bound(CutDimension dimension, double sign, double searchEnd, double resolution,
          const Estimate &estimate)
        : m_dimension(dimension)
        , m_sign(sign)
        , m_searchEnd(searchEnd)
        , m_resolution(resolution)
        , m_estimate(estimate)
    {
    }

    [[nodiscard]] CutDimension dimension() const { return m_dimension; }
    [[nodiscard]] double sign() const { return m_sign; }
    [[nodiscard]] bool known() const { return m_known; }
    [[nodiscard]] double tolerance() const { return m_tolerance; }
    [[nodiscard]] ToleranceLimit limit() const { return m_limit; }

    // The engine's figures at `change` (display unit, this way).
    void add(double change, const DesignFigures &figures)
    {
        const Margins engine = marginsOf(figures.swr, figures.frontToBack, m_estimate.frontToBack);
        const auto [inside, outside] = bracket();
        if (outside) {
            const bool movedInside = within(engine);
            m_keptOutside = movedInside ? m_keptOutside + 1 : 0;
            m_keptInside = movedInside ? 0 : m_keptInside + 1;
        }
        m_runs.append({change, engine, uncorrected(change)});
        std::sort(m_runs.begin(), m_runs.end(),
                  [](const Run &x, const Run &y) { return x.change < y.change; });
    }

    // The change to run next, or none once the tolerance is known.
    [[nodiscard]] std::optional<double> next()
    {
        const auto [inside, outside] = bracket();
        if (!outside) {
            if (inside >= m_searchEnd) {
                settle(m_searchEnd, ToleranceLimit::SearchEnd);
                return std::nullopt;
            }
            const double estimated = estimatedCrossing(inside);
            return std::min(m_searchEnd, std::max(1.1 * estimated, 1.5 * inside));
        }
        const auto [crossing, limit] = interpolated(inside, *outside);
        if (*outside - inside <= std::max(kToleranceAccuracy * inside, m_resolution) ||
            nearLimit(inside) || nearLimit(*outside)) {
            settle(crossing, limit);
            return std::nullopt;
        }
        return crossing;
    }

    // Out of rounds: the crossing within what the engine found, or the longest change it
    // found within both limits.
    void settle()
    {
        const auto [inside, outside] = bracket();
        if (outside) {
            const auto [crossing, limit] = interpolated(inside, *outside);
            settle(crossing, limit);
        } else {
            settle(inside, ToleranceLimit::SearchEnd);
        }
    }

private:
    struct Run
    {
        double change = 0;
        Margins engine{};
        Margins estimated{}; // the uncorrected estimate's, where it ran
    };

    [[nodiscard]] const Run &runAt(double change) const
    {
        return *std::find_if(m_runs.cbegin(), m_runs.cend(),
                             [change](const Run &run) { return run.change == change; });
    }

    [[nodiscard]] Margins uncorrected(double change) const
    {
        const double x = m_sign * change;
        return marginsOf(m_estimate.swrAt(x),
                         m_estimate.frontToBack + m_estimate.frontToBackChange(x),
                         m_estimate.frontToBack);
    }

    // Beyond the runs, the estimate moved by what it missed at the longest of them.
    [[nodiscard]] Margins corrected(double change) const
    {
        const Run &last = m_runs.last();
        Margins result = uncorrected(change);
        for (std::size_t j = 0; j < 2; ++j) {
            result[j] += last.engine[j] - last.estimated[j];
        }
        return result;
    }

    [[nodiscard]] double estimatedCrossing(double from) const
    {
        const double grid = (m_searchEnd - from) / kSearchGrid;
        for (int g = 1; g <= kSearchGrid; ++g) {
            if (within(corrected(from + g * grid))) {
                continue;
            }
            double a = from + (g - 1) * grid;
            double b = from + g * grid;
            while (b - a > 1e-4 * grid) {
                const double m = (a + b) / 2;
                (within(corrected(m)) ? a : b) = m;
            }
            return (a + b) / 2;
        }
        return m_searchEnd;
    }

    // The first crossing between a run within both limits and one past a limit, on straight
    // lines through the engine's margins: the Illinois weights on an end kept twice or more.
    [[nodiscard]] std::pair<double, ToleranceLimit> interpolated(double inside,
                                                                 double outside) const
    {
        const Margins &in = runAt(inside).engine;
        const Margins &out = runAt(outside).engine;
        const double inWeight = m_keptInside >= 2 ? std::pow(0.5, m_keptInside - 1) : 1;
        const double outWeight = m_keptOutside >= 2 ? std::pow(0.5, m_keptOutside - 1) : 1;
        std::pair<double, ToleranceLimit> first{outside, ToleranceLimit::SearchEnd};
        for (std::size_t j = 0; j < 2; ++j) {
            if (out[j] >= 0) {
                continue;
            }
            const double a = inWeight * in[j];
            const double b = outWeight * out[j];
            const double t = inside + (outside - inside) * a / (a - b);
            if (t <= first.first) {
                first = {t, j == kSwrMargin ? ToleranceLimit::Swr : ToleranceLimit::FrontToBack};
            }
        }
        return first;
    }

    // A run this close to a limit is where the tolerance ends: closer than the engine's
    // figures are worth (its front-to-back is printed to a hundredth of a dB).
    [[nodiscard]] bool nearLimit(double change) const
    {
        const Margins &margins = runAt(change).engine;
        return std::fabs(margins[kSwrMargin]) <= 0.005 ||
               std::fabs(margins[kFrontToBackMargin]) <= 0.05;
    }

    // The longest change the engine found within both limits with every run before it
    // within them too, and the first run past a limit after it.
    [[nodiscard]] std::pair<double, std::optional<double>> bracket() const
    {
        double inside = 0;
        for (const Run &run : m_runs) {
            if (!within(run.engine)) {
                return {inside, run.change};
            }
            inside = run.change;
        }
        return {inside, std::nullopt};
    }

    void settle(double tolerance, ToleranceLimit limit)
    {
        m_tolerance = tolerance;
        m_limit = limit;
        m_known = true;
    }

    CutDimension m_dimension;
    double m_sign;
    double m_searchEnd;  // display unit
    double m_resolution; // display unit: the display's last decimal
    Estimate m_estimate;
    QList<Run> m_runs;    // ascending in change
    int m_keptInside = 0; // rounds the bracket's inside end stayed
    int m_keptOutside = 0;
    double m_tolerance = 0;
    ToleranceLimit m_limit = ToleranceLimit::SearchEnd;
    bool m_known = false;
};

} // namespace

TuneDimensions withCut(TuneDimensions dims, CutDimension dimension, double change)
{
    switch (dimension) {
    case CutDimension::A:
        dims.a += change;
        break;
    case CutDimension::B:
        dims.b += change;
        dims.e += change;
        break;
    case CutDimension::C:
        dims.e += change;
        break;
    case CutDimension::D:
        dims.d += change;
        dims.e += change;
        break;
    }
    return dims;
}

ToleranceResult tolerances(const TuneSetup &setup, double cutError, const ProbeEngine &engine,
                           const AnalysisProgressFn &progress)
{
    QElapsedTimer clock;
    clock.start();
    const TuneDimensions &dims = setup.formula;
    const CheckRequest design = setup.requestFor(dims);
    const double f0 = design.frequencyMhz;
    const DisplayUnitInfo &unit =
        unitInfo(displayUnitFromText(setup.unit).value_or(DisplayUnit::Metre));
    ToleranceResult result;
    result.dimensions = dims;
    result.frequencyMhz = f0;
    result.installation = design.installation;
    result.step = unit.cutStep;
    result.stepUnit = unit.cutStepText.toString();
    result.cutError = cutError;
    const double h = kDifferenceWavelengths * freeSpaceWavelength(f0) / setup.metresPerUnit;
    result.differenceStep = h;

    AnalysisRounds rounds(engine, progress, 1 + kMostCentreRounds + kMostBoundRounds);
    const auto finish = [&] {
        return rounds.finished(result, clock);
    };

    if (!(cutError >= 0) || !std::isfinite(cutError)) {
        rounds.fail(AnalysisFault::BadInput,
                    QStringLiteral("The cut error must be a length of 0 or more."));
        return finish();
    }

    // The design with every change of the differences: its figures, and its impedance over
    // the sweep's band at the points the first fit needs.
    QList<DesignProbe> designs;
    DesignProbe nominal{dims, f0, {}};
    for (const int index : {0, 6, kSweepPoints - 7, kSweepPoints - 1}) {
        nominal.frequenciesMhz.append(sweepFrequency(f0, index));
    }
    designs.append(nominal);
    for (const CutDimension dimension : kCutDimensions) {
        for (const double sign : {-1.0, 1.0}) {
            designs.append({withCut(dims, dimension, sign * h), f0, {}});
        }
    }
    const std::optional<QList<ProbeAnswer>> answered = rounds.run(designs);
    if (!answered) {
        return finish();
    }
    result.figures = *answered->at(0).figures;
    QList<SweepPoint> wide = answered->at(0).points;
    wide.append(sweepPoint(f0, result.figures.feed));
    // Five samples over the band: an interpolating fit, far apart enough that the small steps
    // of the engine's ground model between nearby frequencies do not bend it.
    const std::optional<ImpedanceCurve> base = rounds.fitted(wide, lowEdge(f0), highEdge(f0));
    const std::optional<double> firstDip =
        base ? base->dip(lowEdge(f0), highEdge(f0)) : std::nullopt;
    if (!firstDip) {
        rounds.fail(AnalysisFault::NoDip, AnalysisRounds::noDip(lowEdge(f0), highEdge(f0)));
        return finish();
    }

    // Every design, the design itself first, run either side of the dip: each one's curve is
    // the fit corrected through its own runs and its impedance at the design frequency.
    QList<std::optional<ImpedanceCurve>> curves(designs.size());
    QList<double> dips(designs.size());
    double centre = *firstDip;
    for (int round = 0; round < kMostCentreRounds; ++round) {
        const double step = kSampleShare * centre;
        // The design itself either side of the dip; each changed design once, at the dip or,
        // when the design frequency lies close to it, beside it: with its impedance at the
        // design frequency that is a straight correction across the dip.
        const double beside =
            std::fabs(f0 - centre) >= 2 * step ? centre : centre + (f0 >= centre ? -2 : 2) * step;
        QList<DesignProbe> around{{dims, std::nullopt, {centre - step, centre + step}}};
        for (qsizetype k = 1; k < designs.size(); ++k) {
            around.append({designs.at(k).dims, std::nullopt, {beside}});
        }
        const std::optional<QList<ProbeAnswer>> runs = rounds.run(around);
        if (!runs) {
            return finish();
        }
        for (qsizetype k = 0; k < runs->size(); ++k) {
            QList<SweepPoint> near = runs->at(k).points;
            // The design frequency's impedance from the figures run, unless it would crowd a
            // run's own frequency and amplify its rounding in the correction.
            const bool apart =
                std::all_of(near.cbegin(), near.cend(), [&](const SweepPoint &point) {
                    return std::fabs(point.frequencyMhz - f0) >= step / 2;
                });
            if (apart) {
                near.append(sweepPoint(f0, answered->at(k).figures->feed));
            }
            curves[k] = ImpedanceCurve(base->base(), 1, near);
            const std::optional<double> dip = curves.at(k)->dip(lowEdge(f0), highEdge(f0));
            if (!dip) {
                rounds.fail(AnalysisFault::NoDip, AnalysisRounds::noDip(lowEdge(f0), highEdge(f0)));
                return finish();
            }
            dips[k] = *dip;
        }
        // Runs that missed the dip by more than half their spacing are run again around it.
        if (std::fabs(dips.first() - centre) <= step / 2) {
            break;
        }
        centre = dips.first();
    }
    result.dipMhz = dips.first();
    const ImpedanceCurve &curve = *curves.first();

    // Central differences of the dip and of the front-to-back, and the estimates from them.
    std::array<double, 4> dipSlope{}; // MHz per display unit
    std::array<Estimate, 4> estimates{};
    QList<Bound> bounds;
    const double resolution = std::pow(10.0, -setup.decimals);
    const double designFrontToBack = result.figures.frontToBack;
    const auto impedanceOf = [](const DesignFigures &figures) {
        return std::complex<double>(figures.feed.resistance, figures.feed.reactance);
    };
    const auto backOverFront = [](const DesignFigures &figures) {
        return std::pow(10.0, -figures.frontToBack / 10);
    };
    for (std::size_t i = 0; i < kCutDimensions.size(); ++i) {
        const DesignFigures &shorter = *answered->at(qsizetype(2 * i + 1)).figures;
        const DesignFigures &longer = *answered->at(qsizetype(2 * i + 2)).figures;
        dipSlope[i] = (dips.at(qsizetype(2 * i + 2)) - dips.at(qsizetype(2 * i + 1))) / (2 * h);
        const double fbSlope = (longer.frontToBack - shorter.frontToBack) / (2 * h);
        const double q0 = backOverFront(result.figures);
        const double qPlus = backOverFront(longer);
        const double qMinus = backOverFront(shorter);
        const double kappaReal = (qPlus - qMinus) / (4 * h * q0);
        const double kappaSquared =
            std::max((qPlus - 2 * q0 + qMinus) / (2 * q0 * h * h), kappaReal * kappaReal);
        const std::complex<double> plusResidual =
            impedanceOf(longer) - curve.impedance(f0 - dipSlope[i] * h);
        const std::complex<double> minusResidual =
            impedanceOf(shorter) - curve.impedance(f0 + dipSlope[i] * h);
        estimates[i] = {
            &curve,    f0,           dipSlope[i],      (plusResidual - minusResidual) / (2 * h),
            kappaReal, kappaSquared, designFrontToBack};
        DimensionTolerance &cut = result.cuts[i];
        cut.dimension = kCutDimensions[i];
        cut.dipKhzPerStep = dipSlope[i] * 1000 * unit.cutStep;
        cut.frontToBackDbPerStep = fbSlope * unit.cutStep;

        const std::array<double, 4> lengths = {dims.a, dims.b, dims.c(), dims.d};
        for (const double sign : {-1.0, 1.0}) {
            const double searchEnd =
                sign < 0 ? std::min(kSearchShareOfA * dims.a, kShortestShare * lengths[i])
                         : kSearchShareOfA * dims.a;
            Bound bound(kCutDimensions[i], sign, searchEnd, resolution, estimates[i]);
            bound.add(0, result.figures);
            bound.add(h, sign < 0 ? shorter : longer);
            bounds.append(bound);
        }
    }

    // Each tolerance: the engine run where the estimate crosses a limit, until a change
    // within both limits and one past them lie close together.
    const bool designWithin =
        within(marginsOf(result.figures.swr, designFrontToBack, designFrontToBack));
    for (int round = 0; designWithin && round < kMostBoundRounds; ++round) {
        QList<DesignProbe> probes;
        QList<std::pair<qsizetype, double>> asked; // bound, change
        for (qsizetype k = 0; k < bounds.size(); ++k) {
            if (bounds.at(k).known()) {
                continue;
            }
            if (const std::optional<double> change = bounds[k].next()) {
                const Bound &bound = bounds.at(k);
                probes.append({withCut(dims, bound.dimension(), bound.sign() * *change), f0, {}});
                asked.append({k, *change});
            }
        }
        if (probes.isEmpty()) {
            break;
        }
        const std::optional<QList<ProbeAnswer>> runs = rounds.run(probes);
        if (!runs) {
            return finish();
        }
        for (qsizetype k = 0; k < asked.size(); ++k) {
            bounds[asked.at(k).first].add(asked.at(k).second, *runs->at(k).figures);
        }
    }
    for (Bound &bound : bounds) {
        // The last round's runs may have settled it; else the rounds ran out.
        if (designWithin && !bound.known() && bound.next()) {
            bound.settle();
        }
        DimensionTolerance &cut = result.cuts[std::size_t(bound.dimension())];
        const std::optional<double> tolerance =
            designWithin ? std::optional<double>(bound.tolerance()) : std::nullopt;
        const ToleranceLimit limit = designWithin ? bound.limit() : ToleranceLimit::Design;
        if (bound.sign() < 0) {
            cut.minus = tolerance;
            cut.minusLimit = limit;
        } else {
            cut.plus = tolerance;
            cut.plusLimit = limit;
        }
    }

    // The builds: every cut off by up to the cut error, uniformly, together. The dip moves by
    // the sum of the differences; the SWR at the design frequency is read on the design's
    // curve moved with it, with each cut's change of level; the front-to-back changes by the
    // sum of each cut's change on its own.
    std::mt19937_64 random(kSeed);
    const auto uniform = [&random] {
        return double(random() >> 11) * 0x1.0p-53;
    };
    int kept = 0;
    double mean = 0;
    double squares = 0;
    for (int build = 0; build < kToleranceBuilds; ++build) {
        double shift = 0;
        std::complex<double> level = 0;
        double frontToBack = designFrontToBack;
        for (std::size_t i = 0; i < kCutDimensions.size(); ++i) {
            const double error = cutError * (2 * uniform() - 1);
            shift += dipSlope[i] * error;
            level += estimates[i].residualSlope * error;
            frontToBack += estimates[i].frontToBackChange(error);
        }
        const std::complex<double> z = curve.impedance(f0 - shift) + level;
        if (within(marginsOf(standingWaveRatio({z.real(), z.imag()}, kLineImpedance), frontToBack,
                             designFrontToBack))) {
            ++kept;
        }
        // Welford's running variance.
        const double delta = shift - mean;
        mean += delta / (build + 1);
        squares += delta * (shift - mean);
    }
    result.builds = kToleranceBuilds;
    result.yield = double(kept) / kToleranceBuilds;
    result.dipSpreadKhz = std::sqrt(squares / kToleranceBuilds) * 1000;
    return finish();
}

ToleranceResult tolerancesWithNec2c(const TuneSetup &setup, double cutError,
                                    EngineScheduler &scheduler, const CheckOptions &options,
                                    std::function<bool()> cancelled,
                                    const AnalysisProgressFn &progress)
{
    return tolerances(setup, cutError,
                      nec2cProbeEngine(setup.requestFor, scheduler, options, std::move(cancelled)),
                      progress);
}

} // namespace moxon
