#include "trim.h"

#include "localenumbers.h"
#include "sweepplan.h"
#include "trimrun.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace moxon {

namespace trimming {

namespace {

// The tails' difference step, in wavelengths: about a centimetre on 20 m, which moves the dip
// by less than the runs' spacing.
constexpr double kTailStepWavelengths = 5e-4;

} // namespace

QString megahertz(double mhz)
{
    return QLocale::c().toString(mhz, 'f', 4) + QStringLiteral(" MHz");
}

TrimRun::TrimRun(const TuneSetup &setup, double measuredDipMhz, double targetMhz,
                 const ProbeEngine &engine, const AnalysisProgressFn &progress, TrimOptions asked)
    : m_setup(setup)
    , m_built(setup.formula)
    , m_fm(measuredDipMhz)
    , m_ft(targetMhz)
    // From a dip alone the long-tailed antenna's check takes the refining round's place.
    , m_rounds(engine, progress, 5 + kMostCorrections + (asked.gap ? kGapRounds + 1 : 0))
{
    const CheckRequest design = setup.requestFor(m_built);
    m_f0 = design.frequencyMhz;
    m_result.built = m_built;
    m_result.designMhz = m_f0;
    m_result.installation = design.installation;
    m_result.targetMhz = m_ft;
    m_result.measuredDipMhz = m_fm;
    m_result.dipAlone = asked.dipAlone;
    m_gapAsked = asked.gap && !asked.dipAlone;
    m_result.trimGap = m_gapAsked;
    m_result.designFrontToBack = asked.designFrontToBack;
}

TrimResult TrimRun::result()
{
    if (!(m_fm > 0) || !(m_ft > 0) || !std::isfinite(m_fm) || !std::isfinite(m_ft)) {
        m_rounds.fail(AnalysisFault::BadInput,
                      QStringLiteral("The measured dip and the target must be frequencies above "
                                     "0 MHz."));
    } else if (model() && scale()) {
        fieldLine();
        if (candidates() && refined() && gapPlaced() && correct() && gapHeld() &&
            longTailsChecked()) {
            finishTrims();
        }
    }
    return m_rounds.finished(m_result);
}

// The model of the built antenna: its figures and a fit over the band, and the antenna's
// first scale from its dip; none when the measured dip or the target lies out of reach.
bool TrimRun::model()
{
    const std::optional<QList<ProbeAnswer>> first =
        m_rounds.run({{m_built, m_f0, AnalysisRounds::acrossSweep(m_f0)}});
    if (!first) {
        return false;
    }
    m_result.modelFigures = *first->first().figures;
    m_atDesign = sweepPoint(m_f0, m_result.modelFigures.feed);
    m_wide = first->first().points;
    m_wide.append(m_atDesign);
    m_base = m_rounds.fitted(m_wide, sweepLowEdge(m_f0), sweepHighEdge(m_f0));
    const std::optional<double> firstDip = m_rounds.dipWithin(m_base, m_f0);
    if (!firstDip) {
        return false;
    }
    m_firstDip = *firstDip;
    m_firstScale = m_firstDip / m_fm;
    if (std::fabs(m_firstScale - 1) > kMostTrimScaleError) {
        m_rounds.fail(
            AnalysisFault::DipOutOfReach,
            QStringLiteral("The measured dip at %1 lies %2 % from the model's at %3: "
                           "more than cutting errors make. Check the measurement and "
                           "the built dimensions.")
                .arg(megahertz(m_fm),
                     QLocale::c().toString(std::fabs(m_fm / m_firstDip - 1) * 100, 'f', 1),
                     megahertz(m_firstDip)));
        return false;
    }
    if (std::fabs(m_ft / m_fm - 1) > kMostTrimScaleError) {
        m_rounds.fail(AnalysisFault::DipOutOfReach,
                      QStringLiteral("The target at %1 lies %2 % from the measured dip at %3: "
                                     "more than a trim of this antenna can reach.")
                          .arg(megahertz(m_ft),
                               QLocale::c().toString(std::fabs(m_ft / m_fm - 1) * 100, 'f', 1),
                               megahertz(m_fm)));
        return false;
    }
    return true;
}

// Around the model's dip: the model, each pair of tails a step longer, and the model scaled
// to the first estimate of the antenna's scale around the measured dip. They give the model's
// curve, the antenna's scale and how far each pair of tails moves the dip.
bool TrimRun::scale()
{
    const double h = kTailStepWavelengths * freeSpaceWavelength(m_f0) / m_setup.metresPerUnit;
    const double step = kSampleShare * m_firstDip;
    const QList<double> aroundDip = {m_firstDip - step, m_firstDip + step};
    const double measuredStep = kSampleShare * m_fm;
    QList<DesignProbe> probes{
        {m_built, std::nullopt, aroundDip},
        {withTails(m_built, h, 0), std::nullopt, aroundDip},
        {withTails(m_built, 0, h), std::nullopt, aroundDip},
        {scaled(m_built, m_firstScale), std::nullopt, {m_fm - measuredStep, m_fm + measuredStep}},
    };
    if (m_gapAsked) {
        TuneDimensions deeper = m_built;
        deeper.e += h;
        probes.append({deeper, std::nullopt, aroundDip});
    }
    const std::optional<QList<ProbeAnswer>> second = m_rounds.run(probes);
    if (!second) {
        return false;
    }
    const double low = sweepLowEdge(m_f0);
    const double high = sweepHighEdge(m_f0);
    const RationalFit &fit = m_base->base();
    const ImpedanceCurve modelCurve(fit, 1, second->at(0).points + QList{m_atDesign});
    const std::optional<double> modelDip = modelCurve.dip(low, high);
    const std::optional<double> drivenDip =
        ImpedanceCurve(fit, 1, second->at(1).points).dip(low, high);
    const std::optional<double> reflectorDip =
        ImpedanceCurve(fit, 1, second->at(2).points).dip(low, high);
    const std::optional<double> scaledDip = ImpedanceCurve(fit, m_firstScale, second->at(3).points)
                                                .dip(sweepLowEdge(m_fm), sweepHighEdge(m_fm));
    if (!modelDip || !drivenDip || !reflectorDip || !scaledDip) {
        m_rounds.fail(AnalysisFault::NoDip, AnalysisRounds::noDip(low, high));
        return false;
    }
    m_modelDip = *modelDip;
    m_result.modelDipMhz = *modelDip;
    // Drawn from a fit of all its runs, when one holds: the correction is good near the dip.
    const std::optional<RationalFit> builtFit =
        RationalFit::fit(impedanceSamples(m_wide + second->at(0).points), low, high);
    m_result.modelCurve =
        (builtFit ? ImpedanceCurve(*builtFit) : modelCurve).points(low, high, kCurvePoints);
    // A design s times as large dips at 1 / s of the frequency, to first order; the engine's
    // run of the first estimate corrects for the wire and the height, which do not scale.
    m_result.scale = m_firstScale * *scaledDip / m_fm;
    m_drivenSlope = (*drivenDip - *modelDip) / h;
    m_reflectorSlope = (*reflectorDip - *modelDip) / h;
    if (m_gapAsked) {
        const std::optional<double> deeperDip =
            ImpedanceCurve(fit, 1, second->at(4).points).dip(low, high);
        m_gapAsked = deeperDip.has_value(); // without it the gap's move cannot be made up for
        m_gapSlope = deeperDip ? (*deeperDip - *modelDip) / h : 0;
    }
    return true;
}

// The field trim on the line where the scaled model dips at the target, and the shares of its
// first candidates; none, with the reason, where the tails cannot bring the dip there.
void TrimRun::fieldLine()
{
    const double shift = (m_ft - m_fm) * m_modelDip / m_fm; // in the unscaled model's dip, MHz
    m_line.emplace(m_built, shift, m_drivenSlope, m_reflectorSlope, m_setup.decimals);
    m_line->setGapSlope(m_gapSlope);
    if (!m_line->tailsMove()) {
        m_result.fieldTrimRefusal = QStringLiteral("The model's dip does not move down as its "
                                                   "tails grow, so no cut of the tails can be "
                                                   "advised.");
    } else if (!m_line->reachable()) {
        m_result.fieldTrimRefusal =
            QStringLiteral("No change of the tails alone moves the dip from %1 to %2: a tail "
                           "or the gap would have to shrink too far. Rebuild instead.")
                .arg(megahertz(m_fm), megahertz(m_ft));
    }
    m_field = m_result.fieldTrimRefusal.isEmpty();
    if (m_field) {
        m_shares = m_line->firstShares(std::fabs(shift) <= kTrimDipAgreement * m_ft);
    }
}

// The candidates and the rebuild, each on the model scaled as the antenna behaves, run at the
// target: the figures there and either side of it.
bool TrimRun::candidates()
{
    m_check.emplace(m_ft, m_result.scale, m_base->base(), m_modelDip);
    m_rebuildFactor = m_fm / m_ft;
    QList<DesignProbe> probes{m_check->probe(rebuildDims())};
    for (const double u : std::as_const(m_shares)) {
        probes.append(m_check->probe(m_line->trimmed(u, 1)));
    }
    probes += longTailsProbes();
    const std::optional<QList<ProbeAnswer>> answers = m_rounds.run(probes);
    if (!answers) {
        return false;
    }
    m_rebuild = m_check->checked(rebuildDims(), answers->first());
    if (!m_rebuild) {
        return rebuildWithoutDip();
    }
    if (m_field) {
        fieldCandidates(*answers);
    }
    return true;
}

// The front-to-back along the line, a parabola through the candidates; its best within the
// line's bounds (from a dip alone, the share that holds the long-tailed antenna too), and the
// dip's miss there.
void TrimRun::fieldCandidates(const QList<ProbeAnswer> &answers)
{
    QList<std::pair<double, double>> frontToBack; // by share, along the line
    QList<std::pair<double, double>> longTails;   // from a dip alone: the long-tailed antenna's
    QList<std::pair<double, double>> miss;        // the dip's, MHz
    for (qsizetype k = 0; k < m_shares.size(); ++k) {
        // A candidate without a dip near the target tells nothing of the line.
        if (const std::optional<Checked> c =
                m_check->checked(m_line->trimmed(m_shares.at(k), 1), answers.at(k + 1))) {
            frontToBack.append({m_shares.at(k), c->figures.frontToBack});
            const qsizetype tailed = k + 1 + m_shares.size();
            if (m_longTails && answers.at(tailed).figures) {
                longTails.append({m_shares.at(k), answers.at(tailed).figures->frontToBack});
            }
            miss.append({m_shares.at(k), c->dipMhz - m_ft});
        }
    }
    if (frontToBack.isEmpty()) {
        refuseField();
        return;
    }
    // From a dip alone, the cut that holds the long-tailed antenna as well as the scaled one.
    m_bestShare =
        m_longTails ? m_line->heldShare(frontToBack, longTails) : m_line->bestShare(frontToBack);
    // Along the line through no change, the dip moves in proportion: the factor that takes
    // the dip's miss out.
    const double moved = m_ft - m_fm + trimming::through(miss, m_bestShare);
    m_factor = std::fabs(moved) > 1e-12 ? (m_ft - m_fm) / moved : 1;
}

// The front-to-back's peak along the line is narrower than the first candidates lie apart:
// three more around the best share, on the line as corrected for the dip, place it again. They
// need the figures at the target alone: the corrections that follow put the dip there. From a
// dip alone the share is the one that holds both readings, and stays.
bool TrimRun::refined()
{
    if (!m_field || m_longTails) {
        return true;
    }
    QList<double> shares;
    for (const double u :
         {m_bestShare - kRefiningSpacing, m_bestShare, m_bestShare + kRefiningSpacing}) {
        if (shares.isEmpty() || m_line->clamped(u) > shares.last() + 1e-9) {
            shares.append(m_line->clamped(u));
        }
    }
    QList<DesignProbe> probes;
    for (const double u : std::as_const(shares)) {
        probes.append(m_check->figuresProbe(m_line->trimmed(u, m_factor)));
    }
    const std::optional<QList<ProbeAnswer>> answers = m_rounds.run(probes);
    if (!answers) {
        return false;
    }
    QList<std::pair<double, double>> frontToBack; // by share, along the line
    for (qsizetype k = 0; k < shares.size(); ++k) {
        frontToBack.append({shares.at(k), answers->at(k).figures->frontToBack});
    }
    if (frontToBack.size() >= 2) {
        m_bestShare = m_line->bestShare(frontToBack);
    }
    return true;
}

// From a dip alone, each candidate on the antenna read as long-tailed too, at the target; none
// where its tails would leave too little gap, and none with a curve that tells them apart.
QList<DesignProbe> TrimRun::longTailsProbes()
{
    if (!m_result.dipAlone || !m_field) {
        return {};
    }
    trimming::LongTails longTails(m_built, m_fm, m_modelDip, m_drivenSlope, m_reflectorSlope);
    QList<TuneDimensions> cuts;
    for (const double u : std::as_const(m_shares)) {
        cuts.append(m_line->trimmed(u, 1));
    }
    if (!longTails.roomFor(cuts)) {
        m_result.longTailsRefusal = longTails.refusal();
        return {};
    }
    m_longTails = longTails;
    m_result.longTails = longTails.tails();
    QList<DesignProbe> probes;
    for (const TuneDimensions &cut : std::as_const(cuts)) {
        probes.append({m_longTails->after(cut), m_ft, {}});
    }
    return probes;
}

// The field trim as corrected, on the long-tailed antenna: its front-to-back at the target,
// reported beside the scaled model's prediction.
bool TrimRun::longTailsChecked()
{
    if (!m_longTails || !m_best) {
        return true;
    }
    const std::optional<QList<ProbeAnswer>> answers =
        m_rounds.run({{m_longTails->after(m_best->real), m_ft, {}}});
    if (!answers) {
        return false;
    }
    if (const std::optional<DesignFigures> &figures = answers->first().figures) {
        m_longTailsFrontToBack = figures->frontToBack;
    }
    return true;
}

} // namespace trimming

