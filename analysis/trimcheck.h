#pragma once

#include "designprobe.h"
#include "impedancecurve.h"
#include "trim.h"

#include <QList>

#include <optional>

namespace moxon::trimming {

// The drawn curves' points, as the check's fit draws its own.
inline constexpr int kCurvePoints = 401;

// `dims` with every dimension times `scale`.
[[nodiscard]] TuneDimensions scaled(const TuneDimensions &dims, double scale);
// `dims` as the builder makes them: each to `decimals` of the display unit.
[[nodiscard]] TuneDimensions rounded(const TuneDimensions &dims, int decimals);

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

// The trimmed designs, a field trim or a rebuild, as the engine checks them: each on the model
// scaled as the antenna behaves (`scale`), run at the target and either side of it, and once
// across the band for a curve of its own. Until it has one, a design's curve is the built
// model's fit (`modelFit`, dipping at `modelDipMhz`) stretched onto the target and corrected
// through its runs there.
class TargetCheck
{
public:
    TargetCheck(double targetMhz, double scale, RationalFit modelFit, double modelDipMhz);

    // `real` at the target: its figures there and its impedance either side.
    [[nodiscard]] DesignProbe probe(const TuneDimensions &real) const;
    // `real` across the band only, for a fit of its own.
    [[nodiscard]] DesignProbe acrossProbe(const TuneDimensions &real) const;
    // The figures alone at the target: for comparing candidates' front-to-back.
    [[nodiscard]] DesignProbe figuresProbe(const TuneDimensions &real) const;
    // The frequencies of a run across the band around the target.
    [[nodiscard]] const QList<double> &acrossTarget() const { return m_acrossTarget; }

    // The engine's answer for `real`: the figures at the target, its runs around it and, when
    // it ran there too, across the band, which give it a fit of its own (`own` until then).
    // None when its curve has no dip within 5 % of the target.
    [[nodiscard]] std::optional<Checked> checked(const TuneDimensions &real,
                                                 const ProbeAnswer &answer,
                                                 std::optional<RationalFit> own = {}) const;
    // A design's runs across the band only: its fit of its own, and its dip on it; false when
    // it has none within 5 % of the target.
    [[nodiscard]] bool widened(Checked &checked, const ProbeAnswer &answer) const;
    // What the trim advises of a checked design, with its predicted curve.
    [[nodiscard]] TrimmedAntenna antenna(const Checked &checked) const;

private:
    [[nodiscard]] ImpedanceCurve curveOf(const Checked &checked) const;
    // Its dip; false when its curve has none within 5 % of the target.
    [[nodiscard]] bool settleDip(Checked &checked) const;
    // Its fit across the band: the runs there and the target's, far enough apart that the
    // small steps of the engine's ground model between nearby frequencies do not bend it;
    // the runs beside the target correct it there.
    [[nodiscard]] std::optional<RationalFit> ownFit(const Checked &checked,
                                                    const QList<SweepPoint> &across) const;

    double m_targetMhz = 0;
    double m_scale = 1;
    RationalFit m_modelFit;
    double m_modelDipMhz = 0;
    QList<double> m_aroundTarget; // either side of it, MHz
    QList<double> m_acrossTarget; // across the band around it, MHz
};

} // namespace moxon::trimming
