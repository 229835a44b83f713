#include "diagnosis.h"

#include "analysisrounds.h"
#include "diagnosiscurve.h"
#include "diagnosismodel.h"
#include "diagnosistrim.h"
#include "feedline.h"
#include "impedancecurve.h"
#include "leastsquares.h"
#include "measureddip.h"
#include "sweepplan.h"
#include "trimcheck.h"
#include "trimrun.h"

#include <algorithm>
#include <cmath>
#include <variant>

namespace moxon {

using diagnosing::Centre;
using diagnosing::LocalModel;
using diagnosing::pointOf;
using diagnosing::Readings;
using diagnosing::SampledCurve;
using diagnosing::Unknown;
using trimming::megahertz;

namespace {

// The tails' and the gap's step in the engine's finite differences, in wavelengths: about a
// centimetre on 20 m, moving the impedance by ohms, far above the printed digits, and linear.
constexpr double kLengthStepWavelengths = 5e-4;
// Rounds of the fit after the model as built: each a new centre run on the engine. Most fits
// settle in two to four; along a curved valley, where the scale and both pairs of tails trade
// against each other, each round follows it only part of the way.
constexpr int kMostRounds = 10;
// A step shorter than this share of each unknown's uncertainty is not run where the local
// model also puts its fall of the sum of squares below kSettledChiSquare readings' variance:
// the local model is the engine's own curve that close. Along a valley the uncertainty is wide
// and the local model's least point short of the engine's. The fit stops too when the sum of
// squares falls by less than kSettledFall of itself.
constexpr double kSettledShareOfSigma = 1;
constexpr double kSettledChiSquare = 1;
constexpr double kSettledFall = 1e-4;
// A centre that fits worse than the last is not taken: the step is shortened by this much.
constexpr double kShorterStep = 0.3;
constexpr double kExactOhm = 1e-9; // RMS of a fit that misses nothing but rounding
constexpr double kShortestStep = 0.01;
// The measurement is explained when the fit misses by no more than this many times one
// reading's noise; and never held to less than the model's own accuracy: the model is not the
// antenna to better than about an ohm (the wire's joins, the feed's own gap, the ground's
// figures taken from a table).
constexpr double kExplainedNoiseFactor = 3;
constexpr double kModelAccuracyOhm = 1;
// How far the fit may take the unknowns: beyond these the antenna is another design, and the
// deck may no longer be one (a tail or the gap gone).
constexpr double kMostScaleError = 0.1;
constexpr double kMostLengthShare = 0.5; // of the tail, the gap or the line as built

// One diagnosis, in the order its rounds run: the model as built with each pair of tails
// stepped, then centres found on the local model around the last and run on the engine, until
// the step settles; the trim of the antenna as diagnosed follows. A step that returns false
// ended the analysis, cancelled or failed, as its rounds say.
class DiagnosisRun
{
public:
    DiagnosisRun(const TuneSetup &setup, const DiagnosisMeasurement &measurement, double targetMhz,
                 const ProbeEngine &engine, const AnalysisProgressFn &progress);

    [[nodiscard]] DiagnosisResult result();

private:
    [[nodiscard]] bool checkInput();
    void trimByDip();
    // The engine's runs of `x` and of each unknown it answers stepped from it; with
    // `designFigures`, the figures of the dimensions as given beside them, kept for the trim.
    [[nodiscard]] std::optional<Centre> run(const QList<double> &x, bool designFigures = false);
    [[nodiscard]] bool fit();
    [[nodiscard]] LocalModel localAt(const Centre &centre) const;
    [[nodiscard]] double sumOfSquares(const Centre &centre) const;
    void report(const Centre &at);
    void trimDiagnosed(const LocalModel &local, const QList<double> &x);

    [[nodiscard]] TuneDimensions antennaOf(const QList<double> &x) const;
    [[nodiscard]] QList<double> bounds() const;
    [[nodiscard]] qsizetype indexOf(Unknown unknown) const { return m_unknowns.indexOf(unknown); }

