#include "trim.h"

#include "analysisrounds.h"
#include "localenumbers.h"
#include "sweepplan.h"

#include <QElapsedTimer>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>

namespace moxon {

namespace {

// Runs near a dip lie this share of it either side: half a step of the sweep.
constexpr double kSampleShare = kSweepStep / 2;
// The tails' difference step, in wavelengths: about a centimetre on 20 m, which moves the dip
// by less than the runs' spacing.
constexpr double kTailStepWavelengths = 5e-4;
// How far the field trim may go: a tail down to a fifth of itself, the gap to a quarter.
constexpr double kShortestTail = 0.2;
constexpr double kNarrowestGap = 0.25;
// The share of the dip's move made by the reflector's tails, the rest by the driven
// element's: searched from half the other way to half beyond.
constexpr double kLeastReflectorShare = -0.5;
constexpr double kMostReflectorShare = 1.5;
constexpr double kShareBeyond = 0.25;
constexpr int kMostCorrections = 2; // engine runs bringing the dip onto the target
constexpr int kCurvePoints = 401;   // the drawn curves, as the check's fit draws its own

double lowEdge(double mhz)
{
    return sweepFrequency(mhz, 0);
}

double highEdge(double mhz)
{
    return sweepFrequency(mhz, kSweepPoints - 1);
}

TuneDimensions scaled(const TuneDimensions &dims, double scale)
{
    return {dims.a * scale, dims.b * scale, dims.d * scale, dims.e * scale};
}

TuneDimensions rounded(const TuneDimensions &dims, int decimals)
{
    const auto shown = [decimals](double value) {
        return LocaleNumbers::roundedToMask(value, decimals);
    };
    return {shown(dims.a), shown(dims.b), shown(dims.d), shown(dims.e)};
}

QString megahertz(double mhz)
{
    return QLocale::c().toString(mhz, 'f', 4) + QStringLiteral(" MHz");
}

// The interval of u where a + b u >= 0, within [low, high].
void keep(double &low, double &high, double a, double b)
{
    if (std::fabs(b) < 1e-300) {
        if (a < 0) {
            high = low - 1;
        }
        return;
    }
    const double root = -a / b;
    if (b > 0) {
        low = std::max(low, root);
    } else {
        high = std::min(high, root);
    }
}

// The value at x of the parabola through three points (or the line through two).
double through(const QList<std::pair<double, double>> &points, double x)
{
    double sum = 0;
    for (qsizetype i = 0; i < points.size(); ++i) {
        double term = points.at(i).second;
        for (qsizetype j = 0; j < points.size(); ++j) {
            if (j != i) {
                term *= (x - points.at(j).first) / (points.at(i).first - points.at(j).first);
            }
        }
        sum += term;
    }
    return sum;
}

// A trimmed design's engine figures at the target and its runs around it.
struct Checked
{
    TuneDimensions real;    // as the builder makes it
    DesignFigures figures;  // of the model scaled as the antenna behaves, at the target
    QList<SweepPoint> near; // either side of the target, and at it
    // A fit of its runs over +-5 % of the target once it has been run there: the drawn curve
    // away from the dip is its own, not the built model's stretched.
    std::optional<RationalFit> own;
    double dipMhz = 0;
};

// The impedance samples of `points`, one a frequency.
QList<ImpedanceSample> samplesOf(const QList<SweepPoint> &points)
{
    QList<ImpedanceSample> samples;
    for (const SweepPoint &point : points) {
        const bool known = std::any_of(samples.cbegin(), samples.cend(), [&](const auto &s) {
            return std::fabs(s.frequencyMhz - point.frequencyMhz) <= 1e-9 * point.frequencyMhz;
        });
        if (!known) {
            samples.append(
                ImpedanceSample{point.frequencyMhz, {point.feed.resistance, point.feed.reactance}});
        }
    }
    return samples;
}

} // namespace

TuneDimensions withTails(TuneDimensions dims, double driven, double reflector)
{
    dims.b += driven;
    dims.d += reflector;
    return dims;
}

TrimResult trim(const TuneSetup &setup, double measuredDipMhz, double targetMhz,
                const ProbeEngine &engine, const AnalysisProgressFn &progress)
{
    QElapsedTimer clock;
    clock.start();
    const TuneDimensions &built = setup.formula;
    const CheckRequest design = setup.requestFor(built);
    const double f0 = design.frequencyMhz;
    const double fm = measuredDipMhz;
    const double ft = targetMhz;
    TrimResult result;
    result.built = built;
    result.designMhz = f0;
    result.installation = design.installation;
    result.targetMhz = ft;
    result.measuredDipMhz = fm;
    AnalysisRounds rounds(engine, progress, 4 + kMostCorrections);
    const auto finish = [&] {
        return rounds.finished(result, clock);
    };
    if (!(fm > 0) || !(ft > 0) || !std::isfinite(fm) || !std::isfinite(ft)) {
        rounds.fail(AnalysisFault::BadInput,
                    QStringLiteral("The measured dip and the target must be frequencies above "
                                   "0 MHz."));
        return finish();
    }

    // The model of the built antenna: its figures and a fit over the band.
    DesignProbe model{built, f0, {}};
    for (const int index : {0, 6, kSweepPoints - 7, kSweepPoints - 1}) {
        model.frequenciesMhz.append(sweepFrequency(f0, index));
    }
    const std::optional<QList<ProbeAnswer>> first = rounds.run({model});
    if (!first) {
        return finish();
    }
    result.modelFigures = *first->first().figures;
    const SweepPoint atDesign = sweepPoint(f0, result.modelFigures.feed);
    QList<SweepPoint> wide = first->first().points;
    wide.append(atDesign);
    const std::optional<ImpedanceCurve> base = rounds.fitted(wide, lowEdge(f0), highEdge(f0));
    const std::optional<double> firstDip =
        base ? base->dip(lowEdge(f0), highEdge(f0)) : std::nullopt;
    if (!firstDip) {
        rounds.fail(AnalysisFault::NoDip, AnalysisRounds::noDip(lowEdge(f0), highEdge(f0)));
        return finish();
    }
    const double firstScale = *firstDip / fm;
    if (std::fabs(firstScale - 1) > kMostTrimScaleError) {
        rounds.fail(AnalysisFault::DipOutOfReach,
                    QStringLiteral("The measured dip at %1 lies %2 % from the model's at %3: "
                                   "more than cutting errors make. Check the measurement and "
                                   "the built dimensions.")
                        .arg(megahertz(fm),
                             QLocale::c().toString(std::fabs(fm / *firstDip - 1) * 100, 'f', 1),
                             megahertz(*firstDip)));
        return finish();
    }

    if (std::fabs(ft / fm - 1) > kMostTrimScaleError) {
        rounds.fail(AnalysisFault::DipOutOfReach,
                    QStringLiteral("The target at %1 lies %2 % from the measured dip at %3: more "
                                   "than a trim of this antenna can reach.")
                        .arg(megahertz(ft),
                             QLocale::c().toString(std::fabs(ft / fm - 1) * 100, 'f', 1),
                             megahertz(fm)));
        return finish();
    }

    // Around the model's dip: the model, each pair of tails a step longer, and the model scaled
    // to the first estimate of the antenna's scale around the measured dip.
    const double h = kTailStepWavelengths * freeSpaceWavelength(f0) / setup.metresPerUnit;
    const double step = kSampleShare * *firstDip;
    const QList<double> aroundDip = {*firstDip - step, *firstDip + step};
    const double measuredStep = kSampleShare * fm;
    const std::optional<QList<ProbeAnswer>> second = rounds.run({
        {built, std::nullopt, aroundDip},
        {withTails(built, h, 0), std::nullopt, aroundDip},
        {withTails(built, 0, h), std::nullopt, aroundDip},
        {scaled(built, firstScale), std::nullopt, {fm - measuredStep, fm + measuredStep}},
    });
    if (!second) {
        return finish();
    }
    const auto curveOf = [&](double stretch, QList<SweepPoint> near) {
        return ImpedanceCurve(base->base(), stretch, near);
    };
    const ImpedanceCurve modelCurve = curveOf(1, second->at(0).points + QList{atDesign});
    const std::optional<double> modelDip = modelCurve.dip(lowEdge(f0), highEdge(f0));
    const std::optional<double> drivenDip =
        curveOf(1, second->at(1).points).dip(lowEdge(f0), highEdge(f0));
    const std::optional<double> reflectorDip =
        curveOf(1, second->at(2).points).dip(lowEdge(f0), highEdge(f0));
    const std::optional<double> scaledDip =
        curveOf(firstScale, second->at(3).points).dip(lowEdge(fm), highEdge(fm));
    if (!modelDip || !drivenDip || !reflectorDip || !scaledDip) {
        rounds.fail(AnalysisFault::NoDip, AnalysisRounds::noDip(lowEdge(f0), highEdge(f0)));
        return finish();
    }
    result.modelDipMhz = *modelDip;
    // Drawn from a fit of all its runs, when one holds: the correction is good near the dip.
    const std::optional<RationalFit> builtFit =
        RationalFit::fit(samplesOf(wide + second->at(0).points), lowEdge(f0), highEdge(f0));
    result.modelCurve = (builtFit ? ImpedanceCurve(*builtFit) : modelCurve)
                            .points(lowEdge(f0), highEdge(f0), kCurvePoints);
    // A design s times as large dips at 1 / s of the frequency, to first order; the engine's
    // run of the first estimate corrects for the wire and the height, which do not scale.
    const double scale = firstScale * *scaledDip / fm;
    result.scale = scale;
    // MHz per display unit of each pair of tails.
    const double drivenSlope = (*drivenDip - *modelDip) / h;
    const double reflectorSlope = (*reflectorDip - *modelDip) / h;

    // The field trim on the line where the scaled model dips at the target, by the share u of
    // the move the reflector's tails make; kept where tails and gap stay long enough.
    const double shift = (ft - fm) * *modelDip / fm; // in the unscaled model's dip, MHz
    const bool tailsMove = drivenSlope < 0 && reflectorSlope < 0;
    const double drivenAll = tailsMove ? shift / drivenSlope : 0;       // display unit
    const double reflectorAll = tailsMove ? shift / reflectorSlope : 0; // display unit
    const auto tailsAt = [&](double u, double factor) {
        return std::pair{factor * (1 - u) * drivenAll, factor * u * reflectorAll};
    };
    double low = kLeastReflectorShare;
    double high = kMostReflectorShare;
    keep(low, high, built.b * (1 - kShortestTail) + drivenAll, -drivenAll);
    keep(low, high, built.d * (1 - kShortestTail), reflectorAll);
    keep(low, high, built.c() * (1 - kNarrowestGap) - drivenAll, drivenAll - reflectorAll);
    if (!tailsMove) {
        result.fieldTrimRefusal = QStringLiteral("The model's dip does not move down as its "
                                                 "tails grow, so no cut of the tails can be "
                                                 "advised.");
    } else if (low > high) {
        result.fieldTrimRefusal =
            QStringLiteral("No change of the tails alone moves the dip from %1 to %2: a tail "
                           "or the gap would have to shrink too far. Rebuild instead.")
                .arg(megahertz(fm), megahertz(ft));
    }
    bool field = result.fieldTrimRefusal.isEmpty();
    QList<double> shares;
    if (field) {
        const double inLow = std::max(low, 0.0);
        const double inHigh = std::min(high, 1.0);
        const double from = inLow <= inHigh ? inLow : low;
        const double to = inLow <= inHigh ? inHigh : high;
        shares = std::fabs(shift) <= kTrimDipAgreement * ft || to - from < 1e-9
                     ? QList<double>{(from + to) / 2}
                     : QList<double>{from, (from + to) / 2, to};
    }

    // The candidates and the rebuild, each on the model scaled as the antenna behaves, run at
    // the target: the figures there and either side of it.
    const double targetStep = kSampleShare * ft;
    const QList<double> aroundTarget = {ft - targetStep, ft + targetStep};
    const auto probeOf = [&](const TuneDimensions &real) {
        return DesignProbe{scaled(real, scale), ft, aroundTarget};
    };
    QList<double> wideOfTarget;
    for (const int index : {0, 6, kSweepPoints - 7, kSweepPoints - 1}) {
        wideOfTarget.append(sweepFrequency(ft, index));
    }
    // A trimmed design's curve: its own fit corrected through its runs near the target, or
    // the built model's stretched onto it until it has one.
    const auto curveOfChecked = [&](const Checked &c) {
        return c.own ? ImpedanceCurve(*c.own, 1, c.near) : curveOf(*modelDip / ft, c.near);
    };
    // Its dip; false when its curve has none within 5 % of the target.
    const auto settleDip = [&](Checked &c) {
        const std::optional<double> dip = curveOfChecked(c).dip(lowEdge(ft), highEdge(ft));
        c.dipMhz = dip.value_or(0);
        return dip.has_value();
    };
    // The rebuild must dip near the target; a field trim that does not is not advised.
    const auto rebuildWithoutDip = [&] {
        rounds.fail(AnalysisFault::NoDip, AnalysisRounds::noDip(lowEdge(ft), highEdge(ft)));
        return finish();
    };
    const auto refuseField = [&] {
        result.fieldTrimRefusal =
            QStringLiteral("The tails changed as far as the dip must move leave the model "
                           "without an SWR dip within 5 % of %1. Rebuild instead.")
                .arg(megahertz(ft));
        field = false;
    };
    // Its fit across the band: the runs there and the target's, far enough apart that the
    // small steps of the engine's ground model between nearby frequencies do not bend it; the
    // runs beside the target correct it there.
    const auto ownFit = [&](const Checked &c, const QList<SweepPoint> &across) {
        return RationalFit::fit(samplesOf(across + QList{c.near.last()}), lowEdge(ft),
                                highEdge(ft));
    };
    // The engine's answer for `real`: the figures at the target, its runs around it and, when
    // it ran there too, across the band, which give it a fit of its own.
    const auto checked = [&](const TuneDimensions &real, const ProbeAnswer &answer,
                             std::optional<RationalFit> own = {}) -> std::optional<Checked> {
        Checked c{real, *answer.figures, answer.points.mid(0, 2), std::move(own), 0};
        c.near.append(sweepPoint(ft, c.figures.feed));
        if (answer.points.size() > 2) {
            c.own = ownFit(c, answer.points.mid(2));
        }
        return settleDip(c) ? std::optional<Checked>(c) : std::nullopt;
    };
    const auto fieldDims = [&](double driven, double reflector) {
        const int decimals = setup.decimals;
        return rounded(withTails(built, LocaleNumbers::roundedToMask(driven, decimals),
                                 LocaleNumbers::roundedToMask(reflector, decimals)),
                       decimals);
    };
    double rebuildFactor = fm / ft;
    QList<DesignProbe> third{probeOf(rounded(scaled(built, rebuildFactor), setup.decimals))};
    for (const double u : std::as_const(shares)) {
        const auto [driven, reflector] = tailsAt(u, 1);
        third.append(probeOf(fieldDims(driven, reflector)));
    }
    const std::optional<QList<ProbeAnswer>> lined = rounds.run(third);
    if (!lined) {
        return finish();
    }
    std::optional<Checked> rebuild =
        checked(rounded(scaled(built, rebuildFactor), setup.decimals), lined->first());
    if (!rebuild) {
        return rebuildWithoutDip();
    }
    std::optional<Checked> best;
    double factor = 1;
    double bestShare = 0.5;
    QList<std::pair<double, double>> frontToBack; // by share, along the line
    QList<std::pair<double, double>> miss;        // the dip's, MHz
    if (field) {
        // The front-to-back along the line, a parabola through the candidates; its best within
        // the line's bounds, and the dip's miss there.
        for (qsizetype k = 0; k < shares.size(); ++k) {
            const auto [driven, reflector] = tailsAt(shares.at(k), 1);
            // A candidate without a dip near the target tells nothing of the line.
            if (const std::optional<Checked> c =
                    checked(fieldDims(driven, reflector), lined->at(k + 1))) {
                frontToBack.append({shares.at(k), c->figures.frontToBack});
                miss.append({shares.at(k), c->dipMhz - ft});
            }
        }
        if (frontToBack.isEmpty()) {
            refuseField();
        }
    }
    if (field) {
        // A little beyond the candidates, where the parabola still holds, within the bounds.
        const double from = std::max(low, frontToBack.first().first - kShareBeyond);
        const double to = std::min(high, frontToBack.last().first + kShareBeyond);
        bestShare = frontToBack.first().first;
        for (int i = 0; i <= 200 && to > from; ++i) {
            const double u = from + (to - from) * i / 200;
            if (through(frontToBack, u) > through(frontToBack, bestShare)) {
                bestShare = u;
            }
        }
        // Along the line through no change, the dip moves in proportion: the factor that
        // takes the dip's miss out.
        const double moved = ft - fm + through(miss, bestShare);
        factor = std::fabs(moved) > 1e-12 ? (ft - fm) / moved : 1;
    }

    // The best share and the rebuild checked on the engine, corrected until the dip is on the
    // target, and each run across the band once for its own curve.
    for (int correction = 0; correction <= kMostCorrections; ++correction) {
        const bool last = correction == kMostCorrections;
        const bool rebuildOff = !last && std::fabs(rebuild->dipMhz - ft) > kTrimDipAgreement * ft;
        const bool fieldOff =
            field && (!best || (!last && std::fabs(best->dipMhz - ft) > kTrimDipAgreement * ft));
        const bool rebuildWide = !rebuild->own;
        const bool fieldWide = field && (!best || !best->own);
        if (!rebuildOff && !fieldOff && !rebuildWide && !fieldWide) {
            break;
        }
        QList<DesignProbe> probes;
        TuneDimensions rebuildDims = rebuild->real;
        if (rebuildOff) {
            rebuildFactor *= rebuild->dipMhz / ft;
            rebuildDims = rounded(scaled(built, rebuildFactor), setup.decimals);
            probes.append(probeOf(rebuildDims));
            if (rebuildWide) {
                probes.last().frequenciesMhz += wideOfTarget;
            }
        } else if (rebuildWide) {
            probes.append({scaled(rebuildDims, scale), std::nullopt, wideOfTarget});
        }
        TuneDimensions fieldReal;
        if (fieldOff) {
            if (best) {
                const double moved = best->dipMhz - fm;
                factor *= std::fabs(moved) > 1e-12 ? (ft - fm) / moved : 1;
            }
            const auto [driven, reflector] = tailsAt(bestShare, factor);
            fieldReal = fieldDims(driven, reflector);
            probes.append(probeOf(fieldReal));
            if (fieldWide) {
                probes.last().frequenciesMhz += wideOfTarget;
            }
        } else if (fieldWide) {
            probes.append({scaled(best->real, scale), std::nullopt, wideOfTarget});
        }
        const std::optional<QList<ProbeAnswer>> answers = rounds.run(probes);
        if (!answers) {
            return finish();
        }
        qsizetype k = 0;
        // Across the band only: the same design's fit of its own.
        const auto widened = [&](Checked &c, const ProbeAnswer &answer) {
            c.own = ownFit(c, answer.points);
            return settleDip(c);
        };
        if (rebuildOff) {
            rebuild = checked(rebuildDims, answers->at(k++), rebuild->own);
        } else if (rebuildWide && !widened(*rebuild, answers->at(k++))) {
            rebuild.reset();
        }
        if (!rebuild) {
            return rebuildWithoutDip();
        }
        if (fieldOff) {
            best = checked(fieldReal, answers->at(k), best ? best->own : std::nullopt);
        } else if (fieldWide && !widened(*best, answers->at(k))) {
            best.reset();
        }
        if (field && !best) {
            refuseField();
        }
    }

    const auto antennaOf = [&](const Checked &c) {
        return TrimmedAntenna{c.real, c.dipMhz, c.figures,
                              curveOfChecked(c).points(lowEdge(ft), highEdge(ft), kCurvePoints)};
    };
    result.rebuild = antennaOf(*rebuild);
    if (best) {
        result.fieldTrim = FieldTrim{
            LocaleNumbers::roundedToMask(best->real.b - built.b, setup.decimals),
            LocaleNumbers::roundedToMask(best->real.d - built.d, setup.decimals), antennaOf(*best)};
    }
    return finish();
}

TrimResult trimWithNec2c(const TuneSetup &setup, double measuredDipMhz, double targetMhz,
                         EngineScheduler &scheduler, const CheckOptions &options,
                         std::function<bool()> cancelled, const AnalysisProgressFn &progress)
{
    return trim(setup, measuredDipMhz, targetMhz,
                nec2cProbeEngine(setup.requestFor, scheduler, options, std::move(cancelled)),
                progress);
}

} // namespace moxon
