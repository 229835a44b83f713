// The rational fit of the SWR sweep against the engine's full sweep, for designs from 160 m to
// 23 cm in copper wire, in free space and 0.4 and 0.5 wavelengths over average ground. For
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
    QList<Case> cases;
    const QList<std::pair<double, QString>> designs = {
        {1.83, QStringLiteral("2")},  {3.65, QStringLiteral("2")}, {7.15, QStringLiteral("2")},
        {14.15, QStringLiteral("2")}, {50.1, QStringLiteral("2")}, {146, QStringLiteral("4")},
        {435, QStringLiteral("3")},   {1296, QStringLiteral("2")},
    };
    for (const double height : {0.0, 0.4, 0.5}) {
        for (const auto &[f0, wire] : designs) {
            cases.append({f0, wire, height});
        }
    }

    QTemporaryDir folder;
    const QString design = folder.filePath(QStringLiteral("design.nec"));
    const QString single = folder.filePath(QStringLiteral("single.nec"));
    const QString sweep = folder.filePath(QStringLiteral("sweep.nec"));
    const QString output = folder.filePath(QStringLiteral("out.txt"));
    out << "cores " << cores << ", rounds " << rounds << "; copper wire, average ground\n"
        << "  f0 MHz  ground  runs conv agree/tol_ohm dZ_ohm dSWR_% (SWR<=2)  BW fit (MHz)"
           "         BW 41 points (MHz)   design_ms 1pt_ms 41pt_ms ms/pt est_ms\n";
    double worstOhm = 0;
    double worstSwr = 0;
    double worstInBand = 0;
    for (const Case &c : cases) {
        const double f0 = c.f0Mhz;
        QStringList arguments = {QStringLiteral("check"),
                                 QStringLiteral("--freq"),
                                 QString::number(f0),
                                 QStringLiteral("--wire"),
                                 c.wireMm,
                                 QStringLiteral("--wire-unit"),
                                 QStringLiteral("mm"),
                                 QStringLiteral("--units"),
                                 QStringLiteral("m"),
                                 QStringLiteral("--conductor"),
                                 QStringLiteral("copper"),
                                 QStringLiteral("--deck"),
                                 design};
        if (c.heightWavelengths > 0) {
            arguments << QStringLiteral("--ground") << QStringLiteral("average")
                      << QStringLiteral("--height")
                      << QString::number(c.heightWavelengths * kSpeedOfLight / f0);
        }
        QProcess cli;
        cli.start(QStringLiteral(MOXON_CLI), arguments);
        if (!cli.waitForFinished(60'000) || cli.exitCode() != 0) {
            out << "moxon-cli failed on " << f0 << " MHz: " << cli.readAllStandardError()
                << Qt::endl;
            return 1;
        }
        const QByteArray deck = readAll(design);
        const double step = f0 * kSweepStep;
        if (!writeAll(sweep, sweepDeck(deck, sweepFrequency(f0, 0), step, kSweepPoints)) ||
            !writeAll(single, sweepDeck(deck, f0, step, 1))) {
            return 1;
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
            out << "nec2c's sweep of " << f0 << " MHz is unreadable: " << necOutput.error
                << Qt::endl;
            return 1;
        }
        QList<SweepPoint> full;
        for (int i = 0; i < kSweepPoints; ++i) {
            full.append(sweepPoint(sweepFrequency(f0, i), necOutput.frequencies.at(i).feed));
        }

        // The engine's points handed over as the sweep asks for them, a round of cores at a time.
        AdaptiveSweep adaptive(f0, cores);
        for (QList<int> next = adaptive.firstPoints(); !next.isEmpty();) {
            QList<SweepPoint> points;
            for (const int index : next) {
                points.append(full.at(index));
            }
            next = adaptive.add(points);
        }
        const QList<SweepPoint> reported = adaptive.reportedPoints();
        double ohm = 0;
        double swr = 0;       // per cent
        double swrInBand = 0; // per cent, where the engine's SWR is at most 2
        for (int i = 0; i < kSweepPoints && reported.size() == kSweepPoints; ++i) {
            const SweepPoint &a = reported.at(i);
            const SweepPoint &b = full.at(i);
            ohm = std::max(ohm, std::hypot(a.feed.resistance - b.feed.resistance,
                                           a.feed.reactance - b.feed.reactance));
            const double swrError = std::fabs(a.swr - b.swr) / b.swr * 100;
            swr = std::max(swr, swrError);
            swrInBand = b.swr <= kBandwidthSwr ? std::max(swrInBand, swrError) : swrInBand;
        }
        worstOhm = std::max(worstOhm, ohm);
        worstSwr = std::max(worstSwr, swr);
        worstInBand = std::max(worstInBand, swrInBand);
        const double swrAtF0 = full.at(kSweepPoints / 2).swr;
        const double perPoint = (median(sweepMs) - median(singleMs)) / (kSweepPoints - 1);
        const auto runs = adaptive.engineFrequencies().size();
        out << QStringLiteral("%1 %2 %3 %4 %5/%6 %7 %8 %9  %10 %11 %12 %13 %14 %15 %16\n")
                   .arg(number(f0, 2), 8)
                   .arg(c.heightWavelengths > 0 ? number(c.heightWavelengths, 1) + u"wl"_s
                                                : QStringLiteral("free"),
                        7)
                   .arg(runs, 5)
                   .arg(adaptive.converged() ? QStringLiteral("yes") : QStringLiteral("no"), 4)
                   .arg(number(adaptive.lastAgreementOhm(), 3), 7)
                   .arg(number(adaptive.agreementToleranceOhm(), 3), -5)
                   .arg(number(ohm, 3), 6)
                   .arg(number(swr, 3), 6)
                   .arg(number(swrInBand, 3), 8)
                   .arg(edges(adaptive.fittedBandwidth(swrAtF0)), -20)
                   .arg(edges(bandwidth(full, f0, swrAtF0)), -20)
                   .arg(number(median(designMs), 1), 9)
                   .arg(number(median(singleMs), 1), 6)
                   .arg(number(median(sweepMs), 1), 7)
                   .arg(number(perPoint, 2), 5)
                   .arg(number(median(singleMs) + double(runs - 1) * perPoint, 0), 6);
        out.flush();
    }
    out << "worst: " << number(worstOhm, 3) << " ohm, " << number(worstSwr, 3) << " % in SWR, "
        << number(worstInBand, 3) << " % where SWR <= 2 (goal <= 1 ohm, <= 0.5 %)\n";
    return 0;
}
