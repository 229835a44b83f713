#include "fakecheckview.h"

namespace moxon::test {

void FakeCheckView::showInstallation(const Installation &shownInstallation,
                                     const LengthScale &shownScale)
{
    installation = shownInstallation;
    scale = shownScale;
}

void FakeCheckView::check(const CheckRequest &request, CheckedDesign design)
{
    lastRequest = request;
    events.append(design == CheckedDesign::Tuned ? QStringLiteral("check tuned")
                                                 : QStringLiteral("check formula"));
}

void FakeCheckView::showTuningStarted()
{
    events.append(QStringLiteral("tuning started"));
}

void FakeCheckView::showTuningProgress(const TuneProgress &)
{
    // Rounds come as the engine allows: counted, not kept in order.
}

void FakeCheckView::showTuningResult(const TuneResult &tuned, const TuneSetup &)
{
    result = tuned;
    events.append(QStringLiteral("tuning result"));
}

namespace {

QString endName(AnalysisEnd end)
{
    static const QStringList names = {QStringLiteral("cancelled"), QStringLiteral("voided"),
                                      QStringLiteral("failed")};
    return names.at(qsizetype(end));
}

QString analysisName(BuildAnalysis analysis)
{
    return analysis == BuildAnalysis::Tolerances ? QStringLiteral("tolerances")
                                                 : QStringLiteral("trim");
}

} // namespace

void FakeCheckView::showTuningEnded(AnalysisEnd end, const QString &)
{
    events.append(QStringLiteral("tuning ended ") + endName(end));
}

void FakeCheckView::showAnalysisStarted(BuildAnalysis analysis)
{
    events.append(analysisName(analysis) + QStringLiteral(" started"));
}

void FakeCheckView::showAnalysisProgress(BuildAnalysis, const AnalysisProgress &)
{
    // Counted by the engine's rounds, not kept in order.
}

void FakeCheckView::showMeasurement(const Measurement &shown)
{
    measurement = shown;
    events.append(QStringLiteral("measurement"));
}

void FakeCheckView::showTolerances(const ToleranceResult &shown, const TuneSetup &setup)
{
    tolerances = shown;
    analysedSetup = setup;
    events.append(QStringLiteral("tolerances result"));
}

void FakeCheckView::showTrim(const TrimResult &shown, const TuneSetup &setup)
{
    trim = shown;
    analysedSetup = setup;
    events.append(QStringLiteral("trim result"));
}

void FakeCheckView::showAnalysisEnded(BuildAnalysis analysis, AnalysisEnd end,
                                      const QString &message)
{
    lastMessage = message;
    events.append(analysisName(analysis) + QStringLiteral(" ended ") + endName(end));
}

} // namespace moxon::test
