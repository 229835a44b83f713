#pragma once

// The designs the engine-bound benchmarks time, each against one bare nec2c run of the
// design's own check deck, and the main() they share.

#include "calculation.h"
#include "checkrequest.h"
#include "installation.h"
#include "median.h"
#include "nec2crunner.h"
#include "tuner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>
#include <sys/resource.h>

namespace moxon::bench {

// A design as the window's inputs give it, and where it hangs.
struct BenchDesign
{
    QString name;
    QString frequency;
    QString wire;
    WireUnit wireUnit;
    DisplayUnit units;
    Installation installation;
};

// 20 m over average ground in copper, where the engine's ground makes each run dear, and 2 m in
// free space, the program's start-up design.
inline QList<BenchDesign> benchDesigns()
{
    return {
        {QStringLiteral("20 m, 10 m over average ground, copper"), QStringLiteral("14.15"),
         QStringLiteral("2"), WireUnit::Millimetre, DisplayUnit::Metre,
         Installation{10, {GroundKind::Real, 13, 0.005}, copper(), {}}},
        {QStringLiteral("2 m, free space, #12"), QStringLiteral("146"), QStringLiteral("#12"),
         WireUnit::Gauge, DisplayUnit::Inch, Installation{}},
    };
}

// The design's formula dimensions where it hangs, as the window tunes and analyses them.
inline TuneSetup setupOf(const BenchDesign &design)
{
    const Calculation run = calculate(FormInputs{design.frequency, design.wire, design.wireUnit},
                                      design.units, LocaleNumbers(QLocale::c()));
    return tuneSetup(modelInputFor(run.shown, run.input, false, true), run.shown.values,
                     run.form.wireSize, design.installation);
}

// Writes the check deck of the setup's formula dimensions to `path`; false when it cannot.
inline bool writeDesignDeck(const TuneSetup &setup, const QString &path)
{
    QFile deck(path);
    return deck.open(QIODevice::WriteOnly) && deck.write(setup.requestFor(setup.formula).deck) >= 0;
}

// Processor time so far, in ms, of this process (RUSAGE_SELF: its fits, its reading of the
// output) or of its ended child processes (RUSAGE_CHILDREN: what the engine runs cost whatever
// else the machine is doing).
inline double processorMs(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 +
           usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
}

// One bare nec2c run of a design's check deck: what the benchmarks hold the analyses to.
struct BareRun
{
    double ms = 0;    // wall time
    double cpuMs = 0; // the engine's processor time
};

// Times one bare nec2c run of the deck at `deckPath`.
inline BareRun bareRun(const QString &deckPath, const QString &outputPath)
{
    QElapsedTimer clock;
    clock.start();
    const double children = processorMs(RUSAGE_CHILDREN);
    QProcess::execute(QStringLiteral("nec2c"),
                      {QStringLiteral("-i"), deckPath, QStringLiteral("-o"), outputPath});
    return {double(clock.nsecsElapsed()) / 1e6, processorMs(RUSAGE_CHILDREN) - children};
}

// What a benchmark times for one design: its `rounds` after a warm-up round, each against a
// bare run of the design's check deck (bareRun(deckPath, outputPath)).
struct DesignBench
{
    const BenchDesign &design;
    const TuneSetup &setup; // the formula dimensions where it hangs
    QString deckPath;       // its check deck
    QString outputPath;     // for the bare run's output
    int rounds = 0;
};

// The main() of an engine-bound benchmark: the rounds from the first argument (7 by default),
// then `bench` for each of benchDesigns(), its check deck written, printing on `out`. Exit
// status 1 when nec2c is missing or a deck cannot be written.
inline int benchEachDesign(int argc, char *argv[],
                           const std::function<void(const DesignBench &, QTextStream &)> &bench)
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
    for (const BenchDesign &design : benchDesigns()) {
        const TuneSetup setup = setupOf(design);
        if (!writeDesignDeck(setup, deckPath)) {
            return 1;
        }
        bench({design, setup, deckPath, outputPath, rounds}, out);
        out.flush();
    }
    return 0;
}

} // namespace moxon::bench
