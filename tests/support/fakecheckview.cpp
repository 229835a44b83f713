#include "fakecheckview.h"

namespace moxon::test {

namespace {

QString endName(AnalysisEnd end)
{
    static const QStringList names = {QStringLiteral("cancelled"), QStringLiteral("voided"),
                                      QStringLiteral("failed")};
    return names.at(qsizetype(end));
}

} // namespace

QString analysisName(AnalysisKind kind)
{
    static const QStringList names = {QStringLiteral("check"), QStringLiteral("tuning"),
                                      QStringLiteral("tolerances"), QStringLiteral("trim"),
                                      QStringLiteral("diagnosis")};
    return names.at(qsizetype(kind));
}

void FakeCheckView::showInstallation(const Installation &shownInstallation,
                                     const LengthScale &shownScale)
{
    installation = shownInstallation;
    scale = shownScale;
}

void FakeCheckView::showCheckedDesign(const CheckRequest &request, CheckedDesign design)
{
    lastRequest = request;
    checkFigures.reset();
    checkSweep.clear();
    checkResult.reset();
    events.append(design == CheckedDesign::Tuned ? QStringLiteral("check tuned")
                                                 : QStringLiteral("check formula"));
}

void FakeCheckView::showAnalysisStarted(AnalysisKind kind)
{
    events.append(analysisName(kind) + QStringLiteral(" started"));
}

void FakeCheckView::showAnalysisProgress(const CheckProgress &progress)
{
    if (const auto *figures = std::get_if<DesignFigures>(&progress)) {
        checkFigures = *figures;
        events.append(QStringLiteral("check figures"));
    } else {
        checkSweep = std::get<QList<SweepPoint>>(progress);
        events.append(QStringLiteral("check sweep"));
    }
}

void FakeCheckView::showAnalysisProgress(const TuneProgress &)
{
    events.append(QStringLiteral("tuning progress"));
}

void FakeCheckView::showAnalysisProgress(AnalysisKind kind, const AnalysisProgress &)
{
    events.append(analysisName(kind) + QStringLiteral(" progress"));
}

void FakeCheckView::showMeasurement(const Measurement &shown)
{
    measurement = shown;
    events.append(QStringLiteral("measurement"));
}

void FakeCheckView::showAnalysisResult(const SweepOutcome &sweep)
{
    checkResult = sweep;
    events.append(QStringLiteral("check result"));
}

void FakeCheckView::showAnalysisResult(const TuneResult &tuned, const TuneSetup &)
{
    result = tuned;
    events.append(QStringLiteral("tuning result"));
}

void FakeCheckView::showAnalysisResult(const ToleranceResult &shown, const TuneSetup &setup)
{
    tolerances = shown;
    analysedSetup = setup;
    events.append(QStringLiteral("tolerances result"));
}

void FakeCheckView::showAnalysisResult(const TrimResult &shown, const TuneSetup &setup)
{
    trim = shown;
    analysedSetup = setup;
    events.append(QStringLiteral("trim result"));
}

void FakeCheckView::showAnalysisResult(const DiagnosisResult &shown, const TuneSetup &setup)
{
    diagnosis = shown;
    analysedSetup = setup;
    events.append(QStringLiteral("diagnosis result"));
}

void FakeCheckView::showAnalysisEnded(AnalysisKind kind, AnalysisEnd end, const QString &message)
{
    lastMessage = message;
    events.append(analysisName(kind) + QStringLiteral(" ended ") + endName(end));
}

QStringList FakeCheckView::outline() const
{
    QStringList outline;
    for (const QString &event : events) {
        if (!event.endsWith(QStringLiteral(" progress")) &&
            (!event.startsWith(QStringLiteral("check ")) ||
             event == QStringLiteral("check formula") || event == QStringLiteral("check tuned"))) {
            outline.append(event);
        }
    }
    return outline;
}

bool FakeCheckView::ended(AnalysisKind kind) const
{
    const QString name = analysisName(kind);
    for (qsizetype i = events.size() - 1; i >= 0; --i) {
        if (events.at(i).startsWith(name + QStringLiteral(" "))) {
            return events.at(i).startsWith(name + QStringLiteral(" ended")) ||
                   events.at(i) == name + QStringLiteral(" result");
        }
    }
    return false;
}

} // namespace moxon::test
