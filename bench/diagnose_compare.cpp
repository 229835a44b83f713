// The diagnosis on antennas it has never seen: random designs from 7 to 144.3 MHz of 1 to 4 mm
// copper or aluminium wire, over average ground 0.3 to 1.5 wavelengths high or in free space,
// built with random errors of scale (0.985 to 1.015) and of each pair of tails (within 3 cm on
// HF, 6 mm on VHF), read by an analyser at the antenna or at the radio's end of a random cable
// of 10 to 40 m whose length the program is told only to 0.1 to 0.5 m, with 21 to 61 readings
// over +-5 % and 0.3 to 0.5 ohm of noise. The readings are nec2c's own runs of the antenna as
// built, independent of the diagnosis's fit. For each case it prints the truth and the fit
// (value +- 1 sigma) of each error, whether each lies within its bound (0.2 % of scale, 1 cm of
// tail on HF, 2 mm on VHF) and within its 3 sigma, the fit's residual and noise; then the
// advised field trim is made on the antenna as really built, and nec2c says where it dips
// against the target and its front-to-back against the design's, and against the design's once
// the same field trim has brought the design's own dip onto the target: the formula leaves it a
// little off, and a tail trim trades front-to-back for the dip. Last, how many cases met each.
// With `gap` the frame is taken to let the trim change E too, as `--trim-gap` does; the
// design's reference trim stays the tails'. Without it, where the diagnosis gives the trim that
// moves E beside the tails', that trim is made on the antenna too and counts as the one advised;
// where it gives a new frame beside them, the antenna built anew so counts instead.
// With `case=N` only the Nth of the cases is run, the others drawn but skipped, to look again
// at one of them; with `quiet` the readings have 0.01 ohm of noise, so that the fit's own reach
// shows without the noise's scatter.
// Usage: build/bench/diagnose_compare [cases] [seed] [gap] [quiet] [case=N]  (default 12, 7)
#include "builtantenna.h"
#include "checkreport.h"
#include "checkrequest.h"
#include "diagnosis.h"
#include "enginedip.h"
#include "enginescheduler.h"
#include "runnec2c.h"
#include "trim.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTextStream>

#include <cmath>

using namespace moxon;

namespace {

constexpr double kScaleBound = 0.002;   // relative: the fitted scale's bound, of the true scale
constexpr double kDipBound = 0.0025;    // relative: the trimmed antenna's dip from the target
constexpr double kFrontToBackBound = 1; // dB the trimmed antenna may lose against the design
constexpr double kQuietOhm = 0.01;      // with `quiet`: each reading's noise instead

struct Case
{
    double mhz = 0;
    double wireMm = 0;
    bool aluminium = false;
    std::optional<double> heightWavelengths; // none: free space
    test::BuildErrors truth;                 // metres, as the display unit is
    std::optional<FeedLine> line;            // the line as it is; none: read at the antenna
    QString cableName;
    double toldLengthMetres = 0; // the line's length as the program is told it
    int readings = 0;
    double noiseOhm = 0;
    unsigned noiseSeed = 0;

