// Tuning against the engine itself, side by side in one run: for each installation and goal,
// bare nec2c on the formula design's check deck, then a whole tuning of the same design. Prints
// the medians, the engine runs and the ratio tuning is held to: at most 40 bare runs.
// Usage: build/bench/bench_tune [rounds]   (default 7)

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

namespace {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n == 0 ? 0 : n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
}

struct Case
{
    QString name;
    QString frequency;
    QString wire;
    WireUnit wireUnit;
    DisplayUnit units;
    Installation installation;
};

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
    const QList<Case> cases = {
        {QStringLiteral("20 m, 10 m over average ground, copper"), QStringLiteral("14.15"),
         QStringLiteral("2"), WireUnit::Millimetre, DisplayUnit::Metre,
         Installation{10, {GroundKind::Real, 13, 0.005}, copper()}},
        {QStringLiteral("2 m, free space, #12"), QStringLiteral("146"), QStringLiteral("#12"),
         WireUnit::Gauge, DisplayUnit::Inch, Installation{}},
    };
    QTemporaryDir folder;
    const QString deckPath = folder.filePath(QStringLiteral("design.nec"));
    const QString outputPath = folder.filePath(QStringLiteral("design.out"));
    for (const Case &c : cases) {
        const Calculation run = calculate(FormInputs{c.frequency, c.wire, c.wireUnit}, c.units,
                                          LocaleNumbers(QLocale::c()));
        const TuneSetup setup = tuneSetup(modelInputFor(run.shown, run.input, false, true),
                                          run.shown.values, run.form.wireSize, c.installation);
        QFile deck(deckPath);
        if (!deck.open(QIODevice::WriteOnly)) {
            return 1;
        }
        deck.write(setup.requestFor(setup.formula).deck);
        deck.close();
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
            out << "== " << c.name << ", " << tuneGoalInfo(goal).name.toString()
                << ": rounds " << rounds << ", medians\n"
                << "bare nec2c, formula's check deck:  " << median(bare) << " ms\n"
                << "tuning:                            " << median(tuning) << " ms, "
                << median(runs) << " engine runs, goal " << (met ? "met" : "NOT met")
                << ", at most " << peak << " engines at once on " << QThread::idealThreadCount()
                << " cores\n"
                << "tuning / bare run:                 " << median(ratios)
                << (goal == TuneGoal::Band ? "   (goal <= 150)\n"
                                           : goal == TuneGoal::Match ? "   (goal <= 20)\n"
                                                                     : "   (goal <= 40)\n");
            out.flush();
        }
    }
    return 0;
}
