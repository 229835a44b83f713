#pragma once

// The designs the engine-bound benchmarks time, each against one bare nec2c run of the
// design's own check deck.

#include "calculation.h"
#include "checkrequest.h"
#include "installation.h"
#include "median.h"
#include "tuner.h"

#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QString>

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
         Installation{10, {GroundKind::Real, 13, 0.005}, copper()}},
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

// One bare nec2c run of the deck at `deckPath`, in ms of wall time.
inline double bareRunMs(const QString &deckPath, const QString &outputPath)
{
    QElapsedTimer clock;
    clock.start();
    QProcess::execute(QStringLiteral("nec2c"),
                      {QStringLiteral("-i"), deckPath, QStringLiteral("-o"), outputPath});
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace moxon::bench
