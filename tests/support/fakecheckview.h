#pragma once

#include "checkview.h"

#include <QList>
#include <QString>

namespace moxon::test {

// A check window without a screen: it keeps every call of the session, in order, as a short
// line ("check formula", "check started", "check figures", "check sweep", "check result",
// "tuning started", "tuning progress", "tuning ended voided", "trim ended failed"), and the
// last of each.
class FakeCheckView : public CheckView
{
public:
    bool isCheckShown() const override { return shown; }
    void showInstallation(const Installation &installation, const LengthScale &scale) override;
    void showCheckedDesign(const CheckRequest &request, CheckedDesign design) override;
    void showAnalysisStarted(AnalysisKind kind) override;
    void showAnalysisProgress(const CheckProgress &progress) override;
    void showAnalysisProgress(const TuneProgress &progress) override;
    void showAnalysisProgress(AnalysisKind kind, const AnalysisProgress &progress) override;
    void showMeasurement(const Measurement &shown) override;
    void showAnalysisResult(const SweepOutcome &sweep) override;
    void showAnalysisResult(const TuneResult &result, const TuneSetup &setup) override;
    void showAnalysisResult(const ToleranceResult &shown, const TuneSetup &setup) override;
    void showAnalysisResult(const TrimResult &shown, const TuneSetup &setup) override;
    void showAnalysisResult(const DiagnosisResult &shown, const TuneSetup &setup) override;
    void showAnalysisEnded(AnalysisKind kind, AnalysisEnd end, const QString &message) override;

    // The events without any progress and without the check's run, which comes as the engine
    // allows: which design was checked when, and how the other analyses went, in order.
    [[nodiscard]] QStringList outline() const;
    // Whether the last analysis of `kind` ended, with a result or without.
    [[nodiscard]] bool ended(AnalysisKind kind) const;

    bool shown = true;
    QStringList events;
    Installation installation;
    LengthScale scale;
    CheckRequest lastRequest;
    std::optional<DesignFigures> checkFigures; // the last the check showed
    QList<SweepPoint> checkSweep;              // its sweep so far
    std::optional<SweepOutcome> checkResult;
    std::optional<TuneResult> result;
    std::optional<Measurement> measurement;
    std::optional<ToleranceResult> tolerances;
    std::optional<TrimResult> trim;
    std::optional<DiagnosisResult> diagnosis;
    TuneSetup analysedSetup; // of the last tolerances, trim or diagnosis shown
    QString lastMessage;     // of the last analysis that ended without a result
};

// The name of `kind` in the events: "check", "tuning", "tolerances", "trim", "diagnosis".
[[nodiscard]] QString analysisName(AnalysisKind kind);

} // namespace moxon::test
