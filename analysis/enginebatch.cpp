#include "enginebatch.h"

#include <QEventLoop>
#include <QTimer>

#include <memory>
#include <vector>

namespace moxon {

namespace {

constexpr int kCancelPollMs = 20; // how often a batch looks whether it was cancelled

} // namespace

std::optional<QList<EngineRun>> runEngineBatch(const QList<QByteArray> &decks,
                                               EngineScheduler &scheduler,
                                               const CheckOptions &options,
                                               const std::function<bool()> &cancelled)
{
    if (cancelled && cancelled()) {
        return std::nullopt;
    }
    QEventLoop loop;
    std::vector<std::unique_ptr<Nec2cRunner>> runners;
    int left = 0;
    for (const QByteArray &deck : decks) {
        runners.push_back(
            std::make_unique<Nec2cRunner>(scheduler, options.engine, options.timeoutMs));
        ++left;
        QObject::connect(runners.back().get(), &Nec2cRunner::finished, &loop, [&left, &loop] {
            if (--left == 0) {
                loop.quit();
            }
        });
        runners.back()->start(deck);
    }
    // The runs queue in the scheduler beside every other engine run; a cancel is looked for
    // while they run.
    QTimer watch;
    bool stopped = false;
    if (cancelled) {
        QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
            if (cancelled()) {
                stopped = true;
                loop.quit();
            }
        });
        watch.start(kCancelPollMs);
    }
    if (left > 0) {
        loop.exec();
    }
    if (stopped || (cancelled && cancelled())) {
        return std::nullopt; // the runs end with their runners
    }
    QList<EngineRun> runs;
    for (const std::unique_ptr<Nec2cRunner> &runner : runners) {
        runs.append(runner->result());
    }
    return runs;
}

} // namespace moxon
