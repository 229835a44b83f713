// The take-off figures against nec2c's own fine elevation cut, on random installations: designs
// from 1.8 to 1296 MHz in copper or aluminium, horizontal or vertical, along either axis,
// 0.1 to 60 wavelengths (or as high as asked) over every ground the window names and perfect
// ground. For each, the check's runner (the figures at the take-off angle, as the window and
// moxon-cli check show them) and the figures run alone (as tuning, the tolerances and the trim read
// them) against the strongest direction of a cut towards the beam from the horizon to the zenith in
// steps of at most 0.02 degrees and a two-hundredth of the lobes' spacing. Prints each case and the
// worst errors: the angle in degrees and in lobe spacings (there), the gain in dB.
// Usage: build/bench/takeoff_compare [cases] [seed] [highest wavelengths]
// (default 40 cases, seed 1, 60 wavelengths)
#include "calculation.h"
#include "checkreport.h"
#include "checkrequest.h"
#include "checkrunner.h"
#include "elevationcuts.h"
#include "nec2crunner.h"
#include "patterncards.h"
#include "runnec2c.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace moxon;

namespace {

struct Errors
{
    double degrees = 0;
    double spacings = 0;
    double gainDb = 0;
    int failed = 0; // beyond a twentieth of the spacing or 0.15 dB

