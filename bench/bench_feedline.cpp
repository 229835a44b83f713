// The design check with a feed line against the same check without one, for the designs of
// the engine-bound benchmarks, with 30 m of RG-58 between the antenna and the radio. The
// rounds alternate, so that the machine's load falls on both alike. Prints the medians, their
// ratio, which the check with a line is held to within 1.05, and the line's own arithmetic
// (the radio's figures and curve from the check's report) in microseconds.
// Usage: build/bench/bench_feedline [rounds] (default 9 rounds)
#include "benchdesigns.h"
#include "checkrunner.h"
#include "enginescheduler.h"
#include "radiofigures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

using namespace moxon;
using namespace moxon::bench;

namespace {

double millisecondsOf(const std::function<void()> &run)
{
    QElapsedTimer clock;
    clock.start();
    run();
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 9;
    QTextStream out(stdout);
    const FeedLine line{cableOf(*cablePreset(u"RG-58")), 30};
    EngineScheduler scheduler;
    for (BenchDesign design : benchDesigns()) {
        const TuneSetup bare = setupOf(design);
        design.installation.feedLine = line;
        const TuneSetup withLine = setupOf(design);
        const CheckRequest bareRequest = bare.requestFor(bare.formula);
        const CheckRequest lineRequest = withLine.requestFor(withLine.formula);
        QList<double> without;
        QList<double> with;
        QList<double> arithmetic;
        for (int round = 0; round < rounds; ++round) {
            without.append(millisecondsOf([&] { (void)checkDeck(bareRequest, scheduler); }));
            CheckReport report;
            with.append(millisecondsOf([&] { report = checkDeck(lineRequest, scheduler); }));
            if (!report.ok() || !report.atRadio) {
                out << design.name << ": the check with a line failed\n";
                return 1;
            }
            arithmetic.append(millisecondsOf([&] {
                (void)radioFigures(line, report.figures, report.sweep, report.fittedCurve);
            }));
        }
        const double ratio = median(with) / median(without);
        out << design.name << ": check " << median(without) << " ms, with 30 m of RG-58 "
            << median(with) << " ms, ratio " << ratio << " (goal <= 1.05); the line's arithmetic "
            << median(arithmetic) * 1000 << " us\n";
    }
    return 0;
}
