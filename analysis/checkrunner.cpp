#include "checkrunner.h"

#include "baredip.h"
#include "impedancecurve.h"
#include "nec2crunner.h"
#include "takeoff.h"

#include <QEventLoop>

#include <algorithm>
#include <cmath>

namespace moxon {

CheckRunner::CheckRunner(EngineScheduler &scheduler, CheckOptions options, QObject *parent)
    : QObject(parent)
    , m_scheduler(scheduler)
    , m_options(std::move(options))
{
}

CheckRunner::~CheckRunner()
{
    endRuns();
}

quint64 CheckRunner::start(const CheckRequest &request)
{
    endRuns();
    ++m_sequence;
    m_request = request;
    m_running = true;
    m_figures = {};
    m_sweep.clear();
    m_slices.clear();
    m_figuresDeck = request.deck;
    const auto refuse = [this](EngineFailure failure, const QString &message) {
        // Reported from the event loop, as every other outcome is.
        const quint64 sequence = m_sequence;
        QMetaObject::invokeMethod(
            this,
            [this, sequence, failure, message] {
                if (sequence == m_sequence && m_running) {
                    fail(failure, message);
                }
            },
            Qt::QueuedConnection);
        return m_sequence;
    };
    if (!request.refusal.isEmpty()) {
        return refuse(EngineFailure::Refused, request.refusal);
    }
    if (!(request.frequencyMhz > 0) || !std::isfinite(request.frequencyMhz)) {
        return refuse(EngineFailure::NotRun,
                      QStringLiteral("nec2c was not run: the design frequency is not a positive "
                                     "number."));
    }
    m_figuresRun = newRunner();
    connect(m_figuresRun, &Nec2cRunner::finished, this, &CheckRunner::figuresRunFinished);
    m_figuresDone = false;
    m_figuresRead = false;
    m_sliceFailure.reset();
    m_sweepDone = false;
    m_bareDone = true;
    m_outcome = {};
    m_round.clear();
    m_plan.reset();
    m_figuresRun->start(request.deck);
    QList<int> first; // every point of a full sweep
    if (request.sweep == SweepMode::Fitted) {
        m_plan.emplace(request.frequencyMhz, m_scheduler.slots());
        // The design frequency is the figures run's own: its point joins the first round.
        for (const int index : m_plan->firstPoints()) {
            if (index != kDesignPoint) {
                first.append(index);
            }
        }
        m_roundWaitsForF0 = true;
    }
    // Over ground the figures run has its core to itself: the take-off angle it finds starts
    // the run of the azimuth cut, and the slices beside it start with that run.
    startRound(m_plan && first.isEmpty() ? QList<SweepSlice>{}
                                         : checkSlices(m_request, m_scheduler.slots(), first),
               false);
    return m_sequence;
}

void CheckRunner::startRound(const QList<SweepSlice> &slices, bool now)
{
    for (Nec2cRunner *run : std::as_const(m_sliceRuns)) {
        disconnect(run, nullptr, this, nullptr);
        run->deleteLater(); // finished: nothing left to end
    }
    m_sliceRuns.clear();
    m_slices = slices;
    m_slicesLeft = m_slices.size();
    m_followersWait = !now; // a later round's slices all start at once
    const bool beside = now || (!m_request.installation.overGround() && !m_figuresDone);
    for (qsizetype i = 0; i < m_slices.size(); ++i) {
        Nec2cRunner *run = newRunner();
        connect(run, &Nec2cRunner::finished, this, [this, i] { sliceFinished(i); });
        m_sliceRuns.append(run);
        if (now || (beside && !m_slices.at(i).followsFiguresRun)) {
            run->start(m_slices.at(i).deck);
        }
    }
}

void CheckRunner::cancel()
{
    endRuns();
    m_running = false;
}

void CheckRunner::startFollowers(const EngineRun &before)
{
    // The slice that waited for this core starts first, so that it runs while the output
    // before it is read and while a receiver draws the figures; when that output cannot be
    // read it is ended again. After an engine that failed outright, it is not started at all.
    if (!m_followersWait) {
        return;
    }
    m_followersWait = false;
    for (qsizetype i = 0; i < m_slices.size(); ++i) {
        if (m_slices.at(i).followsFiguresRun && before.failure == EngineFailure::None) {
            m_sliceRuns.at(i)->start(m_slices.at(i).deck);
        }
    }
}

void CheckRunner::figuresRunFinished()
{
    const bool overGround = m_request.installation.overGround();
    if (!overGround) {
        startFollowers(m_figuresRun->result());
    }
    const FiguresStep step = readFiguresRun(m_figuresRun->result(), m_request);
    m_figuresRead = true;
    if (step.failure != EngineFailure::None || m_sliceFailure) {
        const FiguresStep &failed = step.failure != EngineFailure::None ? step : *m_sliceFailure;
        fail(failed.failure, failed.message);
        return;
    }
    m_figures = step.figures;
    if (m_plan && m_roundWaitsForF0) {
        m_roundWaitsForF0 = false;
        m_round.append(sweepPoint(m_request.frequencyMhz, m_figures.feed));
        mergeSweep(m_sweep, {m_round.last()});
    }
    if (overGround) {
        for (qsizetype i = 0; i < m_slices.size(); ++i) {
            if (!m_slices.at(i).followsFiguresRun) {
                m_sliceRuns.at(i)->start(m_slices.at(i).deck);
            }
        }
        m_patternRuns = 0;
        startPatternRun(step.figures);
    } else {
        m_figuresDone = true;
    }
    // A receiver may start a newer run or cancel this one while it takes the figures.
    const quint64 sequence = m_sequence;
    Q_EMIT figuresReady(sequence, m_figures);
    if (sequence == m_sequence && m_running) {
        roundFinished();
    }
}

void CheckRunner::startPatternRun(const DesignFigures &figures)
{
    if (m_pattern != nullptr) {
        disconnect(m_pattern, nullptr, this, nullptr);
        m_pattern->deleteLater(); // finished: nothing left to end
    }
    m_figuresDeck = takeoffDeck(m_request.deck, figures, heightWavelengths(m_request).value_or(0));
    ++m_patternRuns;
    m_pattern = newRunner();
    connect(m_pattern, &Nec2cRunner::finished, this, &CheckRunner::patternFinished);
    m_pattern->start(m_figuresDeck);
}

void CheckRunner::patternFinished()
{
    startFollowers(m_pattern->result());
    CheckRequest ran = m_request;
    ran.deck = m_figuresDeck;
    const FiguresStep step = readFiguresRun(m_pattern->result(), ran);
    if (step.failure != EngineFailure::None) {
        fail(step.failure, step.message);
        return;
    }
    // The fine cuts found the forward lobe elsewhere than the azimuth cut was taken: once more
    // with the azimuth cut there (the same fine cuts pick the same lobe again).
    if (step.figures.azimuth.isEmpty() && m_patternRuns < kMostPatternRuns) {
        startPatternRun(step.figures);
        return;
    }
    m_figures = step.figures;
    m_figuresDone = true;
    const quint64 sequence = m_sequence;
    Q_EMIT figuresReady(sequence, m_figures);
    if (sequence == m_sequence && m_running) {
        finishIfDone();
    }
}

void CheckRunner::sliceFinished(qsizetype index)
{
    const SliceStep step = readSliceRun(m_sliceRuns.at(index)->result(), m_slices.at(index));
    if (step.failure != EngineFailure::None && !m_figuresRead) {
        m_sliceFailure = FiguresStep{step.failure, step.message, {}};
        return;
    }
    if (step.failure != EngineFailure::None) {
        fail(step.failure, step.message);
        return;
    }
    mergeSweep(m_sweep, step.points);
    m_round.append(step.points);
    --m_slicesLeft;
    const quint64 sequence = m_sequence;
    Q_EMIT sweepUpdated(sequence, m_sweep);
    // A receiver may have started a newer run or cancelled this one meanwhile.
    if (sequence == m_sequence && m_running) {
        roundFinished();
    }
}

void CheckRunner::roundFinished()
{
    if (m_slicesLeft > 0 || m_roundWaitsForF0) {
        return;
    }
    if (m_plan && !m_sweepDone) {
        std::sort(m_round.begin(), m_round.end(), [](const SweepPoint &a, const SweepPoint &b) {
            return a.frequencyMhz < b.frequencyMhz;
        });
        const QList<int> next = m_plan->add(m_round);
        m_round.clear();
        if (!next.isEmpty()) {
            // One engine run a point, every slot busy; the figures run is long done.
            startRound(
                sweepSlices(m_request.deck, m_request.frequencyMhz, m_scheduler.slots(), 0, next),
                true);
            return;
        }
    }
    if (!m_sweepDone) {
        m_sweepDone = true;
        m_outcome = m_plan ? fittedOutcome() : fullOutcome();
        findDips();
    }
    finishIfDone();
}

void CheckRunner::findDips()
{
    const double low = sweepLowEdge(m_request.frequencyMhz);
    const double high = sweepHighEdge(m_request.frequencyMhz);
    // A sweep that ran every point has no verified fit of its own: one through its points.
    m_curveFit = m_plan && m_plan->converged()
                     ? m_plan->fit()
                     : RationalFit::fit(impedanceSamples(m_sweep), low, high);
    if (!m_curveFit) {
        return;
    }
    m_outcome.dipMhz = ImpedanceCurve(*m_curveFit).dip(low, high);
    if (m_request.bareDeck.isEmpty() || !m_outcome.dipMhz) {
        return;
    }
    m_outcome.bareEngineFrequenciesMhz =
        bareDipFrequencies(*m_outcome.dipMhz, m_request.insulatedVelocityFactor);
    m_bareSlice = frequencySlice(m_request.bareDeck, m_outcome.bareEngineFrequenciesMhz);
    m_bareDone = false;
    m_bareRun = newRunner();
    connect(m_bareRun, &Nec2cRunner::finished, this, &CheckRunner::bareRunFinished);
    m_bareRun->start(m_bareSlice.deck);
}

void CheckRunner::bareRunFinished()
{
    const SliceStep step = readSliceRun(m_bareRun->result(), m_bareSlice);
    if (step.failure != EngineFailure::None) {
        fail(step.failure, step.message);
        return;
    }
    m_outcome.bareDipMhz =
        bareDip(*m_curveFit, m_request.insulatedVelocityFactor, step.points,
                sweepLowEdge(m_request.frequencyMhz), sweepHighEdge(m_request.frequencyMhz));
    m_bareDone = true;
    finishIfDone();
}

SweepOutcome CheckRunner::fullOutcome() const
{
    SweepOutcome outcome;
    outcome.points = m_sweep;
    outcome.bandwidth = bandwidth(m_sweep, m_request.frequencyMhz, m_figures.swr);
    for (const SweepPoint &point : m_sweep) {
        outcome.engineFrequenciesMhz.append(point.frequencyMhz);
    }
    return outcome;
}

SweepOutcome CheckRunner::fittedOutcome() const
{
    SweepOutcome outcome;
    outcome.points = m_plan->reportedPoints();
    outcome.bandwidth = m_plan->fittedBandwidth(m_figures.swr);
    outcome.engineFrequenciesMhz = m_plan->engineFrequencies();
    if (m_plan->converged()) {
        outcome.curve = m_plan->denseCurve();
        outcome.fitAgreementOhm = m_plan->lastAgreementOhm();
    }
    return outcome;
}

void CheckRunner::finishIfDone()
{
    if (!m_figuresDone || !m_sweepDone || !m_bareDone) {
        return;
    }
    m_running = false;
    endRuns();
    Q_EMIT sweepFinished(m_sequence, m_outcome);
}

void CheckRunner::fail(EngineFailure failure, const QString &message)
{
    endRuns();
    m_running = false;
    Q_EMIT failed(m_sequence, failure, message);
}

Nec2cRunner *CheckRunner::newRunner()
{
    return new Nec2cRunner(m_scheduler, m_options.engine, m_options.timeoutMs, this);
}

void CheckRunner::endRuns()
{
    // A run may end while its own report is being delivered: it is ended now and deleted
    // later, and it reports nothing more.
    QList<Nec2cRunner *> runs = m_sliceRuns;
    for (Nec2cRunner *run : {m_figuresRun, m_pattern, m_bareRun}) {
        if (run != nullptr) {
            runs.append(run);
        }
    }
    for (Nec2cRunner *run : runs) {
        disconnect(run, nullptr, this, nullptr);
        run->abort();
        run->deleteLater();
    }
    m_figuresRun = nullptr;
    m_pattern = nullptr;
    m_bareRun = nullptr;
    m_sliceRuns.clear();
}

CheckReport checkDeck(const CheckRequest &request, EngineScheduler &scheduler,
                      const CheckOptions &options)
{
    CheckReport report;
    CheckRunner runner(scheduler, options);
    QEventLoop loop;
    QObject::connect(
        &runner, &CheckRunner::figuresReady, &loop,
        [&report](quint64, const DesignFigures &figures) { report.figures = figures; });
    QObject::connect(
        &runner, &CheckRunner::sweepFinished, &loop, [&](quint64, const SweepOutcome &sweep) {
            report.sweep = sweep.points;
            report.bandwidth = sweep.bandwidth;
            report.fittedCurve = sweep.curve;
            report.sweepEngineFrequencies = sweep.engineFrequenciesMhz;
            report.fitAgreementOhm = sweep.fitAgreementOhm;
            report.dipMhz = sweep.dipMhz;
            report.bareDipMhz = sweep.bareDipMhz;
            report.bareEngineFrequencies = sweep.bareEngineFrequenciesMhz;
            report.caution = request.caution;
            report.installation = request.installation;
            report.deck = runner.figuresDeck();
            if (const std::optional<FeedLine> &line = request.installation.feedLine) {
                report.atRadio = radioFigures(*line, report.figures, sweep.points, sweep.curve);
            }
            loop.quit();
        });
    QObject::connect(&runner, &CheckRunner::failed, &loop,
                     [&](quint64, EngineFailure failure, const QString &message) {
                         report.failure = failure;
                         report.message = message;
                         report.figures = {};
                         report.deck = runner.figuresDeck();
                         loop.quit();
                     });
    runner.start(request);
    loop.exec();
    return report;
}

} // namespace moxon
