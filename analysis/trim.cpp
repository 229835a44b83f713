#include "trim.h"

#include "analysisrounds.h"
#include "localenumbers.h"
#include "sweepplan.h"
#include "trimcheck.h"
#include "trimline.h"

#include <QLocale>

#include <cmath>

namespace moxon {

using trimming::Checked;
using trimming::kCurvePoints;
using trimming::rounded;
using trimming::scaled;

namespace {

// The tails' difference step, in wavelengths: about a centimetre on 20 m, which moves the dip
// by less than the runs' spacing.
constexpr double kTailStepWavelengths = 5e-4;
constexpr int kMostCorrections = 2; // engine runs bringing the dip onto the target

QString megahertz(double mhz)
{
    return QLocale::c().toString(mhz, 'f', 4) + QStringLiteral(" MHz");
}

// One round of corrections: which of the rebuild and the field trim are off the target, and
// which still lack a curve of their own; the dimensions run for those off it.
struct Correction
{
    bool rebuildOff = false;
    bool fieldOff = false;
    bool rebuildWide = false;
    bool fieldWide = false;
    TuneDimensions rebuildDims;
    TuneDimensions fieldReal;
};

// One trim, in the order its rounds run: the built model and the antenna's scale, the field
// trim's line, its candidates and the rebuild at the target, and their corrections. A step
// that returns false ended the analysis, cancelled or failed, as its rounds say.
class TrimRun
{
public:
    TrimRun(const TuneSetup &setup, double measuredDipMhz, double targetMhz,
            const ProbeEngine &engine, const AnalysisProgressFn &progress);

    [[nodiscard]] TrimResult result();

private:
    [[nodiscard]] bool model();
    [[nodiscard]] bool scale();
    void fieldLine();
    [[nodiscard]] bool candidates();
    void fieldCandidates(const QList<ProbeAnswer> &answers);
    [[nodiscard]] bool correct();
    [[nodiscard]] QList<DesignProbe> correctionProbes(Correction &correction);
    [[nodiscard]] bool takeCorrections(const Correction &correction,
                                       const QList<ProbeAnswer> &answers);
    void finishTrims();

    [[nodiscard]] TuneDimensions rebuildDims() const;
    // The rebuild must dip near the target; a field trim that does not is not advised.
    [[nodiscard]] bool rebuildWithoutDip();
    void refuseField();

