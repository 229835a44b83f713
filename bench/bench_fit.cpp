// The rational fit of the SWR sweep against the engine's full sweep, for designs from 160 m to
// 23 cm in copper wire, in free space and 0.4 and 0.5 wavelengths over average ground, and the
// 20 m design 10 m up in bare wire and in 0.8 mm of PVC (the same wires, so the same ground
// grid and its step near 14.47 MHz; which of them the sweep's points run into depends on the
// curve and on the cores). For
// each: the check deck from moxon-cli, its 41-point sweep deck run through nec2c once, then the
// adaptive sweep fed from those stored points as if the engine ran them, a round of cores at a
// time. Prints the engine frequencies it used, whether it converged and within what agreement
// of two successive fits, the largest impedance and SWR errors of its 41 reported points
// against the engine's (the SWR's also where the engine's SWR is at most 2), the SWR 2
// bandwidth on the fit and on the 41 points (">" or "<": to the sweep's end); then the
// medians of bare nec2c runs of the design deck (with its pattern cuts), of one sweep point
// and of the 41-point sweep, what one more point costs, and the engine time of the adaptive
// sweep's points run one after another, as the sweep's single-point time plus a point's cost
// for each further point.
// Usage: build/bench/bench_fit [rounds] [cores]   (default 3 rounds, 2 cores)
#include "adaptivesweep.h"
#include "median.h"
#include "necoutput.h"
#include "sweepplan.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <optional>

using namespace moxon;
using namespace moxon::bench;
using namespace Qt::StringLiterals;