    void add(double angle, double spacing, double gain)
    {
        degrees = std::max(degrees, angle);
        spacings = std::max(spacings, angle / spacing);
        gainDb = std::max(gainDb, gain);
        failed += angle > spacing / 20 || gain > 0.15 ? 1 : 0;
    }
};

// nec2c's own take-off: the strongest direction of a fine cut towards the beam, of equal ones
// the lowest; elevation and gain.
std::optional<std::pair<double, double>> fineTakeoff(const CheckRequest &request, double spacing)
{
    const double wanted = std::min(0.02, spacing / 200);
    const auto steps = int(std::ceil(90 / wanted));
    const double step = 90.0 / steps;
    QByteArray deck;
    for (const QByteArray &line : request.deck.split('\n')) {
        const QByteArray card = line.trimmed();
        if (!card.isEmpty() && !card.startsWith("RP") && !card.startsWith("EN")) {
            deck += card + "\r\n";
        }
    }
    deck += QStringLiteral("RP 0 %1 1 1000 0 %2 %3 1\r\nEN\r\n")
                .arg(steps + 1)
                .arg(forwardAzimuth(request.axis))
                .arg(QString::number(step, 'g', 17))
                .toLatin1();
    const NecOutput output = parseNecOutput(test::runNec2c(deck, nec2cProgram(), 600'000).output);
    if (output.frequencies.size() != 1) {
        return std::nullopt;
    }
    NecFrequencyResult result = output.frequencies.first();
    takeDeckAngles(result, deck);
    std::optional<std::pair<double, double>> best;
    for (const PatternPoint &point : result.pattern) {
        const double elevation = 90 - point.theta;
        if (!best || point.totalGain > best->second ||
            (point.totalGain == best->second && elevation < best->first)) {
            best = std::pair(elevation, point.totalGain);
        }
    }
    return best;
}

// The check's figures at the take-off angle: the runner's last figures before its sweep ends.
std::optional<DesignFigures> checkedFigures(const CheckRequest &request, EngineScheduler &scheduler)
{
    CheckRunner runner(scheduler);
    QEventLoop loop;
    std::optional<DesignFigures> last;
    QObject::connect(&runner, &CheckRunner::figuresReady, &loop,
                     [&](quint64, const DesignFigures &figures) {
                         last = figures;
                         if (!figures.azimuth.isEmpty()) {
                             loop.quit();
                         }
                     });
    QObject::connect(&runner, &CheckRunner::sweepFinished, &loop, &QEventLoop::quit);
    QObject::connect(&runner, &CheckRunner::failed, &loop, [&] {
        last.reset();
        loop.quit();
    });
    runner.start(request);
    loop.exec();
    runner.cancel();
    return last;
}

struct Case
{
    QString frequency;
    QString wireMm;
    bool vertical = false;
    bool xAxis = true;
    double heightWavelengths = 0;
    Installation installation;
    QString groundName;
};

Case randomCase(QRandomGenerator &random, double highest)
{
    QList<std::pair<QString, Ground>> grounds{{QStringLiteral("perfect"), {GroundKind::Perfect}}};
    for (const GroundPreset &preset : groundPresets()) {
        grounds.append(
            {preset.name.toString(), {GroundKind::Real, preset.permittivity, preset.conductivity}});
    }
    Case c;
    const double mhz = 1.8 * std::pow(1296 / 1.8, random.generateDouble());
    c.frequency = QString::number(mhz, 'f', 3);
    c.wireMm = QStringList{QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}.at(
        random.bounded(3));
    c.vertical = random.bounded(2) == 1;
    c.xAxis = random.bounded(2) == 1;
    c.heightWavelengths = 0.1 + (highest - 0.1) * random.generateDouble();
    const auto &[name, ground] = grounds.at(random.bounded(int(grounds.size())));
    c.groundName = name;
    c.installation = {c.heightWavelengths * freeSpaceWavelength(c.frequency.toDouble()),
                      ground,
                      random.bounded(2) == 1 ? copper() : aluminium(),
                      {}};
    return c;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int cases = arguments.size() > 1 ? arguments.at(1).toInt() : 40;
    QRandomGenerator random(arguments.size() > 2 ? arguments.at(2).toUInt() : 1);
    const double highest = arguments.size() > 3 ? arguments.at(3).toDouble() : 60;
    QTextStream out(stdout);
    EngineScheduler scheduler;
    Errors check;
    Errors figuresRun;
    int compared = 0;
    int skipped = 0;
    int moved = 0; // cases where the check's fine cuts chose another lobe than the figures run
    for (int n = 0; n < cases; ++n) {
        const Case c = randomCase(random, highest);
        const Calculation run = calculate(FormInputs{c.frequency, c.wireMm, WireUnit::Millimetre},
                                          DisplayUnit::Metre, LocaleNumbers(QLocale::c()));
        const CheckRequest request =
            checkRequestFor(modelInputFor(run.shown, run.input, c.vertical, c.xAxis),
                            run.form.wireSize, c.installation);
        out << c.frequency << " MHz, " << c.wireMm << " mm "
            << (c.installation.conductor.kind == ConductorKind::Copper ? "copper" : "aluminium")
            << (c.vertical ? ", vertical" : ", horizontal") << (c.xAxis ? " along X" : " along Y")
            << ", " << QString::number(c.heightWavelengths, 'f', 2) << " λ over " << c.groundName;
        if (!request.refusal.isEmpty()) {
            out << ": refused: " << request.refusal << '\n';
            ++skipped;
            continue;
        }
        // Lobe spacing at the reference's take-off, degrees.
        const double spacing = lobeSpacingDegrees(c.heightWavelengths);
        const auto fine = fineTakeoff(request, spacing);
        const std::optional<DesignFigures> checked = checkedFigures(request, scheduler);
        const FiguresStep alone = readFiguresRun(test::runNec2c(request.deck), request);
        if (!fine || !checked || !checked->takeoff || alone.failure != EngineFailure::None) {
            out << ": no figures\n";
            ++skipped;
            continue;
        }
        const double there = spacing / std::cos(fine->first * std::numbers::pi / 180);
        const auto report = [&](const char *what, const DesignFigures &figures, Errors &errors) {
            const double angle = std::fabs(*figures.takeoff - fine->first);
            const double gain = std::fabs(figures.forwardGain - fine->second);
            errors.add(angle, there, gain);
            out << "\n    " << what << QString::number(*figures.takeoff, 'f', 4) << "° ("
                << QString::number(angle / there, 'f', 3) << " spacing), "
                << QString::number(figures.forwardGain, 'f', 2) << " dBi, F/B "
                << QString::number(figures.frontToBack, 'f', 2) << " dB";
        };
        out << ", spacing " << QString::number(there, 'f', 3)
            << "°\n    nec2c fine cut: " << QString::number(fine->first, 'f', 4) << "°, "
            << fine->second << " dBi";
        report("check:          ", *checked, check);
        report("figures run:    ", alone.figures, figuresRun);
        if (std::fabs(*checked->takeoff - *alone.figures.takeoff) > there / 4) {
            out << "\n    the fine cuts through the rival lobes chose another lobe";
            ++moved;
        }
        out << '\n';
        out.flush();
        ++compared;
    }
    const auto summary = [&](const char *what, const Errors &errors) {
        out << what << "worst angle " << QString::number(errors.degrees, 'f', 4) << "°, "
            << QString::number(errors.spacings, 'f', 3) << " of the lobe spacing; worst gain "
            << QString::number(errors.gainDb, 'f', 3)
            << " dB; beyond 1/20 spacing or 0.15 dB: " << errors.failed << '\n';
    };
    out << "== " << compared << " cases compared, " << skipped << " refused or without figures; in "
        << moved << " the check's fine cuts chose another lobe than the figures run\n";
    summary("check:       ", check);
    summary("figures run: ", figuresRun);
    return check.failed == 0 && figuresRun.failed == 0 ? 0 : 1;
}
