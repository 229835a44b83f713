#pragma once

#include "figures.h"
#include "installation.h"
#include "nec2crunner.h"
#include "radiofigures.h"
#include "sweepplan.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace moxon {

// How the SWR curve comes from the engine: a rational fit to as few engine frequencies as
// it needs, verified until it settles, or every one of the sweep's points run by nec2c.
enum class SweepMode
{
    Fitted,
    Full,
};

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
    SweepMode sweep = SweepMode::Fitted;
    // Insulated wire only: the same deck in bare wire, whose dip the check finds beside the
    // insulated one's, and the velocity factor the insulation is estimated to give the wire.
    QByteArray bareDeck;
    double insulatedVelocityFactor = 1;
};

// How high the antenna's centre hangs over the ground, in wavelengths at the request's
// frequency; none in free space.
[[nodiscard]] std::optional<double> heightWavelengths(const CheckRequest &request);

// The SWR curve of a check: the sweep's points at their fixed frequencies, the bandwidth, and
// how they were found.
struct SweepOutcome
{
    QList<SweepPoint> points; // the sweep's points in order of frequency, engine's or fitted
    Bandwidth bandwidth;
    QList<SweepPoint> curve;               // dense, from the fit, for drawing; empty unfitted
    QList<double> engineFrequenciesMhz;    // what nec2c ran for the curve, ascending
    std::optional<double> fitAgreementOhm; // the last two fits' largest difference; unfitted none
    std::optional<double>
        dipMhz; // where the curve's SWR is lowest within the sweep; none at an end
    // Insulated wire only: where the bare wire's SWR is lowest, and the frequencies nec2c ran
    // for it.
    std::optional<double> bareDipMhz;
    QList<double> bareEngineFrequenciesMhz;
};

// How to run the engine; tests and benchmarks change these.
struct CheckOptions
{
    QString engine = nec2cProgram();  // a name on PATH or a path
    int timeoutMs = kEngineTimeoutMs; // for each engine run
};

// The sweep slices of `request` for the sweep points `points` (indices, all of them when
// empty), beside and after the figures run, dealt out to `engines` engines at once (the
// scheduler's slots).
[[nodiscard]] QList<SweepSlice> checkSlices(const CheckRequest &request, int engines,
                                            const QList<int> &points = {});

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
// The figures of a run of `request`, whose deck is the one that ran: its pattern cards give
// the angles of the run's tables.
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
    QList<SweepPoint> fittedCurve;         // the fit's dense curve; empty for a full sweep
    QList<double> sweepEngineFrequencies;  // MHz, what nec2c ran for the curve
    std::optional<double> fitAgreementOhm; // the fit's last agreement; none for a full sweep
    std::optional<double> dipMhz;          // the sweep's; none when lowest at an end
    std::optional<double> bareDipMhz;      // insulated wire: the bare wire's dip
    QList<double> bareEngineFrequencies;   // MHz, what nec2c ran for the bare wire's dip
    QString caution;                       // the request's, when there are figures
    Installation installation;             // the request's
    QByteArray deck; // the deck whose run gave the figures at the design frequency
    // With a feed line in the installation: what the radio sees at its far end.
    std::optional<RadioFigures> atRadio;

    [[nodiscard]] bool ok() const { return failure == EngineFailure::None; }
};

} // namespace moxon
