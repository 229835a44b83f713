// The design check against the engine itself, in one run, for the 14.15 MHz design in 2 mm
// wire in free space and 10 m over average ground (Sommerfeld-Norton) in copper, and for two
// high installations where the elevation pattern's lobes are dense: the 432.1 MHz design in
// 3 mm aluminium 13.3 m (19 wavelengths) and the 1296.1 MHz one 10 m (43 wavelengths) over
// average ground. For each round, bare nec2c on the design deck and on the whole 41-point sweep
// deck, then the session's check of the same design in the check window, timed from the check
// asked for to the figures shown and to the whole curve drawn. Prints the medians and the ratios
// the check is held to: figures within 100 ms over ground, the whole curve within 0.8 times the
// bare sweep; and, as yardsticks, the check's own schedule of engine runs run bare and the check's
// runner without a window. Usage: QT_QPA_PLATFORM=offscreen build/bench/bench_check [rounds]
// (default 15 rounds)
#include "checkreport.h"
#include "checkrunner.h"
#include "checkwindow.h"
#include "enginescheduler.h"
#include "median.h"
#include "session.h"
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

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <vector>

using namespace moxon;
using namespace moxon::bench;

namespace {

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

// The main window for the session: it shows nothing and asks nothing.
class BenchView : public DesignView
{
public:
    void showWireSize(const QString &, WireUnit) override {}
    void showDesign(const ShownDesign &) override {}
    void showMessage(const Message &) override {}
    void focusField(InputField) override {}
    std::optional<QString> askSavePath(ModelFormat) override { return std::nullopt; }
    void showSheet(bool) override {}
    bool confirm(const Message &) override { return false; }
    PrintOutcome printSheet() override { return PrintOutcome::Cancelled; }
    void closeWindow() override {}
};

// The decks the bare runs take, written into a folder: the design's, the whole 41-point
// sweep's and each slice's of the check, with whether it follows the figures run.
struct BareDecks
{
    QString design;
    QString sweep;
    QList<std::pair<QString, bool>> slices;
};

std::optional<BareDecks> writeBareDecks(const CheckRequest &request, int engines,
                                        const QTemporaryDir &folder)
{
    const double f0 = request.frequencyMhz;
    BareDecks decks{folder.filePath(QStringLiteral("design.nec")),
                    folder.filePath(QStringLiteral("sweep.nec")),
                    {}};
    const auto written = [](const QString &path, const QByteArray &deck) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(deck) == deck.size();
    };
    if (!request.refusal.isEmpty() || !written(decks.design, request.deck) ||
        !written(decks.sweep,
                 sweepDeck(request.deck, sweepFrequency(f0, 0), f0 * kSweepStep, kSweepPoints))) {
        return std::nullopt;
    }
    for (const SweepSlice &slice : checkSlices(request, engines)) {
        const QString path =
            folder.filePath(QStringLiteral("slice%1.nec").arg(decks.slices.size()));
        decks.slices.append({path, slice.followsFiguresRun});
        if (!written(path, slice.deck)) {
            return std::nullopt;
        }
    }
    return decks;
}

// Milliseconds from the check asked for to the figures shown, to the beamwidth shown (over
// ground it waits for the azimuth cut at the take-off angle) and to the whole curve.
std::array<double, 3> checkTimes(Session &session, CheckWindow &window)
{
    const auto *impedance = window.findChild<QLabel *>(QStringLiteral("impedance"));
    const auto *beamwidth = window.findChild<QLabel *>(QStringLiteral("beamwidth"));
    QElapsedTimer clock;
    clock.start();
    session.checkShownDesign();
    double figuresMs = -1;
    double azimuthMs = -1;
    while (window.isCalculating()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double now = double(clock.nsecsElapsed()) / 1e6;
        if (figuresMs < 0 && impedance->text().contains(u'Ω')) {
            figuresMs = now;
        }
        if (azimuthMs < 0 && beamwidth->text().contains(u'°')) {
            azimuthMs = now;
        }
    }
    return {figuresMs, azimuthMs, double(clock.nsecsElapsed()) / 1e6};
}

