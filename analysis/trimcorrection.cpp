#include "localenumbers.h"
#include "sweepplan.h"
#include "trimrun.h"

#include <cmath>

namespace moxon::trimming {

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
        if (m_best && (m_moves.gap != 0 || m_moves.against != 0)) {
            // E and the tails' move against each other shift the dip besides the line, which a
            // factor on the line's own move cannot make up for where that move is small: the
            // tails move it the rest outright.
            m_moves.further += m_ft - m_best->dipMhz;
        } else if (m_best) {
            const double moved = m_best->dipMhz - m_fm;
            m_factor *= std::fabs(moved) > 1e-12 ? (m_ft - m_fm) / moved : 1;
        }
        correction.fieldReal = m_line->trimmed(m_bestShare, m_factor, m_moves);
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
        FieldTrim field;
        field.antenna = m_check->antenna(*m_best);
        field.longTailsFrontToBack = m_longTailsFrontToBack;
        m_result.fieldTrim = field;
        changesFrom(*m_result.fieldTrim, m_built, m_setup.decimals);
    }
}

void changesFrom(FieldTrim &trim, const TuneDimensions &from, int decimals)
{
    const TuneDimensions &to = trim.antenna.dimensions;
    trim.drivenTailChange = LocaleNumbers::roundedToMask(to.b - from.b, decimals);
    trim.reflectorTailChange = LocaleNumbers::roundedToMask(to.d - from.d, decimals);
    trim.gapChange = LocaleNumbers::roundedToMask(to.e - from.e, decimals);
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

} // namespace moxon::trimming

namespace moxon {

TrimResult toldOf(TrimResult trim, const TuneDimensions &asIs, double dipMhz, double modelDipMhz,
                  int decimals)
{
    trim.built = asIs;
    trim.measuredDipMhz = dipMhz;
    trim.modelDipMhz = modelDipMhz;
    if (trim.fieldTrim) {
        trimming::changesFrom(*trim.fieldTrim, asIs, decimals);
    }
    return trim;
}

} // namespace moxon
