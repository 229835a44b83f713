#pragma once

#include "designprobe.h"
#include "impedancecurve.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <optional>

namespace moxon {

// The rounds of engine runs of a tolerance or a trim: each round's probes run side by side,
// the runs counted, progress told after each, and the first failure kept with what the
// engine said. A round that was cancelled or failed gives nothing, and the analysis ends.
class AnalysisRounds
{
public:
    AnalysisRounds(const ProbeEngine &engine, const AnalysisProgressFn &progress, int rounds);

    // The answers, each with the figures and the points it asked for; none when cancelled or
    // when the engine failed on a probe (message() says what it said).
    [[nodiscard]] std::optional<QList<ProbeAnswer>> run(const QList<DesignProbe> &probes);

    // The curve of a rational fit to `samples` over `lowerMhz` to `upperMhz`; none, failed,
    // when the fit is unusable.
    [[nodiscard]] std::optional<ImpedanceCurve> fitted(const QList<SweepPoint> &samples,
                                                       double lowerMhz, double upperMhz);

    // Ends the analysis on `sentence`, a failure of the analysis itself, unless it failed
    // already.
    void fail(AnalysisFault fault, const QString &sentence);
    // The SWR dip of `curve` within the sweep around `mhz`; none, failed on noDip(), when there
    // is no curve or its SWR is lowest at an end of the sweep.
    [[nodiscard]] std::optional<double> dipWithin(const std::optional<ImpedanceCurve> &curve,
                                                  double mhz);

    [[nodiscard]] int engineRuns() const { return m_runs; }
    [[nodiscard]] bool cancelled() const { return m_cancelled; }
    [[nodiscard]] const QString &message() const { return m_message; }
    [[nodiscard]] EngineFailure failure() const { return m_failure; }
    [[nodiscard]] AnalysisFault fault() const { return m_fault; }
    // Into a tolerance's or a trim's result: the engine runs, a cancel or the failure, and
    // the seconds since the rounds were made.
    template<typename Result> [[nodiscard]] Result finished(Result result) const
    {
        result.engineRuns = m_runs;
        result.cancelled = m_cancelled;
        if (!m_message.isEmpty()) {
            result.message = m_message;
            result.failure = m_failure;
            result.fault = m_fault;
        }
        result.seconds = double(m_clock.nsecsElapsed()) / 1e9;
        return result;
    }

    // "The model's SWR has no dip between ... MHz.": the sentence of a curve lowest at an end.
    [[nodiscard]] static QString noDip(double lowerMhz, double upperMhz);
    // The frequencies of a design's first impedance run, for a fit across the sweep around
    // `mhz` with the figures run's: the sweep's ends and six steps in from each, far enough
    // apart that the small steps of the engine's ground model between nearby frequencies do
    // not bend the fit.
    [[nodiscard]] static QList<double> acrossSweep(double mhz);

private:
    QElapsedTimer m_clock; // from the analysis's start
    const ProbeEngine &m_engine;
    const AnalysisProgressFn &m_progress;
    int m_rounds = 0;
    int m_round = 0;
    int m_runs = 0;
    bool m_cancelled = false;
    QString m_message;
    EngineFailure m_failure = EngineFailure::None;
    AnalysisFault m_fault = AnalysisFault::None;
};

} // namespace moxon