// One installation's rounds; false when a deck cannot be written.
bool benchInstallation(const QString &name, Session &session, int rounds, CheckWindow &window,
                       QTextStream &out)
{
    const CheckRequest request = *session.checkRequest();
    if (!request.refusal.isEmpty()) {
        out << "== " << name << ": refused: " << request.refusal << '\n';
        return true;
    }
    EngineScheduler scheduler; // one slot a core, as the program's
    QTemporaryDir folder;
    const std::optional<BareDecks> decks = writeBareDecks(request, scheduler.slots(), folder);
    if (!decks) {
        return false;
    }
    const QString output = folder.filePath(QStringLiteral("out.txt"));

    QList<double> bareDesign;
    QList<double> bareSweep;
    QList<double> bareParallel;
    QList<double> alone;
    QList<double> figures;
    QList<double> azimuth;
    QList<double> curve;
    CheckRunner runner(scheduler);
    for (int round = -1; round < rounds; ++round) { // round -1 warms the caches, uncounted
        const double designMs = bareRun(decks->design, output);
        const double sweepMs = bareRun(decks->sweep, output);
        const double parallelMs = bareSchedule(decks->design, decks->slices, folder.path());
        const double aloneMs = runnerAlone(runner, request);
        const auto [figuresMs, azimuthMs, curveMs] = checkTimes(session, window);
        if (round < 0) {
            continue;
        }
        bareDesign.append(designMs);
        bareSweep.append(sweepMs);
        bareParallel.append(parallelMs);
        alone.append(aloneMs);
        figures.append(figuresMs);
        azimuth.append(azimuthMs);
        curve.append(curveMs);
    }

    const auto ratios = [](const QList<double> &a, const QList<double> &b) {
        QList<double> result;
        for (qsizetype i = 0; i < a.size(); ++i) {
            result.append(a.at(i) / b.at(i));
        }
        return median(result);
    };
    out << "== " << name << ": rounds " << rounds << ", engines at once " << scheduler.slots()
        << ", medians in ms\n"
        << "bare nec2c, design deck:                 " << median(bareDesign) << '\n'
        << "bare nec2c, 41-point sweep deck:         " << median(bareSweep) << '\n'
        << "bare nec2c, the check's schedule:        " << median(bareParallel) << "   ("
        << decks->slices.size() << " slices, the design runs not counted)\n"
        << "check runner alone, no window:           " << median(alone) << '\n'
        << "check to figures shown:                  " << median(figures) << "   (goal <= 100)\n"
        << "check to the beamwidth shown:            " << median(azimuth) << '\n'
        << "check to whole curve:                    " << median(curve) << '\n'
        << "figures / bare design run:               " << ratios(figures, bareDesign) << '\n'
        << "curve / bare sweep:                      " << ratios(curve, bareSweep)
        << (request.installation.overGround() ? "   (goal <= 0.25)\n" : "   (goal <= 0.5)\n")
        // The same against what the cores gave the engine in this round: on a busy machine
        // the slices cannot run side by side at full speed, bare or not.
        << "curve / bare schedule:                   " << ratios(curve, bareParallel) << '\n';
    out.flush();
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // the check window's remembered installation
    const QStringList arguments = QApplication::arguments();
    const int rounds = arguments.size() > 1 ? arguments.at(1).toInt() : 15;
    QTextStream out(stdout);

    // Without the engine every time would be that of a failure to start it.
    if (QStandardPaths::findExecutable(nec2cProgram()).isEmpty()) {
        out << "nec2c is not on PATH: bash scripts/install-deps.sh test" << Qt::endl;
        return 1;
    }
    struct Bench
    {
        QString name;
        QString frequencyMhz;
        QString wireMm;
        Installation installation;
    };
    const Ground average{GroundKind::Real, 13, 0.005};
    const QList<Bench> benches = {
        {QStringLiteral("free space, perfect wire"), QStringLiteral("14.15"), QStringLiteral("2"),
         {}},
        {QStringLiteral("10 m over average ground, copper"), QStringLiteral("14.15"),
         QStringLiteral("2"), {10, average, copper()}},
        {QStringLiteral("432.1 MHz, 13.3 m over average ground, aluminium"),
         QStringLiteral("432.1"), QStringLiteral("3"), {13.3, average, aluminium()}},
        {QStringLiteral("1296.1 MHz, 10 m over average ground, aluminium"),
         QStringLiteral("1296.1"), QStringLiteral("3"), {10, average, aluminium()}},
    };
    // Each design in millimetre wire, in metres, checked in the window as the user has it.
    BenchView view;
    Session session(view, LocaleNumbers(QLocale::c()));
    session.formLoad();
    session.setWireUnit(WireUnit::Millimetre);
    session.selectDisplayUnit(DisplayUnit::Metre);
    CheckWindow window(session);
    session.setCheckView(&window);
    window.show();
    bool done = true;
    for (const Bench &bench : benches) {
        session.setFrequencyText(bench.frequencyMhz);
        session.setWireSizeText(bench.wireMm);
        session.setInstallation(bench.installation);
        done = done && session.calculate() == CalculateOutcome::Shown &&
               benchInstallation(bench.name, session, rounds, window, out);
    }
    session.setCheckView(nullptr);
    return done ? 0 : 1;
}
