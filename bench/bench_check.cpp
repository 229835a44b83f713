// The design check against the engine itself, in one run: for each round, bare nec2c on the
// design deck and on the whole 41-point sweep deck, then the check window's check of the same
// design, timed from check() to the figures shown and to the whole curve drawn. Prints the
// medians and the two ratios the check is held to: figures at most 50 ms, and the whole
// curve at most 1.2 times the bare sweep's time divided over the cores.
// Usage: QT_QPA_PLATFORM=offscreen build/bench/bench_check [rounds] [deck] [MHz]
// (default 15 rounds, tests/data/startup.nec, 146 MHz)

#include "designcheckwindow.h"
#include "nec2crunner.h"
#include "sweepplan.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <algorithm>

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

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const int rounds = arguments.size() > 1 ? arguments.at(1).toInt() : 15;
    const QString deckPath = arguments.size() > 2 ? arguments.at(2)
                                                  : QStringLiteral(MOXON_SOURCE_DIR
                                                                   "/tests/data/startup.nec");
    const double f0 = arguments.size() > 3 ? arguments.at(3).toDouble() : 146;
    QTextStream out(stdout);

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

    DesignCheckWindow window;
    window.show();
    auto *impedance = window.findChild<QLabel *>(QStringLiteral("impedance"));
    const CheckRequest request{deck, f0, BeamAxis::X};

    QList<double> bareDesign;
    QList<double> bareSweep;
    QList<double> figures;
    QList<double> curve;
    for (int round = -1; round < rounds; ++round) { // round -1 warms the caches, uncounted
        const double designMs = bareRun(designDeck, output);
        const double sweepMs = bareRun(fullSweep, output);

        QElapsedTimer clock;
        clock.start();
        window.check(request, QStringLiteral("bench"));
        double figuresMs = -1;
        while (window.isCalculating()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (figuresMs < 0 && impedance->text().contains(u'Ω')) {
                figuresMs = double(clock.nsecsElapsed()) / 1e6;
            }
        }
        const double curveMs = double(clock.nsecsElapsed()) / 1e6;
        if (round < 0) {
            continue;
        }
        bareDesign.append(designMs);
        bareSweep.append(sweepMs);
        figures.append(figuresMs);
        curve.append(curveMs);
    }

    const int cores = QThread::idealThreadCount();
    out << "rounds " << rounds << ", cores " << cores << ", medians in ms\n";
    out << "bare nec2c, design deck:          " << median(bareDesign) << '\n';
    out << "bare nec2c, 41-point sweep deck:  " << median(bareSweep) << '\n';
    out << "check() to figures shown:         " << median(figures) << "   (goal <= 50)\n";
    out << "check() to whole curve:           " << median(curve) << '\n';
    QList<double> figureRatios;
    QList<double> curveRatios;
    for (qsizetype i = 0; i < curve.size(); ++i) {
        figureRatios.append(figures.at(i) / bareDesign.at(i));
        curveRatios.append(curve.at(i) / (bareSweep.at(i) / cores));
    }
    out << "figures / bare design run:        " << median(figureRatios) << '\n';
    out << "curve / (bare sweep / cores):     " << median(curveRatios) << "   (goal <= 1.2)\n";
    out.flush();
    return 0;
}
