// Tuning against the engine itself, side by side in one run: for each installation and goal,
// bare nec2c on the formula design's check deck, then a whole tuning of the same design. Prints
// the medians, the engine runs and the ratio tuning is held to: at most 40 bare runs.
// Usage: build/bench/bench_tune [rounds]   (default 7)

#include "benchdesigns.h"
#include "calculation.h"
#include "checkrequest.h"
#include "nec2crunner.h"
#include "tuner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <algorithm>

using namespace moxon;
using namespace moxon::bench;

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
        if (!writeDesignDeck(setup, deckPath)) {
            return 1;
        }
        for (const TuneGoal goal : {TuneGoal::Match, TuneGoal::FrontToBack, TuneGoal::Band}) {
            QList<double> bare;
            QList<double> tuning;
            QList<double> ratios;
            QList<double> runs;
            bool met = true;
            int peak = 0;                                   // most engines at once
            for (int round = -1; round < rounds; ++round) { // round -1 warms up, uncounted
                QElapsedTimer clock;
                clock.start();
                QProcess::execute(QStringLiteral("nec2c"), {QStringLiteral("-i"), deckPath,
                                                            QStringLiteral("-o"), outputPath});
                const double bareMs = double(clock.nsecsElapsed()) / 1e6;
                clock.restart();
                EngineScheduler scheduler; // capped at the cores, as the program's
                const TuneResult result = tuneWithNec2c(goal, setup, scheduler);
                peak = std::max(peak, scheduler.peakRunning());
                const double tuneMs = double(clock.nsecsElapsed()) / 1e6;
                if (round < 0) {
                    continue;
                }
                bare.append(bareMs);
                tuning.append(tuneMs);
                ratios.append(tuneMs / bareMs);
                runs.append(result.engineRuns);
                met = met && result.goalMet;
            }
            out << "== " << c.name << ", " << tuneGoalInfo(goal).name.toString() << ": rounds "
                << rounds << ", medians\n"
                << "bare nec2c, formula's check deck:  " << median(bare) << " ms\n"
                << "tuning:                            " << median(tuning) << " ms, "
                << median(runs) << " engine runs, goal " << (met ? "met" : "NOT met")
                << ", at most " << peak << " engines at once on " << QThread::idealThreadCount()
                << " cores\n"
                << "tuning / bare run:                 " << median(ratios)
                << (goal == TuneGoal::Band    ? "   (goal <= 150)\n"
                    : goal == TuneGoal::Match ? "   (goal <= 20)\n"
                                              : "   (goal <= 40)\n");
            out.flush();
        }
    }
    return 0;
}
