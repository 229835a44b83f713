#pragma once

#include "checkreport.h"
#include "nec2crunner.h"

#include <QByteArray>
#include <QList>

#include <functional>
#include <optional>

namespace moxon {

// Runs `decks` side by side, each in an nec2c run of its own queued in `scheduler` (which never
// runs more engines at once than it has slots), under `options`' engine and time-out, and waits
// for all of them in an event loop of its own, in whichever thread calls it. The runs come back
// in the order of the decks, failed ones with what went wrong. `cancelled` is looked at while
// they run: when it says so the runs are ended and there is no result.
[[nodiscard]] std::optional<QList<EngineRun>>
runEngineBatch(const QList<QByteArray> &decks, EngineScheduler &scheduler,
               const CheckOptions &options = {}, const std::function<bool()> &cancelled = {});

} // namespace moxon
