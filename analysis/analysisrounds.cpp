#include "analysisrounds.h"

#include "sweepplan.h"

#include <QLocale>

#include <algorithm>

namespace moxon {

AnalysisRounds::AnalysisRounds(const ProbeEngine &engine, const AnalysisProgressFn &progress,
                               int rounds)
    : m_engine(engine)
    , m_progress(progress)
    , m_rounds(rounds)
{
    m_clock.start();
}

std::optional<QList<ProbeAnswer>> AnalysisRounds::run(const QList<DesignProbe> &probes)
{
    if (m_cancelled || !m_message.isEmpty()) {
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
            m_message = answer.message;
            m_failure = answer.failure;
            m_fault = AnalysisFault::Engine;
            return std::nullopt;
        }
        if ((probe.figuresMhz && !answer.figures) ||
            answer.points.size() != probe.frequenciesMhz.size()) {
            m_message = QStringLiteral("nec2c gave fewer figures than were asked of it.");
            m_failure = EngineFailure::Unreadable;
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
                                                     double lowerMhz, double upperMhz)
{
    std::optional<RationalFit> fit =
        RationalFit::fit(impedanceSamples(samples), lowerMhz, upperMhz);
    if (!fit) {
        if (m_message.isEmpty()) {
            m_message = QStringLiteral("The rational fit of nec2c's impedance over %1 to %2 MHz "
                                       "has a pole in the band.")
                            .arg(QLocale::c().toString(lowerMhz, 'g', 7),
                                 QLocale::c().toString(upperMhz, 'g', 7));
            m_failure = EngineFailure::UnsoundResult;
            m_fault = AnalysisFault::Engine;
        }
        return std::nullopt;
    }
    return ImpedanceCurve(std::move(*fit));
}

void AnalysisRounds::fail(AnalysisFault fault, const QString &sentence)
{
    if (m_message.isEmpty() && !sentence.isEmpty()) {
        m_message = sentence;
        m_failure = EngineFailure::None;
        m_fault = fault;
    }
}

QString AnalysisRounds::noDip(double lowerMhz, double upperMhz)
{
    return QStringLiteral("The model's SWR has no dip between %1 and %2 MHz: it is lowest at an "
                          "end of that range.")
        .arg(QLocale::c().toString(lowerMhz, 'f', 3), QLocale::c().toString(upperMhz, 'f', 3));
}

std::optional<double> AnalysisRounds::dipWithin(const std::optional<ImpedanceCurve> &curve,
                                                double mhz)
{
    const std::optional<double> dip =
        curve ? curve->dip(sweepLowEdge(mhz), sweepHighEdge(mhz)) : std::nullopt;
    if (!dip) {
        fail(AnalysisFault::NoDip, noDip(sweepLowEdge(mhz), sweepHighEdge(mhz)));
    }
    return dip;
}

QList<double> AnalysisRounds::acrossSweep(double mhz)
{
    QList<double> frequencies;
    for (const int index : {0, 6, kSweepPoints - 7, kSweepPoints - 1}) {
        frequencies.append(sweepFrequency(mhz, index));
    }
    return frequencies;
}

} // namespace moxon
