// The tolerances of the cuts and the trim of a measured antenna against the engine itself, side
// by side in one run: for each installation, bare nec2c on the design's check deck, then the
// whole tolerance analysis and the whole trim of an antenna built 1 % long. Prints the medians,
// the engine runs and the ratios they are held to: tolerances at most 40 bare runs, the trim
// at most 30.
// Usage: build/bench/bench_trim [rounds]   (default 7)

#include "benchdesigns.h"
#include "calculation.h"
#include "checkrequest.h"
#include "nec2crunner.h"
#include "tolerance.h"
#include "trim.h"

#include <QElapsedTimer>
#include <QTextStream>
#include <QThread>

#include <algorithm>

using namespace moxon;
using namespace moxon::bench;

namespace {

struct Timing
{
    QList<double> ms;
    QList<double> ratios;    // wall time over the bare run's
    QList<double> cpuRatios; // the engine's processor time over the bare run's
    QList<double> ownMs;     // this program's processor time: fits, reading the output
    QList<double> runs;
};

void print(QTextStream &out, const char *name, const Timing &timing, double goal)
{
    out << name << median(timing.ms) << " ms, " << median(timing.runs)
        << " engine runs; / bare run: " << median(timing.ratios) << "   (goal <= " << goal
        << ")\n             engine processor time / bare run's: " << median(timing.cpuRatios)
        << ", on " << QThread::idealThreadCount() << " cores; own processor time "
        << median(timing.ownMs) << " ms\n";
}

// Runs `work`, adding its wall time, processor times and runs to `timing` against the bare
// run's.
template<typename Work> auto timed(Timing &timing, const BareRun &bare, bool counted, Work work)
{
    QElapsedTimer clock;
    clock.start();
    const double children = processorMs(RUSAGE_CHILDREN);
    const double self = processorMs(RUSAGE_SELF);
    const auto result = work();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (counted) {
        timing.ms.append(ms);
        timing.ratios.append(ms / bare.ms);
        timing.cpuRatios.append((processorMs(RUSAGE_CHILDREN) - children) / bare.cpuMs);
        timing.ownMs.append(processorMs(RUSAGE_SELF) - self);
        timing.runs.append(result.engineRuns);
    }
    return result;
}

// The tolerances and the trim of an antenna built 1 % long, against a bare run each round.
void benchAnalyses(const DesignBench &bench, QTextStream &out)
{
    const TuneSetup &setup = bench.setup;
    const double f0 = setup.requestFor(setup.formula).frequencyMhz;
    QList<double> bare;
    Timing tolerance;
    Timing trimming;
    double yield = 0;
    double landed = 0;
    int peak = 0;
    for (int round = -1; round < bench.rounds; ++round) { // round -1 warms up, uncounted
        const BareRun bareTime = bareRun(bench.deckPath, bench.outputPath);
        EngineScheduler scheduler; // capped at the cores, as the program's
        const bool counted = round >= 0;
        const ToleranceResult tolerances = timed(tolerance, bareTime, counted, [&] {
            return tolerancesWithNec2c(setup, kDefaultCutErrorOfA * setup.formula.a, scheduler);
        });
        // An antenna that behaves 1 % longer than its model dips about 1 % low.
        const TrimResult trim = timed(trimming, bareTime, counted, [&] {
            return trimWithNec2c(setup, tolerances.dipMhz / 1.01, f0, scheduler);
        });
        peak = std::max(peak, scheduler.peakRunning());
        if (counted) {
            bare.append(bareTime.ms);
            yield = tolerances.yield;
            landed = trim.fieldTrim ? trim.fieldTrim->antenna.predictedDipMhz : 0;
        }
    }
    out << "== " << bench.design.name << ": rounds " << bench.rounds << ", medians, at most "
        << peak << " engines at once on " << QThread::idealThreadCount() << " cores\n";
    out << "bare nec2c:  " << median(bare) << " ms, the design's check deck\n";
    print(out, "tolerances:  ", tolerance, 40);
    out << "             yield " << yield * 100 << " %\n";
    print(out, "trim:        ", trimming, 30);
    out << "             field trim's dip " << landed << " MHz for " << f0 << " MHz\n";
}

} // namespace

int main(int argc, char *argv[])
{
    return benchEachDesign(argc, argv, benchAnalyses);
}
