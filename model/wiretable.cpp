#include "wiretable.h"

#include <utility>

namespace moxon {

WireTable buildWireTable(const ShownDimensions &shown, bool vertical, bool xAxis)
{
    const double half = shown.a / 2;
    const double tailTip = shown.e - shown.b;
    const double e = shown.e;
    const double d = shown.d;

    WireTable table{{
        {-half, tailTip, 0, -half, e, 0, 5},
        {-half, e, 0, half, e, 0, 35},
        {half, e, 0, half, tailTip, 0, 5},
        {-half, d, 0, -half, 0, 0, 7},
        {-half, 0, 0, half, 0, 0, 35},
        {half, 0, 0, half, d, 0, 7},
    }};

    if (vertical) {
        for (WireRow &row : table) {
            row.Z1 = row.X1;
            row.X1 = 0;
            row.Z2 = row.X2;
            row.X2 = 0;
        }
    }
    if (xAxis) {
        for (WireRow &row : table) {
            std::swap(row.X1, row.Y1);
            std::swap(row.X2, row.Y2);
        }
    }
    return table;
}

} // namespace moxon
