#include "wiresize.h"

#include <QString>

#include <cmath>

namespace moxon {

std::optional<WireUnit> wireUnitFromText(QStringView text)
{
    if (text.compare(u"in", Qt::CaseInsensitive) == 0) {
        return WireUnit::Inch;
    }
    if (text.compare(u"mm", Qt::CaseInsensitive) == 0) {
        return WireUnit::Millimetre;
    }
    if (text.compare(u"AWG", Qt::CaseInsensitive) == 0) {
        return WireUnit::Gauge;
    }
    return std::nullopt;
}

bool isValidGauge(double n)
{
    return n == std::floor(n) && n >= 0 && n <= 40;
}

double gaugeDiameterInches(double n)
{
    const double exponent = (36 - n) / 39;
    return std::pow(92.0, exponent) / 200;
}

double diameterRatio(WireUnit unit, double w, double freqMHz)
{
    switch (unit) {
    case WireUnit::Inch:
        return w / (kWavelengthInchMHz / freqMHz);
    case WireUnit::Millimetre:
        return w / (kWavelengthMillimetreMHz / freqMHz);
    case WireUnit::Gauge:
        return gaugeDiameterInches(w) / (kWavelengthInchMHz / freqMHz);
    }
    return std::nan("");
}

} // namespace moxon
