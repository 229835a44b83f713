// The figures run over ground, from low to extreme heights: the 1296.1 MHz design in 3 mm
// aluminium over average ground, its design deck (the displayed elevation cut, and above about
// 14 wavelengths the finer one for the take-off angle) run through nec2c, then read into the
// design's figures as the check, tuning, the tolerances and the trim read them. Prints, per
// height, the medians of processor time: nec2c's (its child process), the reading of its output
// in this process, and their sum, which the figures run is held to (goal <= 100 ms); with the
// pattern directions the deck asks for and the take-off found.
// Usage: build/bench/bench_figures [rounds]   (default 9)
#include "benchdesigns.h"
#include "checkreport.h"
#include "elevationcuts.h"
#include "runnec2c.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace moxon;
using namespace moxon::bench;

namespace {

// Pattern directions of all RP cards of `deck`.
int patternDirections(const QByteArray &deck)
{
    int directions = 0;
    for (const QByteArray &line : deck.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 3 && fields.first() == "RP") {
            directions += fields.at(2).toInt() * fields.at(3).toInt();
        }
    }
    return directions;
}

} // namespace

int main(int argc, char *argv[])
{
    const QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 9;
    QTextStream out(stdout);
    if (QStandardPaths::findExecutable(nec2cProgram()).isEmpty()) {
        out << "nec2c is not on PATH: bash scripts/install-deps.sh test" << Qt::endl;
        return 1;
    }
    const BenchDesign design{QStringLiteral("23 cm, 3 mm aluminium, average ground"),
                             QStringLiteral("1296.1"),
                             QStringLiteral("3"),
                             WireUnit::Millimetre,
                             DisplayUnit::Metre,
                             {}};
    const double wavelength = freeSpaceWavelength(design.frequency.toDouble());
    out << "== " << design.name << ": rounds " << rounds << ", medians of processor time in ms\n";
    int failures = 0;
    for (const double height : {0.5, 10.0, 20.0, 43.0, 100.0, 200.0, 500.0}) {
        BenchDesign placed = design;
        placed.installation = {height * wavelength, {GroundKind::Real, 13, 0.005}, aluminium(), {}};
        const TuneSetup setup = setupOf(placed);
        const CheckRequest request = setup.requestFor(setup.formula);
        QList<double> engine;
        QList<double> reading;
        QList<double> total;
        FiguresStep step;
        for (int round = -1; round < rounds; ++round) { // round -1 warms up, uncounted
            const double children = processorMs(RUSAGE_CHILDREN);
            const EngineRun run = test::runNec2c(request.deck);
            const double self = processorMs(RUSAGE_SELF);
            step = readFiguresRun(run, request);
            const double engineMs = processorMs(RUSAGE_CHILDREN) - children;
            const double readingMs = processorMs(RUSAGE_SELF) - self;
            if (round >= 0) {
                engine.append(engineMs);
                reading.append(readingMs);
                total.append(engineMs + readingMs);
            }
        }
        failures += step.failure == EngineFailure::None ? 0 : 1;
        out << QString::number(height).rightJustified(5)
            << " λ: " << patternDirections(request.deck) << " directions; nec2c " << median(engine)
            << ", reading " << median(reading) << ", figures run " << median(total)
            << "   (goal <= 100); take-off "
            << (step.figures.takeoff ? QString::number(*step.figures.takeoff, 'f', 4)
                                     : QStringLiteral("none"))
            << "°, " << QString::number(step.figures.forwardGain, 'f', 2) << " dBi\n";
        out.flush();
    }
    return failures == 0 ? 0 : 1;
}