    const TuneSetup &m_setup;
    const DiagnosisMeasurement &m_measurement;
    const ProbeEngine &m_engine;
    const AnalysisProgressFn &m_progress;
    double m_f0 = 0;     // MHz, the design frequency
    double m_target = 0; // MHz
    Readings m_readings;
    QList<Unknown> m_unknowns;
    QList<double> m_engineSteps; // display unit: the tails' and the gap's, in their order
    AnalysisRounds m_rounds;
    std::optional<Centre> m_best; // the last centre run that fitted best
    // dB at the design frequency: the front-to-back of the dimensions as given, the design as
    // the builder meant it; run beside the first round.
    std::optional<double> m_designFrontToBack;
    QList<double> m_solution;        // the fit: that centre, or its local model's solution
    diagnosing::TrimsRun m_trimsRun; // the trims' runs, after the fit's
    DiagnosisResult m_result;
};

DiagnosisRun::DiagnosisRun(const TuneSetup &setup, const DiagnosisMeasurement &measurement,
                           double targetMhz, const ProbeEngine &engine,
                           const AnalysisProgressFn &progress)
    : m_setup(setup)
    , m_measurement(measurement)
    , m_engine(engine)
    , m_progress(progress)
    , m_target(targetMhz)
    , m_rounds(engine, progress, kMostRounds + 1)
{
    m_f0 = setup.requestFor(setup.formula).frequencyMhz;
    m_readings = diagnosing::readingsAround(measurement.points, m_f0, kDiagnosisRangeShare);
    m_unknowns = {Unknown::Scale, Unknown::DriverTails, Unknown::ReflectorTails};
    if (measurement.fitGap) {
        m_unknowns.append(Unknown::Gap);
    }
    const double step = kLengthStepWavelengths * freeSpaceWavelength(m_f0) / setup.metresPerUnit;
    m_engineSteps = QList<double>(m_unknowns.size() - 1, step);
    if (measurement.line) {
        m_unknowns.append(Unknown::Line);
    }
    m_result.built = setup.formula;
    m_result.designMhz = m_f0;
    m_result.targetMhz = targetMhz;
    m_result.points = int(m_readings.inRange.size());
    m_result.measuredAtRadio = measurement.line.has_value();
    if (!m_readings.inRange.isEmpty()) {
        m_result.lowerMhz = m_readings.inRange.first().frequencyMhz;
        m_result.upperMhz = m_readings.inRange.last().frequencyMhz;
    }
}

DiagnosisResult DiagnosisRun::result()
{
    if (checkInput()) {
        if (m_readings.inRange.size() < kLeastDiagnosisPoints) {
            trimByDip();
        } else if (fit()) {
            report(*m_best);
        }
    }
    DiagnosisResult result = m_rounds.finished(m_result);
    result.engineRuns += m_trimsRun.engineRuns;
    result.cancelled = result.cancelled || m_trimsRun.cancelled;
    // From the dip alone the trim is all there is: how it ended is how this ended.
    if (result.dipAlone && result.trim && !result.trim->ok() && !result.trim->cancelled) {
        result.message = result.trim->message;
        result.fault = result.trim->fault;
        result.failure = result.trim->failure;
    }
    return result;
}

bool DiagnosisRun::checkInput()
{
    if (!(m_target > 0) || !std::isfinite(m_target)) {
        m_rounds.fail(AnalysisFault::BadInput,
                      QStringLiteral("The target must be a frequency above 0 MHz."));
        return false;
    }
    return true;
}

// Too few readings in range for the fit: the trim from the file's dip alone, which holds
// whether the antenna behaves longer all over or has long tails. A file without a dip is
// refused, with what the file does have.
void DiagnosisRun::trimByDip()
{
    const QList<TouchstonePoint> atFeed =
        m_measurement.line ? deembedded(m_measurement.points, LossyLine(m_measurement.line->cable),
                                        m_measurement.line->lengthMetres)
                           : m_measurement.points;
    const std::variant<MeasuredDip, QString> dip =
        measuredDip(atFeed, QStringLiteral("The measurement"));
    if (const auto *reason = std::get_if<QString>(&dip)) {
        m_rounds.fail(AnalysisFault::BadInput,
                      QStringLiteral("The measurement has %1 frequencies between %2 and %3, "
                                     "within %4 % of the design frequency; a diagnosis needs at "
                                     "least %5, and a trim needs its dip. %6")
                          .arg(m_readings.inRange.size())
                          .arg(megahertz(m_f0 * (1 - kDiagnosisRangeShare)),
                               megahertz(m_f0 * (1 + kDiagnosisRangeShare)))
                          .arg(kDiagnosisRangeShare * 100)
                          .arg(kLeastDiagnosisPoints)
                          .arg(*reason));
        return;
    }
    m_result.dipAlone = true;
    for (const TouchstonePoint &reading : std::as_const(m_readings.inRange)) {
        m_result.measuredCurve.append(pointOf(reading.frequencyMhz, reading.impedanceOhm));
    }
    m_result.trim = moxon::trim(m_setup, std::get<MeasuredDip>(dip).frequencyMhz, m_target,
                                m_engine, m_progress, {.dipAlone = true});
    m_result.trimRefusal = m_result.trim->message;
    m_trimsRun = {m_result.trim->engineRuns, m_result.trim->cancelled};
}

// Each design's frequencies are split over two runs side by side, every other one in each, so
// that a round of three designs keeps two cores busy to its end.
std::optional<Centre> DiagnosisRun::run(const QList<double> &x, bool designFigures)
{
    const QList<double> frequencies = m_readings.runFrequencies();
    QList<double> halves[2];
    for (qsizetype i = 0; i < frequencies.size(); ++i) {
        halves[i % 2].append(frequencies.at(i));
    }
    QList<TuneDimensions> designs{antennaOf(x)};
    for (qsizetype k = 0; k < m_engineSteps.size(); ++k) {
        QList<double> stepped = x;
        stepped[k + 1] += m_engineSteps.at(k); // after the scale, in the unknowns' order
        designs.append(antennaOf(stepped));
    }
    QList<DesignProbe> probes;
    for (const TuneDimensions &design : std::as_const(designs)) {
        for (const QList<double> &half : halves) {
            probes.append({design, std::nullopt, half});
        }
    }
    if (designFigures) {
        probes.append({m_setup.formula, m_f0, {}}); // one frequency: it ends with the others
    }
    const std::optional<QList<ProbeAnswer>> answers = m_rounds.run(probes);
    if (!answers) {
        return std::nullopt;
    }
    if (designFigures) {
        m_designFrontToBack = answers->last().figures->frontToBack;
    }
    const auto curve = [&answers](qsizetype design) {
        QList<SweepPoint> points = answers->at(2 * design).points;
        points += answers->at(2 * design + 1).points;
        std::sort(points.begin(), points.end(), [](const SweepPoint &a, const SweepPoint &b) {
            return a.frequencyMhz < b.frequencyMhz;
        });
        return SampledCurve(points);
    };
    Centre centre{x, curve(0), {}};
    for (qsizetype k = 1; k < designs.size(); ++k) {
        centre.stepped.append(curve(k));
    }
    return centre;
}

LocalModel DiagnosisRun::localAt(const Centre &centre) const
{
    return LocalModel(centre, m_unknowns, m_engineSteps, m_measurement.line);
}

// At the centre the local model is the engine's run itself.
double DiagnosisRun::sumOfSquares(const Centre &centre) const
{
    return localAt(centre).linearised(centre.x, m_readings.inRange).sumOfSquares();
}

// From the model as built, each round solves the local model around the best centre so far
// and runs its solution on the engine; a solution that fits worse than the centre is
// shortened towards it and run again. Once the local model moves the centre by less than a
// fraction of each unknown's uncertainty, its solution is the fit: so close to the centre its
// error is second order in the step, far below the uncertainty.
bool DiagnosisRun::fit()
{
    m_best = run(QList<double>(m_unknowns.size(), 0.0), true);
    if (!m_best) {
        return false;
    }
    m_solution = m_best->x;
    double best = sumOfSquares(*m_best);
    double reach = 1;
    // A fit within rounding of every reading has nothing left to gain.
    const double exact = kExactOhm * kExactOhm * double(m_readings.inRange.size());
    while (m_result.iterations < kMostRounds && reach >= kShortestStep && best > exact) {
        const LocalModel local = localAt(*m_best);
        // From the line's length as told, first: the later centres lie on the turn found.
        const QList<double> solution =
            local.solved(m_readings.inRange, bounds(), m_result.iterations == 0);
        // At the solution: at a centre far off, the misses would make every step look small.
        const LinearisedResiduals atSolution = local.linearised(solution, m_readings.inRange);
        const QList<double> sigmas = standardErrors(atSolution);
        QList<double> trial = m_best->x;
        const double variance = best / double(atSolution.residuals.size() - trial.size());
        bool settled = best - atSolution.sumOfSquares() <= kSettledChiSquare * variance;
        for (qsizetype k = 0; k < trial.size(); ++k) {
            const double step = reach * (solution.at(k) - trial.at(k));
            trial[k] += step;
            settled = settled && std::fabs(step) <= kSettledShareOfSigma * sigmas.at(k);
        }
        if (settled) {
            // A step the engine shortened already: the centre it ran is the fit.
            m_solution = reach < 1 ? m_best->x : trial;
            break;
        }
        std::optional<Centre> next = run(trial);
        if (!next) {
            return false;
        }
        ++m_result.iterations;
        const double after = sumOfSquares(*next);
        if (!(after < best)) {
            reach *= kShorterStep;
            continue;
        }
        m_best = std::move(next);
        m_solution = m_best->x;
        reach = 1;
        if (best - after <= kSettledFall * best) {
            break;
        }
        best = after;
    }
    return true;
}

void DiagnosisRun::report(const Centre &centre)
{
    const LocalModel local = localAt(centre);
    const QList<double> &x = m_solution;
    const LinearisedResiduals linear = local.linearised(x, m_readings.inRange);
    const QList<double> sigmas = standardErrors(linear);
    const auto estimate = [&](Unknown unknown, double unit) {
        const qsizetype k = indexOf(unknown);
        return Estimate{x.at(k) / unit, sigmas.at(k) / unit};
    };
    m_result.scale = estimate(Unknown::Scale, 1);
    m_result.scale.value += 1;
    m_result.driverTailError = estimate(Unknown::DriverTails, 1);
    m_result.reflectorTailError = estimate(Unknown::ReflectorTails, 1);
    if (m_measurement.fitGap) {
        m_result.gapError = estimate(Unknown::Gap, 1);
    }
    if (m_measurement.line) {
        m_result.lineLengthError = estimate(Unknown::Line, m_setup.metresPerUnit);
    }
    QList<double> unscaled = x;
    unscaled[indexOf(Unknown::Scale)] = 0;
    m_result.diagnosed = antennaOf(unscaled);
    m_result.residualOhm = std::sqrt(linear.sumOfSquares() / double(linear.residuals.size()));
    m_result.noiseOhm =
        diagnosing::readingNoise(m_readings.inRange, m_measurement.line).value_or(0);
    m_result.explained = m_result.residualOhm <=
                         std::max(kExplainedNoiseFactor * m_result.noiseOhm, kModelAccuracyOhm);
    // The fitted model between the runs is the run's own curve: its fit, through every sample.
    for (const TouchstonePoint &reading : std::as_const(m_readings.inRange)) {
        m_result.measuredCurve.append(pointOf(reading.frequencyMhz, reading.impedanceOhm));
        m_result.fittedCurve.append(
            pointOf(reading.frequencyMhz, local.measured(x, reading.frequencyMhz)));
    }
    if (m_result.explained) {
        trimDiagnosed(local, x);
    }
}

// The trims of the antenna as diagnosed. Its tail errors are undone first: each trim is found
// for the antenna with its tails as meant, behaving as scaled as the fit found it, and each cut
// is then stated against the tails as they are. A trim of the tails as they are would move
// both pairs along one line only, and cannot undo errors of opposite sign, which spoil the
// front-to-back while the dip looks right.
void DiagnosisRun::trimDiagnosed(const LocalModel &local, const QList<double> &x)
{
    const auto dipOf = [this, &local](QList<double> y, bool tailsAsMeant, bool unscaled) {
        if (tailsAsMeant) {
            y[indexOf(Unknown::DriverTails)] = 0;
            y[indexOf(Unknown::ReflectorTails)] = 0;
        }
        if (unscaled) {
            y[indexOf(Unknown::Scale)] = 0;
        }
        return interiorMinimum(
            [&local, &y](double mhz) {
                const std::complex<double> z = local.feed(y, mhz);
                return std::abs((z - kLineImpedance) / (z + kLineImpedance));
            },
            m_result.lowerMhz, m_result.upperMhz, 1e-8 * m_result.upperMhz);
    };
    const std::optional<double> dip = dipOf(x, false, false);
    const std::optional<double> meantDip = dipOf(x, true, false);
    const std::optional<double> modelDip = dipOf(x, false, true);
    const std::optional<double> meantModelDip = dipOf(x, true, true);
    if (!dip || !meantDip || !modelDip || !meantModelDip) {
        m_result.trimRefusal = AnalysisRounds::noDip(m_result.lowerMhz, m_result.upperMhz);
        return;
    }
    QList<double> meant = x;
    meant[indexOf(Unknown::DriverTails)] = 0;
    meant[indexOf(Unknown::ReflectorTails)] = 0;
    meant[indexOf(Unknown::Scale)] = 0;
    diagnosing::DiagnosedAntenna antenna{m_setup,
                                         1 + x.at(indexOf(Unknown::Scale)),
                                         m_result.diagnosed,
                                         *dip,
                                         *meantDip,
                                         *modelDip,
                                         *meantModelDip};
    antenna.asMeant.formula = antennaOf(meant);
    m_trimsRun = diagnosing::trimDiagnosed(m_result, antenna,
                                           {m_target, m_measurement.trimGap, m_designFrontToBack,
                                            m_rounds.engineRuns(), kMostRounds + 1},
                                           m_engine, m_progress);
}

TuneDimensions DiagnosisRun::antennaOf(const QList<double> &x) const
{
    TuneDimensions dims = withTails(m_setup.formula, x.at(indexOf(Unknown::DriverTails)),
                                    x.at(indexOf(Unknown::ReflectorTails)));
    if (m_measurement.fitGap) {
        dims.e += x.at(indexOf(Unknown::Gap)); // A, B and D as built: the frame wider
    }
    return trimming::scaled(dims, 1 + x.at(indexOf(Unknown::Scale)));
}

QList<double> DiagnosisRun::bounds() const
{
    const TuneDimensions &built = m_setup.formula;
    QList<double> most{kMostScaleError, kMostLengthShare * std::min(built.b, built.c()),
                       kMostLengthShare * std::min(built.d, built.c())};
    if (m_measurement.fitGap) {
        most.append(kMostLengthShare * built.c());
    }
    if (m_measurement.line) {
        most.append(kMostLengthShare * m_measurement.line->lengthMetres);
    }
    return most;
}

} // namespace

DiagnosisResult diagnose(const TuneSetup &setup, const DiagnosisMeasurement &measurement,
                         double targetMhz, const ProbeEngine &engine,
                         const AnalysisProgressFn &progress)
{
    return DiagnosisRun(setup, measurement, targetMhz, engine, progress).result();
}

DiagnosisResult diagnoseWithNec2c(const TuneSetup &setup, const DiagnosisMeasurement &measurement,
                                  double targetMhz, EngineScheduler &scheduler,
                                  const CheckOptions &options, std::function<bool()> cancelled,
                                  const AnalysisProgressFn &progress)
{
    return diagnose(setup, measurement, targetMhz,
                    nec2cProbeEngine(setup.requestFor, scheduler, options, std::move(cancelled)),
                    progress);
}

} // namespace moxon
