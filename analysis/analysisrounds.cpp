#include "analysisrounds.h"

#include <QLocale>

#include <algorithm>

namespace moxon {

AnalysisRounds::AnalysisRounds(const ProbeEngine &engine, const AnalysisProgressFn &progress,
                               int rounds)
    : m_engine(engine)
    , m_progress(progress)
    , m_rounds(rounds)
{
}

std::optional<QList<ProbeAnswer>> AnalysisRounds::run(const QList<DesignProbe> &probes)
{
    if (m_cancelled || !m_failure.isEmpty()) {
        return std::nullopt;
    }
    const std::optional<QList<ProbeAnswer>> answers = m_engine(probes);
    if (!answers || answers->size() != probes.size()) {
        m_cancelled = true;
        return std::nullopt;
    }
    for (const DesignProbe &probe : probes) {
        m_runs += probe.engineRuns();
    }
    for (qsizetype i = 0; i < probes.size(); ++i) {
        const ProbeAnswer &answer = answers->at(i);
        const DesignProbe &probe = probes.at(i);
        if (!answer.ok()) {
            m_failure = answer.message;
            m_failureKind = answer.failure;
            m_fault = AnalysisFault::Engine;
            return std::nullopt;
        }
        if ((probe.figuresMhz && !answer.figures) ||
            answer.points.size() != probe.frequenciesMhz.size()) {
            m_failure = QStringLiteral("nec2c gave fewer figures than were asked of it.");
            m_failureKind = EngineFailure::Unreadable;
            m_fault = AnalysisFault::Engine;
            return std::nullopt;
        }
    }
    ++m_round;
    m_rounds = std::max(m_rounds, m_round);
    if (m_progress && !m_progress({m_runs, m_round, m_rounds})) {
        m_cancelled = true;
        return std::nullopt;
    }
    return answers;
}

std::optional<ImpedanceCurve> AnalysisRounds::fitted(const QList<SweepPoint> &samples,
                                                     double lowMhz, double highMhz)
{
    QList<ImpedanceSample> impedances;
    for (const SweepPoint &point : samples) {
        const bool known = std::any_of(impedances.cbegin(), impedances.cend(), [&](const auto &s) {
            return std::fabs(s.frequencyMhz - point.frequencyMhz) <= 1e-9 * point.frequencyMhz;
        });
        if (!known) {
            impedances.append(
                ImpedanceSample{point.frequencyMhz, {point.feed.resistance, point.feed.reactance}});
        }
    }
    std::optional<RationalFit> fit = RationalFit::fit(impedances, lowMhz, highMhz);
    if (!fit) {
        if (m_failure.isEmpty()) {
            m_failure = QStringLiteral("The rational fit of nec2c's impedance over %1 to %2 MHz "
                                       "has a pole in the band.")
                            .arg(QLocale::c().toString(lowMhz, 'g', 7),
                                 QLocale::c().toString(highMhz, 'g', 7));
            m_failureKind = EngineFailure::UnsoundResult;
            m_fault = AnalysisFault::Engine;
        }
        return std::nullopt;
    }
    return ImpedanceCurve(std::move(*fit));
}

void AnalysisRounds::fail(AnalysisFault fault, const QString &sentence)
{
    if (m_failure.isEmpty() && !sentence.isEmpty()) {
        m_failure = sentence;
        m_failureKind = EngineFailure::None;
        m_fault = fault;
    }
}

QString AnalysisRounds::noDip(double lowMhz, double highMhz)
{
    return QStringLiteral("The model's SWR has no dip between %1 and %2 MHz: it is lowest at an "
                          "end of that range.")
        .arg(QLocale::c().toString(lowMhz, 'f', 3), QLocale::c().toString(highMhz, 'f', 3));
}

} // namespace moxon
