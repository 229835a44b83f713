#pragma once

#include "adaptivesweep.h"
#include "checkreport.h"

#include <QList>
#include <QObject>

namespace moxon {

class Nec2cRunner;

// The design check in the background, never blocking the event loop: the figures run in an
// engine process of its own, so that its figures and patterns come as soon as one engine run
// allows, with the sweep slices on the other cores beside it and one more slice on its core
// after it, each slice reported as it arrives; then the whole curve with its bandwidth and its
// dip, and for insulated wire the bare wire's dip, from one more engine run (baredip.h). Over
// ground the figures run runs alone and finds the take-off angle; then a second run adds the
// azimuth cut there while the slices beside start, and the slice that follows comes after it.
// Where lobes near the forward one come close to it, that run also cuts finely through each of
// their tops; when those cuts find the forward lobe elsewhere, one more run takes the azimuth
// cut there.
// The runs queue in the engine scheduler with every other engine run of the program. A newer
// start() supersedes the run in flight: its engine processes are ended and waited for, and
// nothing of it is reported any more. Every report carries the sequence number start()
// returned, so that a receiver can tell a report of the current run from one it had queued
// before.
class CheckRunner : public QObject
{
    Q_OBJECT

public:
    // Every engine run of the check goes through `scheduler`, which must outlive the runner.
    explicit CheckRunner(EngineScheduler &scheduler, CheckOptions options = {},
                         QObject *parent = nullptr);
    ~CheckRunner() override;

    CheckRunner(const CheckRunner &) = delete;
    CheckRunner &operator=(const CheckRunner &) = delete;

    // Starts a check of `request`, ending the one in flight; returns its sequence number.
    quint64 start(const CheckRequest &request);
    // Ends the run in flight without a report.
    void cancel();

    [[nodiscard]] bool isRunning() const { return m_running; }
    [[nodiscard]] quint64 sequence() const { return m_sequence; }
    // The deck whose run gives the current figures: over ground the figures run with the
    // azimuth cut at the take-off angle, once that angle is known.
    [[nodiscard]] const QByteArray &figuresDeck() const { return m_figuresDeck; }

Q_SIGNALS:
    // In free space once; over ground first without the azimuth cut (the run that finds the
    // take-off angle), then with it.
    void figuresReady(quint64 sequence, const moxon::DesignFigures &figures);
    // After each slice: the engine's sweep points so far, in order of frequency.
    void sweepUpdated(quint64 sequence, const QList<moxon::SweepPoint> &sweep);
    void sweepFinished(quint64 sequence, const moxon::SweepOutcome &sweep);
    void failed(quint64 sequence, moxon::EngineFailure failure, const QString &message);

private:
    void figuresRunFinished();
    // Over ground the run at the take-off angle that `figures` found, with fine cuts through
    // the tops of its rival lobes when it has more than one.
    void startPatternRun(const DesignFigures &figures);
    void patternFinished();
    void startFollowers(const EngineRun &before);
    // Runs `slices` as a round of the sweep; `now`: also the slices that follow the figures run.
    void startRound(const QList<SweepSlice> &slices, bool now);
    void sliceFinished(qsizetype index);
    // A fitted sweep's round is complete: the fit takes its points and asks for more, or ends.
    void roundFinished();
    [[nodiscard]] SweepOutcome fullOutcome() const;
    [[nodiscard]] SweepOutcome fittedOutcome() const;
    // The sweep's dip on its fit, and with insulated wire the one run of the bare wire that
    // finds the bare wire's dip from that fit; finishIfDone() waits for it.
    void findDips();
    void bareRunFinished();
    void finishIfDone();
    void fail(EngineFailure failure, const QString &message);
    Nec2cRunner *newRunner();
    void endRuns();

    EngineScheduler &m_scheduler;
    CheckOptions m_options;
    CheckRequest m_request;
    quint64 m_sequence = 0;
    bool m_running = false;
    Nec2cRunner *m_figuresRun = nullptr; // child of this runner
    Nec2cRunner *m_pattern = nullptr;    // over ground, the run at the take-off angle; a child
    int m_patternRuns = 0;               // of the check in flight
    static constexpr int kMostPatternRuns = 2;
    QByteArray m_figuresDeck;
    bool m_figuresDone = false;
    bool m_figuresRead = false; // the design frequency's run has ended and been read
    // A slice's failure heard before the figures run ended: told once that run is read, unless
    // the figures failed themselves, which is what the check is about.
    std::optional<FiguresStep> m_sliceFailure;
    QList<SweepSlice> m_slices;
    QList<Nec2cRunner *> m_sliceRuns; // children of this runner, one per slice
    qsizetype m_slicesLeft = 0;       // of the round in flight
    DesignFigures m_figures;
    QList<SweepPoint> m_sweep;           // the engine's points so far
    std::optional<AdaptiveSweep> m_plan; // of a fitted sweep
    QList<SweepPoint> m_round;           // the engine's points of the round in flight
    bool m_roundWaitsForF0 = false;      // the first round takes the figures run's point
    bool m_sweepDone = false;
    bool m_followersWait = false; // the first round's follower has not started
    SweepOutcome m_outcome;
    Nec2cRunner *m_bareRun = nullptr; // insulated wire: the bare wire's run; a child
    SweepSlice m_bareSlice;
    std::optional<RationalFit> m_curveFit; // the fit the dips are found on
    bool m_bareDone = true;
};

// Runs the check of `request` on a CheckRunner and waits for it in an event loop of its own,
// so that the command line gets exactly the window's schedule and figures.
[[nodiscard]] CheckReport checkDeck(const CheckRequest &request, EngineScheduler &scheduler,
                                    const CheckOptions &options = {});

} // namespace moxon
