#include "checkrunner.h"

#include "nec2crunner.h"

#include <QEventLoop>

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
    m_figuresRun->start(request.deck);
    m_slices = checkSlices(m_request, m_options);
    m_slicesLeft = m_slices.size();
    for (qsizetype i = 0; i < m_slices.size(); ++i) {
        Nec2cRunner *run = newRunner();
        connect(run, &Nec2cRunner::finished, this, [this, i] { sliceFinished(i); });
        m_sliceRuns.append(run);
        // Over ground the figures run has its core to itself: the take-off angle it finds
        // starts the run of the azimuth cut, and the slices beside it start with that run.
        if (!m_slices.at(i).followsFiguresRun && !request.installation.overGround()) {
            run->start(m_slices.at(i).deck);
        }
    }
    return m_sequence;
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
    if (step.failure != EngineFailure::None) {
        fail(step.failure, step.message);
        return;
    }
    m_figures = step.figures;
    if (overGround) {
        for (qsizetype i = 0; i < m_slices.size(); ++i) {
            if (!m_slices.at(i).followsFiguresRun) {
                m_sliceRuns.at(i)->start(m_slices.at(i).deck);
            }
        }
        const QByteArray deck = azimuthDeck(m_request.deck, 90 - step.figures.takeoff.value_or(0));
        m_pattern = newRunner();
        connect(m_pattern, &Nec2cRunner::finished, this, &CheckRunner::patternFinished);
        m_pattern->start(deck);
        m_figuresDeck = deck;
    } else {
        m_figuresDone = true;
    }
    // A receiver may start a newer run or cancel this one while it takes the figures.
    const quint64 sequence = m_sequence;
    Q_EMIT figuresReady(sequence, m_figures);
    if (sequence == m_sequence && m_running) {
        finishIfDone();
    }
}

void CheckRunner::patternFinished()
{
    startFollowers(m_pattern->result());
    const FiguresStep step = readFiguresRun(m_pattern->result(), m_request);
    if (step.failure != EngineFailure::None) {
        fail(step.failure, step.message);
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
    if (step.failure != EngineFailure::None) {
        fail(step.failure, step.message);
        return;
    }
    mergeSweep(m_sweep, step.points);
    --m_slicesLeft;
    const quint64 sequence = m_sequence;
    Q_EMIT sweepUpdated(sequence, m_sweep);
    // A receiver may have started a newer run or cancelled this one meanwhile.
    if (sequence == m_sequence && m_running) {
        finishIfDone();
    }
}

void CheckRunner::finishIfDone()
{
    if (!m_figuresDone || m_slicesLeft > 0) {
        return;
    }
    m_running = false;
    endRuns();
    Q_EMIT sweepFinished(m_sequence, m_sweep,
                         bandwidth(m_sweep, m_request.frequencyMhz, m_figures.swr));
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
    for (Nec2cRunner *run : {m_figuresRun, m_pattern}) {
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
    QObject::connect(&runner, &CheckRunner::sweepFinished, &loop,
                     [&](quint64, const QList<SweepPoint> &sweep, const Bandwidth &bandwidth) {
                         report.sweep = sweep;
                         report.bandwidth = bandwidth;
                         report.caution = request.caution;
                         report.installation = request.installation;
                         report.deck = runner.figuresDeck();
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
