// The design check against the engine itself, in one run: for each round, bare nec2c on the
// design deck and on the whole 41-point sweep deck, then the check window's check of the same
// design, timed from check() to the figures shown and to the whole curve drawn. Prints the
// medians and the two ratios the check is held to: figures at most 50 ms, and the whole
// curve at most 1.2 times the bare sweep's time divided over the cores; and, as yardsticks,
// the check's own schedule of engine runs run bare and the check's runner without a window.
// Usage: QT_QPA_PLATFORM=offscreen build/bench/bench_check [rounds] [deck] [MHz]
// (default 15 rounds, tests/data/startup.nec, 146 MHz)

#include "checkreport.h"
#include "checkrunner.h"
#include "designcheckwindow.h"
#include "nec2crunner.h"
#include "sweepplan.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <memory>
#include <vector>

using namespace moxon;

namespace {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n == 0 ? 0 : n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
}

// Milliseconds of one nec2c process on `deck`, written beforehand, as a shell would run it.
double bareRun(const QString &deck, const QString &output)
{
    QElapsedTimer clock;
    clock.start();
    QProcess::execute(QStringLiteral("nec2c"),
                      {QStringLiteral("-i"), deck, QStringLiteral("-o"), output});
    return double(clock.nsecsElapsed()) / 1e6;
}

// Milliseconds of the check's own schedule run bare: the design deck and the slices beside
// it started at once, the slice that follows it started when it ends. What the engine itself
// makes of the machine's cores at this moment, without the program around it.
double bareSchedule(const QString &design, const QList<std::pair<QString, bool>> &slices,
                    const QString &folder)
{
    QElapsedTimer clock;
    clock.start();
    const auto started = [&](const QString &deck, int index) {
        auto process = std::make_unique<QProcess>();
        process->start(QStringLiteral("nec2c"), {QStringLiteral("-i"), deck, QStringLiteral("-o"),
                                                 folder + QStringLiteral("/run%1.out").arg(index)});
        return process;
    };
    std::vector<std::unique_ptr<QProcess>> processes;
    auto designRun = started(design, -1);
    for (qsizetype i = 0; i < slices.size(); ++i) {
        if (!slices.at(i).second) {
            processes.push_back(started(slices.at(i).first, int(i)));
        }
    }
    designRun->waitForFinished();
    for (qsizetype i = 0; i < slices.size(); ++i) {
        if (slices.at(i).second) {
            processes.push_back(started(slices.at(i).first, int(i)));
        }
    }
    for (const auto &process : processes) {
        process->waitForFinished();
    }
    return double(clock.nsecsElapsed()) / 1e6;
}

