#pragma once

#include "checkview.h"

#include <QList>
#include <QString>

namespace moxon::test {

// A check window without a screen: it keeps what the session showed it, in order, as short
// lines ("check formula", "tuning started", "tuning ended voided",
// "trim ended failed"), and the last of each.
class FakeCheckView : public CheckView
{
public:
    bool isCheckShown() const override { return shown; }
    void showInstallation(const Installation &installation, const LengthScale &scale) override;
    void check(const CheckRequest &request, CheckedDesign design) override;
    void showTuningStarted() override;
    void showTuningProgress(const TuneProgress &progress) override;
    void showTuningResult(const TuneResult &result, const TuneSetup &setup) override;
    void showTuningEnded(AnalysisEnd end, const QString &message) override;
    void showAnalysisStarted(BuildAnalysis analysis) override;
    void showAnalysisProgress(BuildAnalysis analysis, const AnalysisProgress &progress) override;
    void showMeasurement(const Measurement &shown) override;
    void showTolerances(const ToleranceResult &shown, const TuneSetup &setup) override;
    void showTrim(const TrimResult &shown, const TuneSetup &setup) override;
    void showAnalysisEnded(BuildAnalysis analysis, AnalysisEnd end,
                           const QString &message) override;

    bool shown = true;
    QStringList events;
    Installation installation;
    LengthScale scale;
    CheckRequest lastRequest;
    std::optional<TuneResult> result;
    std::optional<Measurement> measurement;
    std::optional<ToleranceResult> tolerances;
    std::optional<TrimResult> trim;
    TuneSetup analysedSetup; // of the last tolerances or trim shown
    QString lastMessage;     // of the last analysis that ended without a result
};

} // namespace moxon::test
