#include "displayunits.h"

namespace moxon {

namespace {

constexpr double kWavelengthFeetMHz = 983.5592; // feet times MHz

} // namespace

std::optional<DisplayUnit> displayUnitFromText(QStringView text)
{
    if (text.compare(u"ft", Qt::CaseInsensitive) == 0) {
        return DisplayUnit::Feet;
    }
    if (text.compare(u"in", Qt::CaseInsensitive) == 0) {
        return DisplayUnit::Inch;
    }
    if (text.compare(u"m", Qt::CaseInsensitive) == 0) {
        return DisplayUnit::Metre;
    }
    if (text.compare(u"mm", Qt::CaseInsensitive) == 0) {
        return DisplayUnit::Millimetre;
    }
    return std::nullopt;
}

QString displayUnitText(DisplayUnit unit)
{
    switch (unit) {
    case DisplayUnit::Feet:
        return QStringLiteral("ft");
    case DisplayUnit::Inch:
        return QStringLiteral("in");
    case DisplayUnit::Metre:
        return QStringLiteral("m");
    case DisplayUnit::Millimetre:
        return QStringLiteral("mm");
    }
    return {};
}

double wavelengthIn(DisplayUnit unit, double freqMHz)
{
    const double feet = kWavelengthFeetMHz / freqMHz;
    const double inches = feet * 12;
    switch (unit) {
    case DisplayUnit::Feet:
        return feet;
    case DisplayUnit::Inch:
        return inches;
    case DisplayUnit::Metre:
        return feet * 0.3048;
    case DisplayUnit::Millimetre:
        return inches * 25.4;
    }
    return 0;
}

int maskDecimals(DisplayUnit unit)
{
    switch (unit) {
    case DisplayUnit::Feet:
        return 3;
    case DisplayUnit::Inch:
        return 2;
    case DisplayUnit::Metre:
        return 4;
    case DisplayUnit::Millimetre:
        return 1;
    }
    return 0;
}

} // namespace moxon