    [[nodiscard]] bool vhf() const { return mhz > 30; }
    [[nodiscard]] double tailBound() const { return vhf() ? 0.002 : 0.01; } // metres
};

double uniform(QRandomGenerator &random, double low, double high)
{
    return low + (high - low) * random.generateDouble();
}

Case randomCase(QRandomGenerator &random)
{
    static const QList<double> bands{7.0, 14.15, 21.2, 28.5, 50.1, 144.3};
    Case c;
    c.mhz = bands.at(random.bounded(int(bands.size())));
    c.wireMm = std::round(uniform(random, 1, 4) * 10) / 10;
    c.aluminium = random.bounded(2) == 1;
    if (random.bounded(3) != 0) {
        c.heightWavelengths = uniform(random, 0.3, 1.5);
    }
    const double tails = c.vhf() ? 0.006 : 0.03;
    c.truth = {uniform(random, 0.985, 1.015), uniform(random, -tails, tails),
               uniform(random, -tails, tails)};
    if (random.bounded(2) == 1) {
        const auto presets = cablePresets();
        const CablePreset &preset = presets[random.bounded(int(presets.size()))];
        c.cableName = preset.name.toString();
        c.line = FeedLine{cableOf(preset), uniform(random, 10, 40)};
        const double off = uniform(random, 0.1, 0.5) * (random.bounded(2) == 1 ? 1 : -1);
        c.toldLengthMetres = c.line->lengthMetres + off;
    }
    c.readings = random.bounded(21, 62);
    c.noiseOhm = uniform(random, 0.3, 0.5);
    c.noiseSeed = random.generate();
    return c;
}

TuneSetup setupOf(const Case &c)
{
    Installation where{0, {}, c.aluminium ? aluminium() : copper(), {}};
    if (c.heightWavelengths) {
        where.heightMetres = *c.heightWavelengths * freeSpaceWavelength(c.mhz);
        where.ground = {GroundKind::Real, 13, 0.005}; // average ground
    }
    return test::shownDesignSetup(FormInputs{QString::number(c.mhz, 'f', 2),
                                             QString::number(c.wireMm, 'f', 1),
                                             WireUnit::Millimetre},
                                  DisplayUnit::Metre, where);
}

// Where nec2c's SWR of `dims` is lowest near `targetMhz`: 21 runs over +-1 %, then over +-4 %
// when the dip lies beyond; 0 when it lies beyond that too.
double trueDip(const TuneSetup &setup, const TuneDimensions &dims, double targetMhz)
{
    for (const double share : {0.001, 0.004}) {
        const double step = targetMhz * share;
        const double dip = test::parabolaDip(
            test::impedances(setup, dims, test::dipSearchFrequencies(targetMhz, step)), step);
        if (dip > 0) {
            return dip;
        }
    }
    return 0;
}

double frontToBack(const TuneSetup &setup, const TuneDimensions &dims)
{
    const CheckRequest request = setup.requestFor(dims);
    return readFiguresRun(test::runNec2c(request.deck), request).figures.frontToBack;
}

// The reference a tail trim can reach: the design built without errors, its own dip (which the
// formula's dimensions leave a little off the design frequency) brought onto the target by the
// same field trim, made on it and run by nec2c. Its front-to-back; none without a trim.
// `dims` cut as `trim` advises: each pair of tails, and E where the frame lets it change.
TuneDimensions cutAs(const TuneDimensions &dims, const FieldTrim &trim)
{
    TuneDimensions cut = withTails(dims, trim.drivenTailChange, trim.reflectorTailChange);
    cut.e += trim.gapChange;
    return cut;
}

std::optional<double> designOnTarget(const TuneSetup &setup, double targetMhz,
                                     EngineScheduler &scheduler)
{
    const double dip = trueDip(setup, setup.formula, targetMhz);
    if (dip <= 0) {
        return std::nullopt;
    }
    const TrimResult result = trimWithNec2c(setup, dip, targetMhz, scheduler);
    if (!result.ok() || !result.fieldTrim) {
        return std::nullopt;
    }
    return frontToBack(setup, cutAs(setup.formula, *result.fieldTrim));
}

struct Tally
{
    int cases = 0;
    int explained = 0;
    int scale = 0;      // within 0.2 %
    int tails = 0;      // both within their bound
    int threeSigma = 0; // every error within its 3 sigma
    int dip = 0;
    int frontToBack = 0;
    int frontToBackOnTarget = 0; // within 1 dB of the design with its own dip on the target
    int gapOffered = 0;          // cases where the diagnosis gave E's trim beside the tails'
    int newFrameOffered = 0;     // and a new frame beside both
    // Dip and front-to-back both held by the new frame where given, else by E's trim where
    // given, else by the tails'.
    int advised = 0;
};

// One error's truth and fit, and whether it lies within `bound` and within its 3 sigma.
QString compared(const char *name, double truth, const Estimate &fit, double bound, int decimals,
                 bool &withinSigma)
{
    const double miss = std::fabs(fit.value - truth);
    withinSigma = withinSigma && miss < 3 * fit.sigma;
    return QStringLiteral("%1 %2 / %3 ± %4 %5 %6")
        .arg(QLatin1StringView(name), QString::number(truth, 'f', decimals),
             QString::number(fit.value, 'f', decimals), QString::number(fit.sigma, 'f', decimals),
             miss < bound ? QStringLiteral("ok") : QStringLiteral("OUT"),
             miss < 3 * fit.sigma ? QStringLiteral("3σ") : QStringLiteral("beyond-3σ"));
}

QString describe(const Case &c)
{
    QString text =
        QStringLiteral("%1 MHz %2 mm %3, %4, %5, %6 readings, noise %7 Ω")
            .arg(QString::number(c.mhz, 'f', 2), QString::number(c.wireMm, 'f', 1),
                 c.aluminium ? QStringLiteral("Al") : QStringLiteral("Cu"),
                 c.heightWavelengths ? QString::number(*c.heightWavelengths, 'f', 2) +
                                           QStringLiteral(" λ over average")
                                     : QStringLiteral("free space"))
            .arg(c.line ? QStringLiteral("%1 %2 m told %3 m")
                              .arg(c.cableName, QString::number(c.line->lengthMetres, 'f', 2),
                                   QString::number(c.toldLengthMetres, 'f', 2))
                        : QStringLiteral("at the antenna"))
            .arg(c.readings)
            .arg(QString::number(c.noiseOhm, 'f', 2));
    return text;
}

// The advised trim made on the antenna as really built: nec2c's dip and front-to-back.
void checkTrim(const Case &c, const TuneSetup &setup, const DiagnosisResult &result,
               EngineScheduler &scheduler, QTextStream &out, Tally &tally)
{
    if (!result.trim || !result.trim->ok() || !result.trim->fieldTrim) {
        out << "    trim: none: "
            << (result.trim ? result.trim->fieldTrimRefusal + result.trim->message
                            : result.trimRefusal)
            << '\n';
        return;
    }
    const FieldTrim &field = *result.trim->fieldTrim;
    const test::BuildErrors &t = c.truth;
    const TuneDimensions real =
        test::scaledBy(withTails(setup.formula, t.driverTail, t.reflectorTail), t.scale);
    const TuneDimensions cut = cutAs(real, field);
    const double dip = trueDip(setup, cut, result.targetMhz);
    const double trimmed = frontToBack(setup, cut);
    const double design = frontToBack(setup, setup.formula);
    const double dipShare = dip > 0 ? dip / result.targetMhz - 1 : 1;
    const bool dipOk = std::fabs(dipShare) < kDipBound;
    const bool frontToBackOk = trimmed > design - kFrontToBackBound;
    tally.dip += dipOk ? 1 : 0;
    tally.frontToBack += frontToBackOk ? 1 : 0;
    const std::optional<double> reachable = designOnTarget(setup, result.targetMhz, scheduler);
    const bool reachableOk = reachable && trimmed > *reachable - kFrontToBackBound;
    tally.frontToBackOnTarget += reachableOk ? 1 : 0;
    out << "    trim: driver " << QString::number(field.drivenTailChange * 1000, 'f', 1)
        << " mm, reflector " << QString::number(field.reflectorTailChange * 1000, 'f', 1)
        << " mm, E " << QString::number(field.gapChange * 1000, 'f', 1) << " mm; dip "
        << (dip > 0 ? QString::number(dip, 'f', 4) + QStringLiteral(" MHz")
                    : QStringLiteral("beyond ±4 %"))
        << " (" << QString::number(dipShare * 100, 'f', 3) << " %) " << (dipOk ? "ok" : "OUT")
        << "; F/B " << QString::number(trimmed, 'f', 2) << " dB, design's "
        << QString::number(design, 'f', 2) << " dB " << (frontToBackOk ? "ok" : "OUT")
        << "\n          as the trim predicts it: dip "
        << QString::number(field.antenna.predictedDipMhz, 'f', 4) << " MHz, F/B "
        << QString::number(field.antenna.figures.frontToBack, 'f', 2)
        << " dB; as built, untrimmed: F/B " << QString::number(frontToBack(setup, real), 'f', 2)
        << " dB; the design dips at "
        << QString::number(trueDip(setup, setup.formula, result.targetMhz), 'f', 4)
        << " MHz, trimmed onto the target its F/B is "
        << (reachable ? QString::number(*reachable, 'f', 2) + QStringLiteral(" dB")
                      : QStringLiteral("unknown (no trim)"))
        << ' ' << (reachableOk ? "ok" : "OUT") << '\n';
    bool advisedOk = dipOk && frontToBackOk;
    if (result.gapTrim && result.gapTrim->ok() && result.gapTrim->fieldTrim) {
        const FieldTrim &moved = *result.gapTrim->fieldTrim;
        const TuneDimensions movedCut = cutAs(real, moved);
        const double movedDip = trueDip(setup, movedCut, result.targetMhz);
        const double movedFrontToBack = frontToBack(setup, movedCut);
        advisedOk = movedDip > 0 && std::fabs(movedDip / result.targetMhz - 1) < kDipBound &&
                    movedFrontToBack > design - kFrontToBackBound;
        ++tally.gapOffered;
        out << "    gap trim offered: driver "
            << QString::number(moved.drivenTailChange * 1000, 'f', 1) << " mm, reflector "
            << QString::number(moved.reflectorTailChange * 1000, 'f', 1) << " mm, E "
            << QString::number(moved.gapChange * 1000, 'f', 1) << " mm; dip "
            << QString::number(movedDip, 'f', 4) << " MHz, F/B "
            << QString::number(movedFrontToBack, 'f', 2) << " dB " << (advisedOk ? "ok" : "OUT")
            << "; predicted: dip " << QString::number(moved.antenna.predictedDipMhz, 'f', 4)
            << " MHz, F/B " << QString::number(moved.antenna.figures.frontToBack, 'f', 2)
            << " dB\n";
    }
    if (result.newFrame) {
        // A new frame is a whole antenna built anew, that behaves as scaled as the old one.
        const TrimmedAntenna &made = result.newFrame->fieldTrim->antenna;
        const TuneDimensions rebuilt = test::scaledBy(made.dimensions, t.scale);
        const double rebuiltDip = trueDip(setup, rebuilt, result.targetMhz);
        const double rebuiltFrontToBack = frontToBack(setup, rebuilt);
        advisedOk = rebuiltDip > 0 && std::fabs(rebuiltDip / result.targetMhz - 1) < kDipBound &&
                    rebuiltFrontToBack > design - kFrontToBackBound;
        ++tally.newFrameOffered;
        out << "    new frame offered: A " << QString::number(made.dimensions.a, 'f', 3) << " m, E "
            << QString::number(made.dimensions.e, 'f', 3) << " m; dip "
            << QString::number(rebuiltDip, 'f', 4) << " MHz, F/B "
            << QString::number(rebuiltFrontToBack, 'f', 2) << " dB " << (advisedOk ? "ok" : "OUT")
            << "; predicted: dip " << QString::number(made.predictedDipMhz, 'f', 4) << " MHz, F/B "
            << QString::number(made.figures.frontToBack, 'f', 2) << " dB\n";
    }
    tally.advised += advisedOk ? 1 : 0;
}

void runCase(const Case &c, bool trimGap, bool quiet, EngineScheduler &scheduler, QTextStream &out,
             Tally &tally)
{
    const TuneSetup setup = setupOf(c);
    out << describe(c) << '\n';
    const QList<TouchstonePoint> readings =
        test::analyserReadings(setup, c.truth, test::frequenciesAround(c.mhz, c.readings, 0.05),
                               quiet ? kQuietOhm : c.noiseOhm, c.line, c.noiseSeed);
    if (readings.isEmpty()) {
        out << "    no readings: nec2c failed\n";
        return;
    }
    DiagnosisMeasurement measurement{readings, std::nullopt, false, trimGap};
    if (c.line) {
        measurement.line = FeedLine{c.line->cable, c.toldLengthMetres};
    }
    const DiagnosisResult result = diagnoseWithNec2c(
        setup, measurement, setup.requestFor(setup.formula).frequencyMhz, scheduler);
    if (!result.ok()) {
        out << "    diagnosis failed: " << result.message << '\n';
        return;
    }
    bool withinSigma = true; // every error within its own 3 sigma
    const bool scaleOk =
        std::fabs(result.scale.value - c.truth.scale) < kScaleBound * c.truth.scale;
    out << "    fit: "
        << compared("scale", c.truth.scale, result.scale, kScaleBound * c.truth.scale, 4,
                    withinSigma)
        << "; "
        << compared("driver m", c.truth.driverTail, result.driverTailError, c.tailBound(), 4,
                    withinSigma)
        << "; "
        << compared("reflector m", c.truth.reflectorTail, result.reflectorTailError, c.tailBound(),
                    4, withinSigma);
    if (result.lineLengthError) {
        out << "; line error m "
            << QString::number(c.line->lengthMetres - c.toldLengthMetres, 'f', 3) << " / "
            << QString::number(result.lineLengthError->value, 'f', 3) << " ± "
            << QString::number(result.lineLengthError->sigma, 'f', 3);
    }
    out << "\n    residual " << QString::number(result.residualOhm, 'f', 3) << " Ω, noise "
        << QString::number(result.noiseOhm, 'f', 3) << " Ω, explained "
        << (result.explained ? "yes" : "NO") << ", " << result.engineRuns << " engine runs, "
        << QString::number(result.seconds, 'f', 2) << " s\n";
    tally.explained += result.explained ? 1 : 0;
    tally.scale += scaleOk ? 1 : 0;
    const bool tailsOk =
        std::fabs(result.driverTailError.value - c.truth.driverTail) < c.tailBound() &&
        std::fabs(result.reflectorTailError.value - c.truth.reflectorTail) < c.tailBound();
    tally.tails += tailsOk ? 1 : 0;
    tally.threeSigma += withinSigma ? 1 : 0;
    checkTrim(c, setup, result, scheduler, out, tally);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int cases = arguments.size() > 1 ? arguments.at(1).toInt() : 12;
    QRandomGenerator random(arguments.size() > 2 ? arguments.at(2).toUInt() : 7);
    const bool trimGap = arguments.mid(3).contains(QStringLiteral("gap"));
    const bool quiet = arguments.mid(3).contains(QStringLiteral("quiet"));
    int only = 0; // 1-based; 0: every case
    for (const QString &argument : arguments.mid(3)) {
        if (argument.startsWith(QStringLiteral("case="))) {
            only = argument.mid(5).toInt();
        }
    }
    QTextStream out(stdout);
    EngineScheduler scheduler;
    Tally tally;
    for (int n = 0; n < cases; ++n) {
        const Case drawn = randomCase(random);
        if (only > 0 && n + 1 != only) {
            continue;
        }
        out << n + 1 << ". ";
        runCase(drawn, trimGap, quiet, scheduler, out, tally);
        out.flush();
        ++tally.cases;
    }
    out << "== " << tally.cases << " cases: explained " << tally.explained
        << "; scale within 0.2 % " << tally.scale << "; both tails within 1 cm (HF) or 2 mm (VHF) "
        << tally.tails << "; every error within its 3σ " << tally.threeSigma
        << "; trimmed dip within 0.25 % of the target " << tally.dip
        << "; trimmed F/B no more than 1 dB below the design's " << tally.frontToBack
        << ", than the design's with its own dip trimmed onto the target "
        << tally.frontToBackOnTarget << "; E's trim offered beside the tails' " << tally.gapOffered
        << ", a new frame " << tally.newFrameOffered
        << "; dip and F/B held by the trim advised (the new frame or E's where offered) "
        << tally.advised << '\n';
    const int all = tally.cases;
    // Passed where every case met every point with the trim it was advised.
    return tally.explained == all && tally.scale == all && tally.tails == all &&
                   tally.threeSigma == all && tally.advised == all
               ? 0
               : 1;
}