    const TuneSetup &m_setup;
    const TuneDimensions &m_built;
    double m_f0 = 0; // MHz: the design frequency
    double m_fm = 0; // MHz: the measured dip
    double m_ft = 0; // MHz: the target
    AnalysisRounds m_rounds;
    TrimResult m_result;
    SweepPoint m_atDesign;                // the model's figures run
    QList<SweepPoint> m_wide;             // the model's first runs, across the band
    std::optional<ImpedanceCurve> m_base; // the model's first fit
    double m_firstDip = 0;                // MHz: on it
    double m_firstScale = 1;              // the antenna's scale as that dip gives it
    double m_modelDip = 0;                // MHz: on the model's corrected curve
    double m_drivenSlope = 0;             // MHz per display unit of the driven element's tails
    double m_reflectorSlope = 0;          // MHz per display unit of the reflector's tails
    std::optional<trimming::TailLine> m_line;
    std::optional<trimming::TargetCheck> m_check;
    bool m_field = false; // whether a field trim is still sought
    QList<double> m_shares;
    double m_rebuildFactor = 1; // every dimension of the rebuild times it
    std::optional<Checked> m_rebuild;
    std::optional<Checked> m_best; // the field trim
    double m_factor = 1;           // the field trim's tails times the line's
    double m_bestShare = 0.5;
};

TrimRun::TrimRun(const TuneSetup &setup, double measuredDipMhz, double targetMhz,
                 const ProbeEngine &engine, const AnalysisProgressFn &progress)
    : m_setup(setup)
    , m_built(setup.formula)
    , m_fm(measuredDipMhz)
    , m_ft(targetMhz)
    , m_rounds(engine, progress, 4 + kMostCorrections)
{
    const CheckRequest design = setup.requestFor(m_built);
    m_f0 = design.frequencyMhz;
    m_result.built = m_built;
    m_result.designMhz = m_f0;
    m_result.installation = design.installation;
    m_result.targetMhz = m_ft;
    m_result.measuredDipMhz = m_fm;
}

TrimResult TrimRun::result()
{
    if (!(m_fm > 0) || !(m_ft > 0) || !std::isfinite(m_fm) || !std::isfinite(m_ft)) {
        m_rounds.fail(AnalysisFault::BadInput,
                      QStringLiteral("The measured dip and the target must be frequencies above "
                                     "0 MHz."));
    } else if (model() && scale()) {
        fieldLine();
        if (candidates() && correct()) {
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
    const std::optional<QList<ProbeAnswer>> second = m_rounds.run({
        {m_built, std::nullopt, aroundDip},
        {withTails(m_built, h, 0), std::nullopt, aroundDip},
        {withTails(m_built, 0, h), std::nullopt, aroundDip},
        {scaled(m_built, m_firstScale), std::nullopt, {m_fm - measuredStep, m_fm + measuredStep}},
    });
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
    return true;
}

// The field trim on the line where the scaled model dips at the target, and the shares of its
// first candidates; none, with the reason, where the tails cannot bring the dip there.
void TrimRun::fieldLine()
{
    const double shift = (m_ft - m_fm) * m_modelDip / m_fm; // in the unscaled model's dip, MHz
    m_line.emplace(m_built, shift, m_drivenSlope, m_reflectorSlope, m_setup.decimals);
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
// line's bounds, and the dip's miss there.
void TrimRun::fieldCandidates(const QList<ProbeAnswer> &answers)
{
    QList<std::pair<double, double>> frontToBack; // by share, along the line
    QList<std::pair<double, double>> miss;        // the dip's, MHz
    for (qsizetype k = 0; k < m_shares.size(); ++k) {
        // A candidate without a dip near the target tells nothing of the line.
        if (const std::optional<Checked> c =
                m_check->checked(m_line->trimmed(m_shares.at(k), 1), answers.at(k + 1))) {
            frontToBack.append({m_shares.at(k), c->figures.frontToBack});
            miss.append({m_shares.at(k), c->dipMhz - m_ft});
        }
    }
    if (frontToBack.isEmpty()) {
        refuseField();
        return;
    }
    m_bestShare = m_line->bestShare(frontToBack);
    // Along the line through no change, the dip moves in proportion: the factor that takes
    // the dip's miss out.
    const double moved = m_ft - m_fm + trimming::through(miss, m_bestShare);
    m_factor = std::fabs(moved) > 1e-12 ? (m_ft - m_fm) / moved : 1;
}

// The best share and the rebuild checked on the engine, corrected until the dip is on the
// target, and each run across the band once for its own curve.
bool TrimRun::correct()
{
    for (int round = 0; round <= kMostCorrections; ++round) {
        const bool last = round == kMostCorrections;
        const double agreement = kTrimDipAgreement * m_ft;
        Correction correction;
        correction.rebuildOff = !last && std::fabs(m_rebuild->dipMhz - m_ft) > agreement;
        correction.fieldOff =
            m_field && (!m_best || (!last && std::fabs(m_best->dipMhz - m_ft) > agreement));
        correction.rebuildWide = !m_rebuild->own;
        correction.fieldWide = m_field && (!m_best || !m_best->own);
        if (!correction.rebuildOff && !correction.fieldOff && !correction.rebuildWide &&
            !correction.fieldWide) {
            break;
        }
        const std::optional<QList<ProbeAnswer>> answers =
            m_rounds.run(correctionProbes(correction));
        if (!answers || !takeCorrections(correction, *answers)) {
            return false;
        }
    }
    return true;
}

QList<DesignProbe> TrimRun::correctionProbes(Correction &correction)
{
    QList<DesignProbe> probes;
    correction.rebuildDims = m_rebuild->real;
    if (correction.rebuildOff) {
        m_rebuildFactor *= m_rebuild->dipMhz / m_ft;
        correction.rebuildDims = rebuildDims();
        probes.append(m_check->probe(correction.rebuildDims));
        if (correction.rebuildWide) {
            probes.last().frequenciesMhz += m_check->acrossTarget();
        }
    } else if (correction.rebuildWide) {
        probes.append(m_check->acrossProbe(correction.rebuildDims));
    }
    if (correction.fieldOff) {
        if (m_best) {
            const double moved = m_best->dipMhz - m_fm;
            m_factor *= std::fabs(moved) > 1e-12 ? (m_ft - m_fm) / moved : 1;
        }
        correction.fieldReal = m_line->trimmed(m_bestShare, m_factor);
        probes.append(m_check->probe(correction.fieldReal));
        if (correction.fieldWide) {
            probes.last().frequenciesMhz += m_check->acrossTarget();
        }
    } else if (correction.fieldWide) {
        probes.append(m_check->acrossProbe(m_best->real));
    }
    return probes;
}

bool TrimRun::takeCorrections(const Correction &correction, const QList<ProbeAnswer> &answers)
{
    qsizetype k = 0;
    if (correction.rebuildOff) {
        m_rebuild = m_check->checked(correction.rebuildDims, answers.at(k++), m_rebuild->own);
    } else if (correction.rebuildWide && !m_check->widened(*m_rebuild, answers.at(k++))) {
        m_rebuild.reset();
    }
    if (!m_rebuild) {
        return rebuildWithoutDip();
    }
    if (correction.fieldOff) {
        m_best = m_check->checked(correction.fieldReal, answers.at(k),
                                  m_best ? m_best->own : std::nullopt);
    } else if (correction.fieldWide && !m_check->widened(*m_best, answers.at(k))) {
        m_best.reset();
    }
    if (m_field && !m_best) {
        refuseField();
    }
    return true;
}

void TrimRun::finishTrims()
{
    m_result.rebuild = m_check->antenna(*m_rebuild);
    if (m_best) {
        m_result.fieldTrim =
            FieldTrim{LocaleNumbers::roundedToMask(m_best->real.b - m_built.b, m_setup.decimals),
                      LocaleNumbers::roundedToMask(m_best->real.d - m_built.d, m_setup.decimals),
                      m_check->antenna(*m_best)};
    }
}

TuneDimensions TrimRun::rebuildDims() const
{
    return rounded(scaled(m_built, m_rebuildFactor), m_setup.decimals);
}

bool TrimRun::rebuildWithoutDip()
{
    m_rounds.fail(AnalysisFault::NoDip,
                  AnalysisRounds::noDip(sweepLowEdge(m_ft), sweepHighEdge(m_ft)));
    return false;
}

void TrimRun::refuseField()
{
    m_result.fieldTrimRefusal =
        QStringLiteral("The tails changed as far as the dip must move leave the model without "
                       "an SWR dip within 5 % of %1. Rebuild instead.")
            .arg(megahertz(m_ft));
    m_field = false;
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
    return TrimRun(setup, measuredDipMhz, targetMhz, engine, progress).result();
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
