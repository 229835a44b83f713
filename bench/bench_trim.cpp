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

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <sys/resource.h>

using namespace moxon;
using namespace moxon::bench;

namespace {

// Processor time of the ended child processes so far, and of this one, in ms: what the
// engine runs cost whatever else the machine is doing.
double childrenMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 +
           usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
}

double selfMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 +
           usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
}

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
// run's `bareMs` and `bareCpuMs`.
template<typename Work>
auto timed(Timing &timing, double bareMs, double bareCpuMs, bool counted, Work work)
{
    QElapsedTimer clock;
    clock.start();
    const double children = childrenMs();
    const double self = selfMs();
    const auto result = work();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (counted) {
        timing.ms.append(ms);
        timing.ratios.append(ms / bareMs);
        timing.cpuRatios.append((childrenMs() - children) / bareCpuMs);
        timing.ownMs.append(selfMs() - self);
        timing.runs.append(result.engineRuns);
    }
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    const QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 7;
    QTextStream out(stdout);
    if (QStandardPaths::findExecutable(nec2cProgram()).isEmpty()) {
        out << "nec2c is not on PATH: bash scripts/install-deps.sh test" << Qt::endl;
        return 1;
    }
    QTemporaryDir folder;
    const QString deckPath = folder.filePath(QStringLiteral("design.nec"));
    const QString outputPath = folder.filePath(QStringLiteral("design.out"));
    for (const BenchDesign &c : benchDesigns()) {
        const TuneSetup setup = setupOf(c);
        const double f0 = setup.requestFor(setup.formula).frequencyMhz;
        if (!writeDesignDeck(setup, deckPath)) {
            return 1;
        }
        QList<double> bare;
        Timing tolerance;
        Timing trimming;
        double yield = 0;
        double landed = 0;
        int peak = 0;
        for (int round = -1; round < rounds; ++round) { // round -1 warms up, uncounted
            QElapsedTimer clock;
            clock.start();
            const double children = childrenMs();
            QProcess::execute(QStringLiteral("nec2c"),
                              {QStringLiteral("-i"), deckPath, QStringLiteral("-o"), outputPath});
            const double bareMs = double(clock.nsecsElapsed()) / 1e6;
            const double bareCpuMs = childrenMs() - children;
            EngineScheduler scheduler; // capped at the cores, as the program's
            const bool counted = round >= 0;
            const ToleranceResult tolerances = timed(tolerance, bareMs, bareCpuMs, counted, [&] {
                return tolerancesWithNec2c(setup, kDefaultCutErrorOfA * setup.formula.a, scheduler);
            });
            // An antenna that behaves 1 % longer than its model dips about 1 % low.
            const TrimResult trim = timed(trimming, bareMs, bareCpuMs, counted, [&] {
                return trimWithNec2c(setup, tolerances.dipMhz / 1.01, f0, scheduler);
            });
            peak = std::max(peak, scheduler.peakRunning());
            if (counted) {
                bare.append(bareMs);
                yield = tolerances.yield;
                landed = trim.fieldTrim ? trim.fieldTrim->antenna.predictedDipMhz : 0;
            }
        }
        out << "== " << c.name << ": rounds " << rounds << ", medians, at most " << peak
            << " engines at once on " << QThread::idealThreadCount() << " cores\n";
        out << "bare nec2c:  " << median(bare) << " ms, the design's check deck\n";
        print(out, "tolerances:  ", tolerance, 40);
        out << "             yield " << yield * 100 << " %\n";
        print(out, "trim:        ", trimming, 30);
        out << "             field trim's dip " << landed << " MHz for " << f0 << " MHz\n";
        out.flush();
    }
    return 0;
}
