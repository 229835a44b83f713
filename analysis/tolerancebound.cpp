#include "tolerancebound.h"

#include "feedline.h"
#include "necoutput.h"

#include <algorithm>
#include <cmath>

namespace moxon::tolerance {

namespace {

// A tolerance is known when the engine has a change within both limits and one past them this
// close together, relative to the tolerance (or the display's last decimal, if coarser).
constexpr double kToleranceAccuracy = 0.05;
constexpr int kSearchGrid = 400; // steps of the estimated limits' scan

} // namespace

double Estimate::swrAt(double x) const
{
    const std::complex<double> z = curve->impedance(f0Mhz - dipSlope * x) + residualSlope * x;
    return standingWaveRatio({z.real(), z.imag()}, kLineImpedance);
}

double Estimate::frontToBackChange(double x) const
{
    const double ratio = 1 + 2 * kappaReal * x + kappaSquared * x * x;
    return -10 * std::log10(std::max(ratio, 1e-12));
}

Margins marginsOf(double swr, double frontToBack, double designFrontToBack)
{
    return {kToleranceSwr - swr, frontToBack - (designFrontToBack - kToleranceFrontToBackDrop)};
}

bool within(const Margins &margins)
{
    return margins[kSwrMargin] >= 0 && margins[kFrontToBackMargin] >= 0;
}

Bound::Bound(CutDimension dimension, double sign, double searchEnd, double resolution,
             const Estimate &estimate)
    : m_dimension(dimension)
    , m_sign(sign)
    , m_searchEnd(searchEnd)
    , m_resolution(resolution)
    , m_estimate(estimate)
{
}

void Bound::add(double change, const DesignFigures &figures)
{
    const Margins engine = marginsOf(figures.swr, figures.frontToBack, m_estimate.frontToBack);
    const auto [inside, outside] = bracket();
    if (outside) {
        const bool movedInside = within(engine);
        m_keptOutside = movedInside ? m_keptOutside + 1 : 0;
        m_keptInside = movedInside ? 0 : m_keptInside + 1;
    }
    m_runs.append({change, engine, uncorrected(change)});
    std::sort(m_runs.begin(), m_runs.end(),
              [](const Run &x, const Run &y) { return x.change < y.change; });
}

std::optional<double> Bound::next()
{
    const auto [inside, outside] = bracket();
    if (!outside) {
        if (inside >= m_searchEnd) {
            settle(m_searchEnd, ToleranceLimit::SearchEnd);
            return std::nullopt;
        }
        const double estimated = estimatedCrossing(inside);
        return std::min(m_searchEnd, std::max(1.1 * estimated, 1.5 * inside));
    }
    const auto [crossing, limit] = interpolated(inside, *outside);
    if (*outside - inside <= std::max(kToleranceAccuracy * inside, m_resolution) ||
        nearLimit(inside) || nearLimit(*outside)) {
        settle(crossing, limit);
        return std::nullopt;
    }
    return crossing;
}

void Bound::settle()
{
    const auto [inside, outside] = bracket();
    if (outside) {
        const auto [crossing, limit] = interpolated(inside, *outside);
        settle(crossing, limit);
    } else {
        settle(inside, ToleranceLimit::SearchEnd);
    }
}

const Bound::Run &Bound::runAt(double change) const
{
    return *std::find_if(m_runs.cbegin(), m_runs.cend(),
                         [change](const Run &run) { return run.change == change; });
}

Margins Bound::uncorrected(double change) const
{
    const double x = m_sign * change;
    return marginsOf(m_estimate.swrAt(x), m_estimate.frontToBack + m_estimate.frontToBackChange(x),
                     m_estimate.frontToBack);
}

Margins Bound::corrected(double change) const
{
    const Run &last = m_runs.last();
    Margins result = uncorrected(change);
    for (std::size_t j = 0; j < 2; ++j) {
        result[j] += last.engine[j] - last.estimated[j];
    }
    return result;
}

double Bound::estimatedCrossing(double from) const
{
    const double grid = (m_searchEnd - from) / kSearchGrid;
    for (int g = 1; g <= kSearchGrid; ++g) {
        if (within(corrected(from + g * grid))) {
            continue;
        }
        double a = from + (g - 1) * grid;
        double b = from + g * grid;
        while (b - a > 1e-4 * grid) {
            const double m = (a + b) / 2;
            (within(corrected(m)) ? a : b) = m;
        }
        return (a + b) / 2;
    }
    return m_searchEnd;
}

std::pair<double, ToleranceLimit> Bound::interpolated(double inside, double outside) const
{
    const Margins &in = runAt(inside).engine;
    const Margins &out = runAt(outside).engine;
    const double inWeight = m_keptInside >= 2 ? std::pow(0.5, m_keptInside - 1) : 1;
    const double outWeight = m_keptOutside >= 2 ? std::pow(0.5, m_keptOutside - 1) : 1;
    std::pair<double, ToleranceLimit> first{outside, ToleranceLimit::SearchEnd};
    for (std::size_t j = 0; j < 2; ++j) {
        if (out[j] >= 0) {
            continue;
        }
        const double a = inWeight * in[j];
        const double b = outWeight * out[j];
        const double t = inside + (outside - inside) * a / (a - b);
        if (t <= first.first) {
            first = {t, j == kSwrMargin ? ToleranceLimit::Swr : ToleranceLimit::FrontToBack};
        }
    }
    return first;
}

bool Bound::nearLimit(double change) const
{
    const Margins &margins = runAt(change).engine;
    return std::fabs(margins[kSwrMargin]) <= 0.005 ||
           std::fabs(margins[kFrontToBackMargin]) <= 0.05;
}

std::pair<double, std::optional<double>> Bound::bracket() const
{
    double inside = 0;
    for (const Run &run : m_runs) {
        if (!within(run.engine)) {
            return {inside, run.change};
        }
        inside = run.change;
    }
    return {inside, std::nullopt};
}

void Bound::settle(double tolerance, ToleranceLimit limit)
{
    m_tolerance = tolerance;
    m_limit = limit;
    m_known = true;
}

} // namespace moxon::tolerance
