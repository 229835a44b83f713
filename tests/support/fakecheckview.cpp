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

void FakeCheckView::showTuningEnded(TuningEnd end, const QString &)
{
    static const QStringList names = {QStringLiteral("cancelled"), QStringLiteral("voided"),
                                      QStringLiteral("failed")};
    events.append(QStringLiteral("tuning ended ") + names.at(qsizetype(end)));
}

} // namespace moxon::test