// Milliseconds of the check's runner alone, from start() to the whole curve, no window.
double runnerAlone(CheckRunner &runner, const CheckRequest &request)
{
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    const auto done =
        QObject::connect(&runner, &CheckRunner::sweepFinished, &loop, &QEventLoop::quit);
    runner.start(request);
    loop.exec();
    QObject::disconnect(done);
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const int rounds = arguments.size() > 1 ? arguments.at(1).toInt() : 15;
    const QString deckPath = arguments.size() > 2
                                 ? arguments.at(2)
                                 : QStringLiteral(MOXON_SOURCE_DIR "/tests/data/startup.nec");
    const double f0 = arguments.size() > 3 ? arguments.at(3).toDouble() : 146;
    QTextStream out(stdout);

    // Without the engine every time would be that of a failure to start it.
    if (QStandardPaths::findExecutable(nec2cProgram()).isEmpty()) {
        out << "nec2c is not on PATH: bash scripts/install-deps.sh test" << Qt::endl;
        return 1;
    }
    QFile deckFile(deckPath);
    if (!deckFile.open(QIODevice::ReadOnly)) {
        out << "cannot read " << deckPath << Qt::endl;
        return 1;
    }
    const QByteArray deck = deckFile.readAll();
    QTemporaryDir folder;
    const QString designDeck = folder.filePath(QStringLiteral("design.nec"));
    const QString fullSweep = folder.filePath(QStringLiteral("sweep.nec"));
    QFile design(designDeck);
    QFile sweep(fullSweep);
    if (!design.open(QIODevice::WriteOnly) || !sweep.open(QIODevice::WriteOnly)) {
        return 1;
    }
    design.write(deck);
    sweep.write(sweepDeck(deck, sweepFrequency(f0, 0), f0 * kSweepStep, kSweepPoints));
    design.close();
    sweep.close();
    const QString output = folder.filePath(QStringLiteral("out.txt"));
    QList<std::pair<QString, bool>> sliceDecks; // each slice's deck, and whether it follows
    CheckRequest request;
    request.deck = deck;
    request.frequencyMhz = f0;
    request.header = QStringLiteral("bench");
    for (const SweepSlice &slice : checkSlices(request, {})) {
        const QString path = folder.filePath(QStringLiteral("slice%1.nec").arg(sliceDecks.size()));
        sliceDecks.append({path, slice.followsDesign});
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(slice.deck) != slice.deck.size()) {
            return 1;
        }
    }

    DesignCheckWindow window;
    window.show();
    // Milliseconds from check() to the figures shown and to the whole curve.
    auto *impedance = window.findChild<QLabel *>(QStringLiteral("impedance"));
    const auto checkTimes = [&] {
        QElapsedTimer clock;
        clock.start();
        window.check(request);
        double figuresMs = -1;
        while (window.isCalculating()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (figuresMs < 0 && impedance->text().contains(u'Ω')) {
                figuresMs = double(clock.nsecsElapsed()) / 1e6;
            }
        }
        return std::pair(figuresMs, double(clock.nsecsElapsed()) / 1e6);
    };

    QList<double> bareDesign;
    QList<double> bareSweep;
    QList<double> bareParallel;
    QList<double> alone;
    QList<double> figures;
    QList<double> curve;
    CheckRunner runner;
    for (int round = -1; round < rounds; ++round) { // round -1 warms the caches, uncounted
        const double designMs = bareRun(designDeck, output);
        const double sweepMs = bareRun(fullSweep, output);
        const double parallelMs = bareSchedule(designDeck, sliceDecks, folder.path());
        const double aloneMs = runnerAlone(runner, request);
        const auto [figuresMs, curveMs] = checkTimes();
        if (round < 0) {
            continue;
        }
        bareDesign.append(designMs);
        bareSweep.append(sweepMs);
        bareParallel.append(parallelMs);
        alone.append(aloneMs);
        figures.append(figuresMs);
        curve.append(curveMs);
    }

    const int cores = QThread::idealThreadCount();
    const auto ratios = [](const QList<double> &a, const QList<double> &b, double divisor) {
        QList<double> result;
        for (qsizetype i = 0; i < a.size(); ++i) {
            result.append(a.at(i) / (b.at(i) / divisor));
        }
        return median(result);
    };
    out << "rounds " << rounds << ", cores " << cores << ", medians in ms\n"
        << "bare nec2c, design deck:                 " << median(bareDesign) << '\n'
        << "bare nec2c, 41-point sweep deck:         " << median(bareSweep) << '\n'
        << "bare nec2c, the check's schedule:        " << median(bareParallel) << "   ("
        << sliceDecks.size() << " slices)\n"
        << "check runner alone, no window:           " << median(alone) << '\n';
    out << "check() to figures shown:                " << median(figures) << "   (goal <= 50)\n"
        << "check() to whole curve:                  " << median(curve) << '\n'
        << "figures / bare design run:               " << ratios(figures, bareDesign, 1) << '\n'
        << "curve / (bare sweep / cores):            " << ratios(curve, bareSweep, cores)
        << "   (goal <= 1.2)\n"
        // The same against what the cores gave the engine in this round: on a busy machine
        // the slices cannot run side by side at full speed, bare or not.
        << "curve / bare schedule:                   " << ratios(curve, bareParallel, 1) << '\n';
    out.flush();
    return 0;
}
