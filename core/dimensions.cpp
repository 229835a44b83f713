#include "dimensions.h"

#include <cmath>

namespace moxon {

namespace {

// c2 * L^2 + c1 * L + c0, grouped as (c2 * L^2 + c1 * L) + c0 so that the sums round as the
// fitted coefficients were meant to be evaluated.
double quadratic(double c2, double c1, double c0, double l)
{
    return (c2 * std::pow(l, 2) + c1 * l) + c0;
}

} // namespace

double logRatio(double ratio)
{
    return std::log(ratio) / std::log(10.0);
}

Dimensions dimensionsFor(double l)
{
    Dimensions dims;
    dims.a = quadratic(-0.0008571428571, -0.009571428571, 0.3398571429, l);
    dims.b = quadratic(-0.002142857143, -0.02035714286, 0.008285714286, l);
    // c2 of C really ends in ...381, not ...3810: it is the published fit.
    dims.c = quadratic(0.001809523381, 0.01780952381, 0.05164285714, l);
    dims.d = 0.001 * l + 0.07178571429;
    dims.e = (dims.c + dims.b) + dims.d;
    return dims;
}

} // namespace moxon