namespace {

constexpr double kSpeedOfLight = 299.792458; // m * MHz

struct Case
{
    double f0Mhz = 0;
    QString wireMm;           // copper wire's diameter, mm
    double heightWavelengths; // over average ground; 0 in free space
    bool pvc = false;         // in 0.8 mm of PVC
    QString label;            // the ground column's text; by default from the height
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// Milliseconds of one bare nec2c process on the deck at `deckPath`.
double timedRun(const QString &deckPath, const QString &outputPath)
{
    QElapsedTimer clock;
    clock.start();
    QProcess::execute(QStringLiteral("nec2c"),
                      {QStringLiteral("-i"), deckPath, QStringLiteral("-o"), outputPath});
    return double(clock.nsecsElapsed()) / 1e6;
}

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString edges(const Bandwidth &band)
{
    if (!band.exists) {
        return QStringLiteral("none");
    }
    return number(band.lowerMhz, 4) + (band.reachesLower ? QStringLiteral("<") : QString()) +
           QStringLiteral("-") + number(band.upperMhz, 4) +
           (band.reachesUpper ? QStringLiteral(">") : QString());
}

// The errors of the adaptive sweep's 41 reported points against the engine's.
struct FitErrors
{
    double ohm = 0;       // largest impedance error
    double swr = 0;       // largest SWR error, per cent
    double swrInBand = 0; // the same where the engine's SWR is at most 2
};

FitErrors fitErrors(const QList<SweepPoint> &reported, const QList<SweepPoint> &full)
{
    FitErrors errors;
    for (int i = 0; i < kSweepPoints && reported.size() == kSweepPoints; ++i) {
        const SweepPoint &a = reported.at(i);
        const SweepPoint &b = full.at(i);
        errors.ohm = std::max(errors.ohm, std::hypot(a.feed.resistance - b.feed.resistance,
                                                     a.feed.reactance - b.feed.reactance));
        const double swrError = std::fabs(a.swr - b.swr) / b.swr * 100;
        errors.swr = std::max(errors.swr, swrError);
        if (b.swr <= kBandwidthSwr) {
            errors.swrInBand = std::max(errors.swrInBand, swrError);
        }
    }
    return errors;
}

// The check deck of the case written to `deckPath` by moxon-cli; false when it failed.
bool writeCheckDeck(const Case &c, const QString &deckPath, QTextStream &out)
{
    QStringList arguments = {u"check"_s,       u"--freq"_s,  QString::number(c.f0Mhz),
                             u"--wire"_s,      c.wireMm,     u"--wire-unit"_s,
                             u"mm"_s,          u"--units"_s, u"m"_s,
                             u"--conductor"_s, u"copper"_s,  u"--deck"_s,
                             deckPath};
    if (c.heightWavelengths > 0) {
        arguments << u"--ground"_s << u"average"_s << u"--height"_s
                  << QString::number(c.heightWavelengths * kSpeedOfLight / c.f0Mhz);
    }
    if (c.pvc) {
        arguments << u"--insulation"_s << u"pvc"_s << u"--insulation-thickness"_s << u"0.8"_s;
    }
    QProcess cli;
    cli.start(QStringLiteral(MOXON_CLI), arguments);
    if (!cli.waitForFinished(60'000) || cli.exitCode() != 0) {
        out << "moxon-cli failed on " << c.f0Mhz << " MHz: " << cli.readAllStandardError()
            << Qt::endl;
        return false;
    }
    return true;
}

// Bare nec2c's medians on the case's decks, in ms, and the 41 points of its last sweep run.
struct EngineTimes
{
    double designMs = 0;
    double singleMs = 0;
    double sweepMs = 0;
    QList<SweepPoint> full;
};

std::optional<EngineTimes> timeEngine(double f0, int rounds, const QTemporaryDir &folder,
                                      QTextStream &out)
{
    const QString design = folder.filePath(QStringLiteral("design.nec"));
    const QString single = folder.filePath(QStringLiteral("single.nec"));
    const QString sweep = folder.filePath(QStringLiteral("sweep.nec"));
    const QString output = folder.filePath(QStringLiteral("out.txt"));
    const QByteArray deck = readAll(design);
    const double step = f0 * kSweepStep;
    if (!writeAll(sweep, sweepDeck(deck, sweepFrequency(f0, 0), step, kSweepPoints)) ||
        !writeAll(single, sweepDeck(deck, f0, step, 1))) {
        return std::nullopt;
    }
    QList<double> designMs;
    QList<double> singleMs;
    QList<double> sweepMs;
    for (int round = 0; round < rounds; ++round) {
        designMs.append(timedRun(design, output));
        singleMs.append(timedRun(single, output));
        sweepMs.append(timedRun(sweep, output));
    }
    const NecOutput necOutput = parseNecOutput(QString::fromLatin1(readAll(output)));
    if (necOutput.fault != OutputFault::None || necOutput.frequencies.size() != kSweepPoints) {
        out << "nec2c's sweep of " << f0 << " MHz is unreadable: " << necOutput.error << Qt::endl;
        return std::nullopt;
    }
    EngineTimes times{median(designMs), median(singleMs), median(sweepMs), {}};
    for (int i = 0; i < kSweepPoints; ++i) {
        times.full.append(sweepPoint(sweepFrequency(f0, i), necOutput.frequencies.at(i).feed));
    }
    return times;
}

// The engine's points handed to an adaptive sweep as it asks for them, a round of cores at a
// time.
AdaptiveSweep fedSweep(double f0, int cores, const QList<SweepPoint> &full)
{
    AdaptiveSweep adaptive(f0, cores);
    for (QList<int> next = adaptive.firstPoints(); !next.isEmpty();) {
        QList<SweepPoint> points;
        for (const int index : next) {
            points.append(full.at(index));
        }
        next = adaptive.add(points);
    }
    return adaptive;
}

void printCase(const Case &c, const AdaptiveSweep &adaptive, const EngineTimes &times,
               const FitErrors &errors, QTextStream &out)
{
    const double f0 = c.f0Mhz;
    const double swrAtF0 = times.full.at(kSweepPoints / 2).swr;
    const double perPoint = (times.sweepMs - times.singleMs) / (kSweepPoints - 1);
    const auto runs = adaptive.engineFrequencies().size();
    out << QStringLiteral("%1 %2 %3 %4 %5/%6 %7 %8 %9  %10 %11 %12 %13 %14 %15 %16\n")
               .arg(number(f0, 2), 8)
               .arg(!c.label.isEmpty()        ? c.label
                    : c.heightWavelengths > 0 ? number(c.heightWavelengths, 1) + u"wl"_s
                                              : QStringLiteral("free"),
                    7)
               .arg(runs, 5)
               .arg(adaptive.converged() ? QStringLiteral("yes") : QStringLiteral("no"), 4)
               .arg(number(adaptive.lastAgreementOhm(), 3), 7)
               .arg(number(adaptive.agreementToleranceOhm(), 3), -5)
               .arg(number(errors.ohm, 3), 6)
               .arg(number(errors.swr, 3), 6)
               .arg(number(errors.swrInBand, 3), 8)
               .arg(edges(adaptive.fittedBandwidth(swrAtF0)), -20)
               .arg(edges(bandwidth(times.full, f0, swrAtF0)), -20)
               .arg(number(times.designMs, 1), 9)
               .arg(number(times.singleMs, 1), 6)
               .arg(number(times.sweepMs, 1), 7)
               .arg(number(perPoint, 2), 5)
               .arg(number(times.singleMs + double(runs - 1) * perPoint, 0), 6);
    out.flush();
}

QList<Case> benchCases()
{
    const QList<std::pair<double, QString>> designs = {
        {1.83, QStringLiteral("2")},  {3.65, QStringLiteral("2")}, {7.15, QStringLiteral("2")},
        {14.15, QStringLiteral("2")}, {50.1, QStringLiteral("2")}, {146, QStringLiteral("4")},
        {435, QStringLiteral("3")},   {1296, QStringLiteral("2")},
    };
    QList<Case> cases;
    for (const double height : {0.0, 0.4, 0.5}) {
        for (const auto &[f0, wire] : designs) {
            cases.append({f0, wire, height, false, {}});
        }
    }
    const double tenMetres = 10 * 14.15 / kSpeedOfLight;
    cases.append({14.15, QStringLiteral("2"), tenMetres, false, QStringLiteral("10m")});
    cases.append({14.15, QStringLiteral("2"), tenMetres, true, QStringLiteral("10m PVC")});
    return cases;
}

} // namespace

int main(int argc, char *argv[])
{
    const QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 3;
    const int cores = argc > 2 ? std::max(1, QString::fromLocal8Bit(argv[2]).toInt()) : 2;
    QTextStream out(stdout);
    if (QStandardPaths::findExecutable(QStringLiteral("nec2c")).isEmpty()) {
        out << "nec2c is not on PATH: bash scripts/install-deps.sh test" << Qt::endl;
        return 1;
    }
    QTemporaryDir folder;
    out << "cores " << cores << ", rounds " << rounds << "; copper wire, average ground\n"
        << "  f0 MHz  ground  runs conv agree/tol_ohm dZ_ohm dSWR_% (SWR<=2)  BW fit (MHz)"
           "         BW 41 points (MHz)   design_ms 1pt_ms 41pt_ms ms/pt est_ms\n";
    FitErrors worst;
    for (const Case &c : benchCases()) {
        if (!writeCheckDeck(c, folder.filePath(QStringLiteral("design.nec")), out)) {
            return 1;
        }
        const std::optional<EngineTimes> times = timeEngine(c.f0Mhz, rounds, folder, out);
        if (!times) {
            return 1;
        }
        const AdaptiveSweep adaptive = fedSweep(c.f0Mhz, cores, times->full);
        const FitErrors errors = fitErrors(adaptive.reportedPoints(), times->full);
        worst = {std::max(worst.ohm, errors.ohm), std::max(worst.swr, errors.swr),
                 std::max(worst.swrInBand, errors.swrInBand)};
        printCase(c, adaptive, *times, errors, out);
    }
    out << "worst: " << number(worst.ohm, 3) << " ohm, " << number(worst.swr, 3) << " % in SWR, "
        << number(worst.swrInBand, 3) << " % where SWR <= 2 (goal <= 1 ohm, <= 0.5 %)\n";
    return 0;
}
