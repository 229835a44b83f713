#pragma once

#include <QList>

#include <algorithm>

namespace moxon::bench {

// The median of a benchmark's rounds: what it reports, since a shared machine's noise comes in
// outliers.
inline double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n == 0 ? 0 : n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
}

} // namespace moxon::bench
