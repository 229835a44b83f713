#include "tolerance.h"

#include "analysisrounds.h"
#include "impedancecurve.h"
#include "sweepplan.h"
#include "tolerancebound.h"
#include "units.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>

namespace moxon {

using tolerance::Bound;
using tolerance::Estimate;

namespace {

// The central differences' step, in wavelengths: about a centimetre on 20 m, where a dip
// moves some 20 kHz and the front-to-back a few tenths of a dB, far above the engine's five
// printed digits, and a tenth of a per cent of the antenna, where both are still straight.
constexpr double kDifferenceWavelengths = 5e-4;
// A tolerance is searched up to this share of A longer or shorter, and never past nine tenths
// of the dimension shorter.
constexpr double kSearchShareOfA = 0.05;
constexpr double kShortestShare = 0.9;
constexpr int kMostCentreRounds = 2; // impedance runs around the dip, moved if it moved
constexpr int kMostBoundRounds = 6;  // figures runs narrowing the tolerances
constexpr std::uint64_t kSeed = 0x4d6f786f6e2d3235ULL;

// One analysis of the tolerances, in the order its rounds run: the central differences, the
// runs around the dip, the estimates and the bounds they start, the rounds narrowing the
// bounds, and the builds. A step that returns false ended the analysis, cancelled or failed,
// as its rounds say.
class ToleranceRun
{
public:
    ToleranceRun(const TuneSetup &setup, double cutError, const ProbeEngine &engine,
                 const AnalysisProgressFn &progress);

    [[nodiscard]] ToleranceResult result();

private:
    [[nodiscard]] bool differences();
    [[nodiscard]] bool centreOnDip();
    void estimate();
    [[nodiscard]] bool narrowBounds();
    void settleBounds();
    void build();
    [[nodiscard]] bool designWithinLimits() const;

