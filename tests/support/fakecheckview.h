#pragma once

#include "checkview.h"

#include <QList>
#include <QString>

namespace moxon::test {

// A check window without a screen: it keeps what the session showed it, in order, as short
// lines ("check formula", "tuning started", "tuning ended voided"), and the last of each.
class FakeCheckView : public CheckView
{
public:
    bool isCheckShown() const override { return shown; }
    void showInstallation(const Installation &installation, const LengthScale &scale) override;
    void check(const CheckRequest &request, CheckedDesign design) override;
    void showTuningStarted() override;
    void showTuningProgress(const TuneProgress &progress) override;
    void showTuningResult(const TuneResult &result, const TuneSetup &setup) override;
    void showTuningEnded(TuningEnd end, const QString &message) override;

    bool shown = true;
    QStringList events;
    Installation installation;
    LengthScale scale;
    CheckRequest lastRequest;
    std::optional<TuneResult> result;
};

} // namespace moxon::test
