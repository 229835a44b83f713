#pragma once

#include "checkview.h"
#include "fakecheckview.h"

#include <QStringList>

namespace moxon::test {

// A session behind a check window in a test: what the user asked for kept as short lines, in
// order. It runs nothing; the test tells the window what a session would.
class FakeCheckCommands : public CheckCommands
{
public:
    void setInstallation(const Installation &installation) override
    {
        asked.append(QStringLiteral("installation"));
        lastInstallation = installation;
    }
    void setSweepMode(SweepMode) override { asked.append(QStringLiteral("sweep mode")); }
    void startTuning(TuneGoal) override { asked.append(QStringLiteral("tune")); }
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
    void startDiagnosis(const MeasuredAntenna &measured) override
    {
        asked.append(QStringLiteral("diagnosis"));
        lastMeasured = measured;
    }
    PrintOutcome printBuildSheet(const SheetPredictions &predictions) override
    {
        asked.append(QStringLiteral("print build sheet"));
        lastPredictions = predictions;
        return PrintOutcome::Printed;
    }
    std::optional<BuildSheet> buildSheet(const SheetPredictions &predictions) const override
    {
        if (!sheet) {
            return std::nullopt;
        }
        BuildSheet withPredictions = *sheet;
        setPredictions(withPredictions, predictions);
        return withPredictions;
    }
    void cancelAnalysis(AnalysisKind kind) override
    {
        asked.append(QStringLiteral("cancel ") + analysisName(kind));
    }

    QStringList asked;
    Installation lastInstallation;
    std::optional<double> lastCutError;
    MeasuredAntenna lastMeasured;
    SheetPredictions lastPredictions;
    std::optional<BuildSheet> sheet; // the design a session would give the sheet; none before one
    QString header;                  // what the session would give as the shown design's header
};

} // namespace moxon::test
