// Tuning against the engine itself, side by side in one run: for each installation and goal,
// bare nec2c on the formula design's check deck, then a whole tuning of the same design. Prints
// the medians, the engine runs and the ratio tuning is held to: at most 20 bare runs for the
// match, 40 for the front-to-back and 150 for the band; and, as the machine may be busy, the
// same in processor time (the engine's and this process's over the bare run's engine time).
// Usage: build/bench/bench_tune [rounds]   (default 7)

#include "benchdesigns.h"
#include "calculation.h"
#include "checkrequest.h"
#include "nec2crunner.h"
#include "tuner.h"

#include <QElapsedTimer>
#include <QTextStream>
#include <QThread>

#include <algorithm>

using namespace moxon;
using namespace moxon::bench;

namespace {

// Each goal tuned from the design's formula dimensions, against a bare run each round.
void benchTuning(const DesignBench &bench, QTextStream &out)
{
    for (const TuneGoal goal : {TuneGoal::Match, TuneGoal::FrontToBack, TuneGoal::Band}) {
        QList<double> bare;
        QList<double> tuning;
        QList<double> ratios;
        QList<double> cpuRatios;
        QList<double> runs;
        bool met = true;
        int peak = 0;                                         // most engines at once
        for (int round = -1; round < bench.rounds; ++round) { // round -1 warms up, uncounted
            const BareRun bareRun = moxon::bench::bareRun(bench.deckPath, bench.outputPath);
            const double bareMs = bareRun.ms;
            const double cpuBefore = processorMs(RUSAGE_CHILDREN) + processorMs(RUSAGE_SELF);
            QElapsedTimer clock;
            clock.start();
            EngineScheduler scheduler; // capped at the cores, as the program's
            const TuneResult result = tuneWithNec2c(goal, bench.setup, scheduler);
            peak = std::max(peak, scheduler.peakRunning());
            const double tuneMs = double(clock.nsecsElapsed()) / 1e6;
            const double tuneCpuMs =
                processorMs(RUSAGE_CHILDREN) + processorMs(RUSAGE_SELF) - cpuBefore;
            if (round < 0) {
                continue;
            }
            bare.append(bareMs);
            tuning.append(tuneMs);
            ratios.append(tuneMs / bareMs);
            cpuRatios.append(tuneCpuMs / bareRun.cpuMs);
            runs.append(result.engineRuns);
            met = met && result.goalMet;
        }
        out << "== " << bench.design.name << ", " << tuneGoalInfo(goal).name.toString()
            << ": rounds " << bench.rounds << ", medians\n"
            << "bare nec2c, formula's check deck:  " << median(bare) << " ms\n"
            << "tuning:                            " << median(tuning) << " ms, " << median(runs)
            << " engine runs, goal " << (met ? "met" : "NOT met") << ", at most " << peak
            << " engines at once on " << QThread::idealThreadCount() << " cores\n"
            << "tuning / bare run:                 " << median(ratios)
            << (goal == TuneGoal::Band    ? "   (goal <= 150)\n"
                : goal == TuneGoal::Match ? "   (goal <= 20)\n"
                                          : "   (goal <= 40)\n")
            << "processor time / bare run's:       " << median(cpuRatios) << '\n';
        out.flush();
    }
}

} // namespace

int main(int argc, char *argv[])
{
    return benchEachDesign(argc, argv, benchTuning);
}
