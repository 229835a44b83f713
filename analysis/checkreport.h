#pragma once

#include "figures.h"
#include "installation.h"
#include "nec2crunner.h"
#include "sweepplan.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace moxon {

// What to check: the NEC deck the export writes for the design (one frequency, the azimuth
// and the elevation pattern), its design frequency and the axis its beam lies along.
struct CheckRequest
{
    QByteArray deck;
    double frequencyMhz = 0;
    BeamAxis axis = BeamAxis::X;
    QString header;  // names the design checked, so that a screenshot explains itself
    QString refusal; // when set no engine runs, and the check fails with this sentence
    QString caution; // shown with the figures: the model is outside the engine's guideline
    Installation installation; // where the deck hangs the antenna and what it is made of
};

// How to run the engine; tests and benchmarks change these.
struct CheckOptions
{
    QString engine = nec2cProgram();  // a name on PATH or a path
    int timeoutMs = kEngineTimeoutMs; // for each engine run
    int cores = 0;                    // engine runs at once; 0: QThread::idealThreadCount()
};

// The sweep slices of `request` under `options`.
[[nodiscard]] QList<SweepSlice> checkSlices(const CheckRequest &request,
                                            const CheckOptions &options);

// The outcome of one engine run of a check, read.
struct FiguresStep
{
    EngineFailure failure = EngineFailure::None;
    QString message; // a sentence naming nec2c and what happened, when it failed
    DesignFigures figures;
};
struct SliceStep
{
    EngineFailure failure = EngineFailure::None;
    QString message;
    QList<SweepPoint> points; // the slice's points with their frequencies as asked for
};
[[nodiscard]] FiguresStep readFiguresRun(const EngineRun &run, const CheckRequest &request);
[[nodiscard]] SliceStep readSliceRun(const EngineRun &run, const SweepSlice &slice);

// Merges a slice's points into a sweep kept in order of frequency.
void mergeSweep(QList<SweepPoint> &sweep, const QList<SweepPoint> &points);

// The whole check of a design: the design frequency's figures and both pattern cuts, the
// sweep and its bandwidth, or why there are none.
struct CheckReport
{
    EngineFailure failure = EngineFailure::None;
    QString message; // a sentence naming nec2c and what happened, when it failed
    DesignFigures figures;
    QList<SweepPoint> sweep; // in order of frequency
    Bandwidth bandwidth;
    QString caution;           // the request's, when there are figures
    Installation installation; // the request's
    QByteArray deck;           // the deck whose run gave the figures at the design frequency

    [[nodiscard]] bool ok() const { return failure == EngineFailure::None; }
};

} // namespace moxon
