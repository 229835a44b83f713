// The figures run over ground, from low to extreme heights: the 1296.1 MHz design in 3 mm
// aluminium over average ground, its design deck (the displayed elevation cut, and above about
// 14 wavelengths the finer one for the take-off angle) run through nec2c, then read into the
// design's figures as the check, tuning, the tolerances and the trim read them. Prints, per
// height, the medians of processor time: nec2c's (its child process), the reading of its output
// in this process, and their sum, which the figures run is held to (goal <= 100 ms); with the
// pattern directions the deck asks for and the take-off found; and, as a yardstick in the same
// rounds, the same deck with its fine cut across the whole plane instead of up from the
// horizons.
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

// `deck` with the fine cut's stretches up from the horizons replaced by one card across the
// whole plane in the same step; `deck` itself where it has no such stretches.
QByteArray wholePlaneDeck(const QByteArray &deck, double heightWavelengths)
{
    const QList<ElevationCut> cuts = elevationCuts(heightWavelengths);
    if (cuts.size() < 3) {
        return deck;
    }
    QByteArrayList cards;
    int patternCards = 0;
    for (const QByteArray &line : deck.split('\n')) {
        const QByteArray card = line.trimmed();
        if (card.startsWith("RP") && ++patternCards > 1) {
            if (patternCards == 2) {
                const double step = cuts.last().stepDegrees;
                const QList<QByteArray> fields = card.simplified().split(' ');
                cards.append(QStringLiteral("RP 0 %1 1 1000 -90 %2 %3 1")
                                 .arg(qRound(180 / step) + 1)
                                 .arg(QString::fromLatin1(fields.at(6)))
                                 .arg(step, 0, 'g', 17)
                                 .toLatin1());
            }
            continue;
        }
        if (!card.isEmpty()) {
            cards.append(card);
        }
    }
    return cards.join("\r\n") + "\r\n";
}

// Medians of processor time, ms, of `rounds` figures runs of `request` after a warm-up.
struct Timing
{
    double engine = 0;
    double reading = 0;
    double total = 0;
    FiguresStep step;
};

Timing timeFiguresRun(const CheckRequest &request, int rounds)
{
    QList<double> engine;
    QList<double> reading;
    QList<double> total;
    Timing timing;
    for (int round = -1; round < rounds; ++round) { // round -1 warms up, uncounted
        const double children = processorMs(RUSAGE_CHILDREN);
        const EngineRun run = test::runNec2c(request.deck);
        const double self = processorMs(RUSAGE_SELF);
        timing.step = readFiguresRun(run, request);
        const double engineMs = processorMs(RUSAGE_CHILDREN) - children;
        const double readingMs = processorMs(RUSAGE_SELF) - self;
        if (round >= 0) {
            engine.append(engineMs);
            reading.append(readingMs);
            total.append(engineMs + readingMs);
        }
    }
    timing.engine = median(engine);
    timing.reading = median(reading);
    timing.total = median(total);
    return timing;
}

QString takeoffText(const FiguresStep &step)
{
    return (step.figures.takeoff ? QString::number(*step.figures.takeoff, 'f', 4)
                                 : QStringLiteral("none")) +
           QStringLiteral("°, ") + QString::number(step.figures.forwardGain, 'f', 2) +
           QStringLiteral(" dBi");
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
        CheckRequest whole = request;
        whole.deck = wholePlaneDeck(request.deck, height);
        const Timing timing = timeFiguresRun(request, rounds);
        failures += timing.step.failure == EngineFailure::None ? 0 : 1;
        out << QString::number(height).rightJustified(5)
            << " λ: " << patternDirections(request.deck) << " directions; nec2c " << timing.engine
            << ", reading " << timing.reading << ", figures run " << timing.total
            << "   (goal <= 100); take-off " << takeoffText(timing.step) << '\n';
        if (whole.deck != request.deck) {
            const Timing yardstick = timeFiguresRun(whole, rounds);
            out << "       fine cut across the plane: " << patternDirections(whole.deck)
                << " directions; nec2c " << yardstick.engine << ", reading " << yardstick.reading
                << ", figures run " << yardstick.total << "; take-off "
                << takeoffText(yardstick.step) << "; ratio " << timing.total / yardstick.total
                << '\n';
        }
        out.flush();
    }
    return failures == 0 ? 0 : 1;
}