using trimming::TrimRun;

double heldFrontToBack(double rebuildDb, const std::optional<double> &designDb)
{
    return std::max(rebuildDb, designDb.value_or(rebuildDb));
}

std::optional<double> frameShortfall(const TrimResult &result)
{
    if (!result.fieldTrim || result.dipAlone || result.trimGap) {
        return std::nullopt;
    }
    const double shortfall =
        heldFrontToBack(result.rebuild.figures.frontToBack, result.designFrontToBack) -
        result.fieldTrim->antenna.figures.frontToBack;
    return shortfall > kFrameShortfallDb ? std::optional(shortfall) : std::nullopt;
}

TuneDimensions withTails(TuneDimensions dims, double driven, double reflector)
{
    dims.b += driven;
    dims.d += reflector;
    return dims;
}

TrimResult trim(const TuneSetup &setup, double measuredDipMhz, double targetMhz,
                const ProbeEngine &engine, const AnalysisProgressFn &progress, TrimOptions asked)
{
    return TrimRun(setup, measuredDipMhz, targetMhz, engine, progress, asked).result();
}

TrimResult trimWithNec2c(const TuneSetup &setup, double measuredDipMhz, double targetMhz,
                         EngineScheduler &scheduler, const CheckOptions &options,
                         std::function<bool()> cancelled, const AnalysisProgressFn &progress,
                         TrimOptions asked)
{
    return trim(setup, measuredDipMhz, targetMhz,
                nec2cProbeEngine(setup.requestFor, scheduler, options, std::move(cancelled)),
                progress, asked);
}

} // namespace moxon
