// The diagnosis of an antenna built with known errors against the engine itself: for each
// design, bare nec2c on the design's check deck, then the whole diagnosis (the fit and the trim
// of each piece) of an antenna built 1 % long with its driven element's tails about 3 cm long
// and its reflector's 2 cm short on 20 m (as many wavelengths on 2 m), measured at 41
// frequencies over +-5 % with 0.5 ohm of noise. Prints the medians, the engine runs, the ratio
// it is held to (at most 100 bare runs) and what the fit found against the truth.
// Usage: build/bench/bench_diagnose [rounds]   (default 7)

#include "benchdesigns.h"
#include "designprobe.h"
#include "diagnosis.h"
#include "installation.h"
#include "trimcheck.h"

#include <QElapsedTimer>
#include <QTextStream>
#include <QThread>

#include <random>

using namespace moxon;
using namespace moxon::bench;

namespace {

constexpr double kDriverErrorWavelengths = 1.4e-3;
constexpr double kReflectorErrorWavelengths = -0.95e-3;
constexpr double kScale = 1.01;
constexpr double kNoiseOhm = 0.5;

// The built antenna's impedance at 41 frequencies over +-5 % of the design's, with noise.
QList<TouchstonePoint> measured(const TuneSetup &setup, const TuneDimensions &real, double f0)
{
    EngineScheduler scheduler;
    QList<double> frequencies;
    for (int i = 0; i <= 40; ++i) {
        frequencies.append(f0 * (0.95 + 0.0025 * i));
    }
    const std::optional<QList<ProbeAnswer>> answers =
        nec2cProbeEngine(setup.requestFor, scheduler)({{real, std::nullopt, frequencies}});
    std::mt19937 generator(3);
    std::normal_distribution<double> noise(0, kNoiseOhm);
    QList<TouchstonePoint> points;
    for (const SweepPoint &point : answers ? answers->first().points : QList<SweepPoint>{}) {
        points.append(TouchstonePoint{
            point.frequencyMhz,
            {point.feed.resistance + noise(generator), point.feed.reactance + noise(generator)}});
    }
    return points;
}

void benchDiagnosis(const DesignBench &bench, QTextStream &out)
{
    const TuneSetup &setup = bench.setup;
    const double f0 = setup.requestFor(setup.formula).frequencyMhz;
    const double perWavelength = freeSpaceWavelength(f0) / setup.metresPerUnit;
    const double driver = kDriverErrorWavelengths * perWavelength;
    const double reflector = kReflectorErrorWavelengths * perWavelength;
    const TuneDimensions real =
        trimming::scaled(withTails(setup.formula, driver, reflector), kScale);
    DiagnosisMeasurement measurement;
    measurement.points = measured(setup, real, f0);
    QList<double> bare;
    QList<double> ratios;
    QList<double> cpuRatios;
    QList<double> runs;
    DiagnosisResult last;
    for (int round = -1; round < bench.rounds; ++round) { // round -1 warms up, uncounted
        const BareRun bareTime = bareRun(bench.deckPath, bench.outputPath);
        EngineScheduler scheduler;
        QElapsedTimer clock;
        clock.start();
        const double children = processorMs(RUSAGE_CHILDREN);
        last = diagnoseWithNec2c(setup, measurement, f0, scheduler);
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        if (round >= 0) {
            bare.append(bareTime.ms);
            ratios.append(ms / bareTime.ms);
            cpuRatios.append((processorMs(RUSAGE_CHILDREN) - children) / bareTime.cpuMs);
            runs.append(last.engineRuns);
        }
    }
    out << "== " << bench.design.name << ": rounds " << bench.rounds << ", medians, on "
        << QThread::idealThreadCount() << " cores\n"
        << "bare nec2c:  " << median(bare) << " ms, the design's check deck\n"
        << "diagnosis:   " << median(runs) << " engine runs; / bare run: " << median(ratios)
        << "   (goal <= 100); engine processor time / bare run's: " << median(cpuRatios) << '\n';
    if (!last.ok()) {
        out << "             failed: " << last.message << '\n';
        return;
    }
    out << "             scale " << last.scale.value << " +- " << last.scale.sigma << " (built "
        << kScale << "), driver tails " << last.driverTailError.value << " +- "
        << last.driverTailError.sigma << " (" << driver << "), reflector tails "
        << last.reflectorTailError.value << " +- " << last.reflectorTailError.sigma << " ("
        << reflector << ") " << setup.unit << "\n             residual " << last.residualOhm
        << " ohm, noise " << last.noiseOhm << " ohm, " << last.iterations << " steps, "
        << (last.explained ? "explained" : "not explained") << '\n';
    // Which trims it took: E's and the new frame each cost a trim's runs of their own.
    const auto frontToBack = [](const std::optional<TrimResult> &trim) {
        return trim && trim->ok() && trim->fieldTrim
                   ? QString::number(trim->fieldTrim->antenna.figures.frontToBack, 'f', 2) +
                         QStringLiteral(" dB")
                   : QStringLiteral("none");
    };
    out << "             trims' front-to-back: the tails' " << frontToBack(last.trim) << ", E's "
        << frontToBack(last.gapTrim) << ", the new frame's " << frontToBack(last.newFrame)
        << "; the design's "
        << (last.trim && last.trim->designFrontToBack
                ? QString::number(*last.trim->designFrontToBack, 'f', 2) + QStringLiteral(" dB")
                : QStringLiteral("unknown"))
        << '\n';
}

} // namespace

int main(int argc, char *argv[])
{
    return benchEachDesign(argc, argv, benchDiagnosis);
}
