#include "runnec2c.h"

#include "enginescheduler.h"

#include <QEventLoop>

namespace moxon::test {

EngineRun runNec2c(const QByteArray &deck, const QString &program, int timeoutMs)
{
    EngineScheduler scheduler(1);
    Nec2cRunner runner(scheduler, program, timeoutMs);
    QEventLoop loop;
    QObject::connect(&runner, &Nec2cRunner::finished, &loop, &QEventLoop::quit);
    runner.start(deck);
    loop.exec();
    return runner.result();
}

} // namespace moxon::test
