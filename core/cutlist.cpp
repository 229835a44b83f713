#include "cutlist.h"

#include "units.h"

#include <cmath>
#include <numbers>

namespace moxon {

namespace {

double degrees(double radians)
{
    return radians * 180 / std::numbers::pi;
}

} // namespace

CutAllowances defaultAllowances(DisplayUnit unit)
{
    const bool imperial = unit == DisplayUnit::Feet || unit == DisplayUnit::Inch;
    return imperial ? CutAllowances{2 * kMetresPerInch, 1 * kMetresPerInch}
                    : CutAllowances{0.05, 0.025};
}

CutList cutList(const BuildDimensions &dims, const CutAllowances &allowances)
{
    CutList list;
    list.driverHalf = {2, dims.a / 2 + dims.b - allowances.feedGap / 2, 2, allowances.wrap};
    list.reflector = {1, dims.a + 2 * dims.d, 2, allowances.wrap};
    list.feedGap = allowances.feedGap;
    list.tailSpacing = dims.c;
    const double acrossE = 2 * std::atan2(dims.e, dims.a);
    list.spreaders = {4, std::hypot(dims.a / 2, dims.e / 2), degrees(acrossE),
                      degrees(std::numbers::pi - acrossE)};
    return list;
}

} // namespace moxon
