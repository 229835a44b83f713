#pragma once

#include "checkview.h"

#include <QStringList>

namespace moxon::test {

// A session behind a check window in a test: a scheduler of its own for the window's engine
// runs, and what the user asked for kept as short lines, in order.
class FakeCheckCommands : public CheckCommands
{
public:
    explicit FakeCheckCommands(CheckOptions options = {})
        : m_options(std::move(options))
    {
    }

    EngineScheduler &engineScheduler() override { return m_scheduler; }
    const CheckOptions &engineOptions() const override { return m_options; }
    void setInstallation(const Installation &installation) override
    {
        asked.append(QStringLiteral("installation"));
        lastInstallation = installation;
    }
    void setSweepMode(SweepMode) override { asked.append(QStringLiteral("sweep mode")); }
    void startTuning(TuneGoal) override { asked.append(QStringLiteral("tune")); }
    void cancelTuning() override { asked.append(QStringLiteral("cancel")); }
    ExportOutcome exportTunedModel() override
    {
        asked.append(QStringLiteral("export tuned"));
        return ExportOutcome::Cancelled;
    }
    QString shownDesignHeader() const override { return header; }
    void startTolerances(std::optional<double> cutError) override
    {
        asked.append(QStringLiteral("tolerances"));
        lastCutError = cutError;
    }
    void startTrim(const MeasuredAntenna &measured) override
    {
        asked.append(QStringLiteral("trim"));
        lastMeasured = measured;
    }
    void cancelAnalysis(BuildAnalysis analysis) override
    {
        asked.append(analysis == BuildAnalysis::Tolerances ? QStringLiteral("cancel tolerances")
                                                           : QStringLiteral("cancel trim"));
    }

    QStringList asked;
    Installation lastInstallation;
    std::optional<double> lastCutError;
    MeasuredAntenna lastMeasured;
    QString header; // what the session would give as the shown design's header

private:
    EngineScheduler m_scheduler;
    CheckOptions m_options;
};

} // namespace moxon::test
