#include "trimcheck.h"

#include "analysisrounds.h"
#include "localenumbers.h"
#include "sweepplan.h"

namespace moxon::trimming {

namespace {

} // namespace

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

TargetCheck::TargetCheck(double targetMhz, double scale, RationalFit modelFit, double modelDipMhz)
    : m_targetMhz(targetMhz)
    , m_scale(scale)
    , m_modelFit(std::move(modelFit))
    , m_modelDipMhz(modelDipMhz)
    , m_aroundTarget{targetMhz - kSampleShare * targetMhz, targetMhz + kSampleShare * targetMhz}
    , m_acrossTarget(AnalysisRounds::acrossSweep(targetMhz))
{
}

DesignProbe TargetCheck::probe(const TuneDimensions &real) const
{
    return DesignProbe{scaled(real, m_scale), m_targetMhz, m_aroundTarget};
}

DesignProbe TargetCheck::figuresProbe(const TuneDimensions &real) const
{
    return DesignProbe{scaled(real, m_scale), m_targetMhz, {}};
}

DesignProbe TargetCheck::acrossProbe(const TuneDimensions &real) const
{
    return DesignProbe{scaled(real, m_scale), std::nullopt, m_acrossTarget};
}

std::optional<Checked> TargetCheck::checked(const TuneDimensions &real, const ProbeAnswer &answer,
                                            std::optional<RationalFit> own) const
{
    Checked c{real, *answer.figures, answer.points.mid(0, 2), std::move(own), 0};
    c.near.append(sweepPoint(m_targetMhz, c.figures.feed));
    if (answer.points.size() > 2) {
        c.own = ownFit(c, answer.points.mid(2));
    }
    return settleDip(c) ? std::optional<Checked>(c) : std::nullopt;
}

bool TargetCheck::widened(Checked &checked, const ProbeAnswer &answer) const
{
    checked.own = ownFit(checked, answer.points);
    return settleDip(checked);
}

TrimmedAntenna TargetCheck::antenna(const Checked &checked) const
{
    return TrimmedAntenna{checked.real, checked.dipMhz, checked.figures,
                          curveOf(checked).points(sweepLowEdge(m_targetMhz),
                                                  sweepHighEdge(m_targetMhz), kCurvePoints)};
}

ImpedanceCurve TargetCheck::curveOf(const Checked &checked) const
{
    return checked.own ? ImpedanceCurve(*checked.own, 1, checked.near)
                       : ImpedanceCurve(m_modelFit, m_modelDipMhz / m_targetMhz, checked.near);
}

bool TargetCheck::settleDip(Checked &checked) const
{
    const std::optional<double> dip =
        curveOf(checked).dip(sweepLowEdge(m_targetMhz), sweepHighEdge(m_targetMhz));
    checked.dipMhz = dip.value_or(0);
    return dip.has_value();
}

std::optional<RationalFit> TargetCheck::ownFit(const Checked &checked,
                                               const QList<SweepPoint> &across) const
{
    return RationalFit::fit(impedanceSamples(across + QList{checked.near.last()}),
                            sweepLowEdge(m_targetMhz), sweepHighEdge(m_targetMhz));
}

} // namespace moxon::trimming