    const TuneSetup &m_setup;
    const TuneDimensions &m_dims;
    double m_f0 = 0;     // MHz
    double m_h = 0;      // the differences' step, display unit
    double m_centre = 0; // MHz: where the runs around the dip are centred
    const DisplayUnitInfo &m_unit;
    AnalysisRounds m_rounds;
    ToleranceResult m_result;
    QList<DesignProbe> m_designs;  // the design, then each dimension shorter and longer
    QList<ProbeAnswer> m_answered; // the engine's figures of each
    std::optional<ImpedanceCurve> m_base;
    QList<std::optional<ImpedanceCurve>> m_curves; // each design's
    QList<double> m_dips;                          // each design's, MHz
    std::array<double, 4> m_dipSlope{};            // MHz per display unit
    std::array<Estimate, 4> m_estimates{};
    QList<Bound> m_bounds;
};

ToleranceRun::ToleranceRun(const TuneSetup &setup, double cutError, const ProbeEngine &engine,
                           const AnalysisProgressFn &progress)
    : m_setup(setup)
    , m_dims(setup.formula)
    , m_unit(unitInfo(displayUnitFromText(setup.unit).value_or(DisplayUnit::Metre)))
    , m_rounds(engine, progress, 1 + kMostCentreRounds + kMostBoundRounds)
{
    const CheckRequest design = setup.requestFor(m_dims);
    m_f0 = design.frequencyMhz;
    m_result.dimensions = m_dims;
    m_result.frequencyMhz = m_f0;
    m_result.installation = design.installation;
    m_result.step = m_unit.cutStep;
    m_result.stepUnit = m_unit.cutStepText.toString();
    m_result.cutError = cutError;
    m_h = kDifferenceWavelengths * freeSpaceWavelength(m_f0) / setup.metresPerUnit;
    m_result.differenceStep = m_h;
}

ToleranceResult ToleranceRun::result()
{
    const double cutError = m_result.cutError;
    if (!(cutError >= 0) || !std::isfinite(cutError)) {
        m_rounds.fail(AnalysisFault::BadInput,
                      QStringLiteral("The cut error must be a length of 0 or more."));
    } else if (differences() && centreOnDip()) {
        estimate();
        if (narrowBounds()) {
            settleBounds();
            build();
        }
    }
    return m_rounds.finished(m_result);
}

// The design with every change of the differences: its figures, and its impedance over the
// sweep's band at the points the first fit needs.
bool ToleranceRun::differences()
{
    m_designs.append({m_dims, m_f0, AnalysisRounds::acrossSweep(m_f0)});
    for (const CutDimension dimension : kCutDimensions) {
        for (const double sign : {-1.0, 1.0}) {
            m_designs.append({withCut(m_dims, dimension, sign * m_h), m_f0, {}});
        }
    }
    const std::optional<QList<ProbeAnswer>> answered = m_rounds.run(m_designs);
    if (!answered) {
        return false;
    }
    m_answered = *answered;
    m_result.figures = *m_answered.at(0).figures;
    QList<SweepPoint> wide = m_answered.at(0).points;
    wide.append(sweepPoint(m_f0, m_result.figures.feed));
    // Five samples over the band: an interpolating fit, far apart enough that the small steps
    // of the engine's ground model between nearby frequencies do not bend it.
    m_base = m_rounds.fitted(wide, sweepLowEdge(m_f0), sweepHighEdge(m_f0));
    const std::optional<double> firstDip = m_rounds.dipWithin(m_base, m_f0);
    m_centre = firstDip.value_or(0);
    return firstDip.has_value();
}

// Every design, the design itself first, run either side of the dip: each one's curve is the
// fit corrected through its own runs and its impedance at the design frequency.
bool ToleranceRun::centreOnDip()
{
    m_curves.resize(m_designs.size());
    m_dips.resize(m_designs.size());
    for (int round = 0; round < kMostCentreRounds; ++round) {
        const double step = kSampleShare * m_centre;
        // The design itself either side of the dip; each changed design once, at the dip or,
        // when the design frequency lies close to it, beside it: with its impedance at the
        // design frequency that is a straight correction across the dip.
        const double beside = std::fabs(m_f0 - m_centre) >= 2 * step
                                  ? m_centre
                                  : m_centre + (m_f0 >= m_centre ? -2 : 2) * step;
        QList<DesignProbe> around{{m_dims, std::nullopt, {m_centre - step, m_centre + step}}};
        for (qsizetype k = 1; k < m_designs.size(); ++k) {
            around.append({m_designs.at(k).dims, std::nullopt, {beside}});
        }
        const std::optional<QList<ProbeAnswer>> runs = m_rounds.run(around);
        if (!runs) {
            return false;
        }
        for (qsizetype k = 0; k < runs->size(); ++k) {
            QList<SweepPoint> near = runs->at(k).points;
            // The design frequency's impedance from the figures run, unless it would crowd a
            // run's own frequency and amplify its rounding in the correction.
            const bool apart =
                std::all_of(near.cbegin(), near.cend(), [&](const SweepPoint &point) {
                    return std::fabs(point.frequencyMhz - m_f0) >= step / 2;
                });
            if (apart) {
                near.append(sweepPoint(m_f0, m_answered.at(k).figures->feed));
            }
            m_curves[k] = ImpedanceCurve(m_base->base(), 1, near);
            const std::optional<double> dip = m_rounds.dipWithin(m_curves.at(k), m_f0);
            if (!dip) {
                return false;
            }
            m_dips[k] = *dip;
        }
        // Runs that missed the dip by more than half their spacing are run again around it.
        if (std::fabs(m_dips.first() - m_centre) <= step / 2) {
            break;
        }
        m_centre = m_dips.first();
    }
    m_result.dipMhz = m_dips.first();
    return true;
}

// Central differences of the dip and of the front-to-back, the estimates from them, and each
// dimension's bounds either way started on the runs of the differences.
void ToleranceRun::estimate()
{
    const ImpedanceCurve &curve = *m_curves.first();
    const double h = m_h;
    const double resolution = std::pow(10.0, -m_setup.decimals);
    const double designFrontToBack = m_result.figures.frontToBack;
    const auto impedanceOf = [](const DesignFigures &figures) {
        return std::complex<double>(figures.feed.resistance, figures.feed.reactance);
    };
    const auto backOverFront = [](const DesignFigures &figures) {
        return std::pow(10.0, -figures.frontToBack / 10);
    };
    for (std::size_t i = 0; i < kCutDimensions.size(); ++i) {
        const DesignFigures &shorter = *m_answered.at(qsizetype(2 * i + 1)).figures;
        const DesignFigures &longer = *m_answered.at(qsizetype(2 * i + 2)).figures;
        m_dipSlope[i] =
            (m_dips.at(qsizetype(2 * i + 2)) - m_dips.at(qsizetype(2 * i + 1))) / (2 * h);
        const double fbSlope = (longer.frontToBack - shorter.frontToBack) / (2 * h);
        const double q0 = backOverFront(m_result.figures);
        const double qPlus = backOverFront(longer);
        const double qMinus = backOverFront(shorter);
        const double kappaReal = (qPlus - qMinus) / (4 * h * q0);
        const double kappaSquared =
            std::max((qPlus - 2 * q0 + qMinus) / (2 * q0 * h * h), kappaReal * kappaReal);
        const std::complex<double> plusResidual =
            impedanceOf(longer) - curve.impedance(m_f0 - m_dipSlope[i] * h);
        const std::complex<double> minusResidual =
            impedanceOf(shorter) - curve.impedance(m_f0 + m_dipSlope[i] * h);
        m_estimates[i] = {
            &curve,    m_f0,         m_dipSlope[i],    (plusResidual - minusResidual) / (2 * h),
            kappaReal, kappaSquared, designFrontToBack};
        DimensionTolerance &cut = m_result.cuts[i];
        cut.dimension = kCutDimensions[i];
        cut.dipKhzPerStep = m_dipSlope[i] * 1000 * m_unit.cutStep;
        cut.frontToBackDbPerStep = fbSlope * m_unit.cutStep;

        const std::array<double, 4> lengths = {m_dims.a, m_dims.b, m_dims.c(), m_dims.d};
        for (const double sign : {-1.0, 1.0}) {
            const double searchEnd =
                sign < 0 ? std::min(kSearchShareOfA * m_dims.a, kShortestShare * lengths[i])
                         : kSearchShareOfA * m_dims.a;
            Bound bound(kCutDimensions[i], sign, searchEnd, resolution, m_estimates[i]);
            bound.add(0, m_result.figures);
            bound.add(h, sign < 0 ? shorter : longer);
            m_bounds.append(bound);
        }
    }
}

bool ToleranceRun::designWithinLimits() const
{
    const double designFrontToBack = m_result.figures.frontToBack;
    return tolerance::within(
        tolerance::marginsOf(m_result.figures.swr, designFrontToBack, designFrontToBack));
}

// Each tolerance: the engine run where the estimate crosses a limit, until a change within
// both limits and one past them lie close together. A design past a limit itself has none.
bool ToleranceRun::narrowBounds()
{
    const bool designWithin = designWithinLimits();
    for (int round = 0; designWithin && round < kMostBoundRounds; ++round) {
        QList<DesignProbe> probes;
        QList<std::pair<qsizetype, double>> asked; // bound, change
        for (qsizetype k = 0; k < m_bounds.size(); ++k) {
            if (m_bounds.at(k).known()) {
                continue;
            }
            if (const std::optional<double> change = m_bounds[k].next()) {
                const Bound &bound = m_bounds.at(k);
                probes.append(
                    {withCut(m_dims, bound.dimension(), bound.sign() * *change), m_f0, {}});
                asked.append({k, *change});
            }
        }
        if (probes.isEmpty()) {
            break;
        }
        const std::optional<QList<ProbeAnswer>> runs = m_rounds.run(probes);
        if (!runs) {
            return false;
        }
        for (qsizetype k = 0; k < asked.size(); ++k) {
            m_bounds[asked.at(k).first].add(asked.at(k).second, *runs->at(k).figures);
        }
    }
    return true;
}

void ToleranceRun::settleBounds()
{
    const bool designWithin = designWithinLimits();
    for (Bound &bound : m_bounds) {
        // The last round's runs may have settled it; else the rounds ran out.
        if (designWithin && !bound.known() && bound.next()) {
            bound.settle();
        }
        DimensionTolerance &cut = m_result.cuts[std::size_t(bound.dimension())];
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
}

// The builds: every cut off by up to the cut error, uniformly, together. The dip moves by the
// sum of the differences; the SWR at the design frequency is read on the design's curve moved
// with it, with each cut's change of level; the front-to-back changes by the sum of each cut's
// change on its own.
void ToleranceRun::build()
{
    const ImpedanceCurve &curve = *m_curves.first();
    const double designFrontToBack = m_result.figures.frontToBack;
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
            const double error = m_result.cutError * (2 * uniform() - 1);
            shift += m_dipSlope[i] * error;
            level += m_estimates[i].residualSlope * error;
            frontToBack += m_estimates[i].frontToBackChange(error);
        }
        const std::complex<double> z = curve.impedance(m_f0 - shift) + level;
        if (tolerance::within(
                tolerance::marginsOf(standingWaveRatio({z.real(), z.imag()}, kLineImpedance),
                                     frontToBack, designFrontToBack))) {
            ++kept;
        }
        // Welford's running variance.
        const double delta = shift - mean;
        mean += delta / (build + 1);
        squares += delta * (shift - mean);
    }
    m_result.builds = kToleranceBuilds;
    m_result.yield = double(kept) / kToleranceBuilds;
    m_result.dipSpreadKhz = std::sqrt(squares / kToleranceBuilds) * 1000;
}

} // namespace

TuneDimensions withCut(TuneDimensions dims, CutDimension dimension, double change)
{
    if (dimension == CutDimension::A) {
        dims.a += change;
        return dims;
    }
    // E = B + C + D follows B, C and D.
    dims.e += change;
    if (dimension == CutDimension::B) {
        dims.b += change;
    } else if (dimension == CutDimension::D) {
        dims.d += change;
    }
    return dims;
}

ToleranceResult tolerances(const TuneSetup &setup, double cutError, const ProbeEngine &engine,
                           const AnalysisProgressFn &progress)
{
    return ToleranceRun(setup, cutError, engine, progress).result();
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
