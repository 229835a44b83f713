#include "units.h"

#include <QStringList>

namespace moxon {

namespace {

// Feet times MHz: the display's own wavelength constant, not quite that of the diameter ratio.
constexpr double kWavelengthFeetMHz = 983.5592;

double feetPerWavelength(double freqMHz)
{
    return kWavelengthFeetMHz / freqMHz;
}

const std::array<DisplayUnitInfo, 4> kDisplayUnits = {{
    {DisplayUnit::Feet, u"ft", 'F', 3, 0.3048, u"0.3048", //
     [](double f) { return feetPerWavelength(f); }, [](double in) { return in / 12; }, 1.0 / 12,
     u"in"},
    {DisplayUnit::Inch, u"in", 'I', 2, 0.0254, u"0.0254", //
     [](double f) { return feetPerWavelength(f) * 12; }, [](double in) { return in; }, 1, u"in"},
    {DisplayUnit::Metre, u"m", 'M', 4, 1.0, u"1.0", //
     [](double f) { return feetPerWavelength(f) * 0.3048; }, [](double in) { return in * 0.0254; },
     0.01, u"cm"},
    {DisplayUnit::Millimetre, u"mm", 'L', 1, 0.001, u"0.001", //
     [](double f) { return feetPerWavelength(f) * 12 * 25.4; }, [](double in) { return in * 25.4; },
     1, u"mm"},
}};

// The inch and millimetre constants are not exactly consistent (11802.71 is not
// 299792.5 / 25.4); each is used for its own unit.
const std::array<WireUnitInfo, 3> kWireUnits = {{
    {WireUnit::Inch, u"in", 11802.71, 1, 0.0254},
    {WireUnit::Millimetre, u"mm", 299792.5, 25.4, 0.001},
    {WireUnit::Gauge, u"AWG", 11802.71, 1, 0.0254},
}};

template<typename Info>
auto fromText(const Info &table, QStringView text) -> std::optional<decltype(table[0].unit)>
{
    for (const auto &row : table) {
        if (text.compare(row.text, Qt::CaseInsensitive) == 0) {
            return row.unit;
        }
    }
    return std::nullopt;
}

template<typename Info> QString choices(const Info &table)
{
    QStringList texts;
    for (const auto &row : table) {
        texts.append(row.text.toString());
    }
    const QString last = texts.takeLast();
    return texts.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

} // namespace

const std::array<DisplayUnitInfo, 4> &displayUnits()
{
    return kDisplayUnits;
}
const std::array<WireUnitInfo, 3> &wireUnits()
{
    return kWireUnits;
}

const DisplayUnitInfo &unitInfo(DisplayUnit unit)
{
    return kDisplayUnits.at(std::size_t(unit));
}
const WireUnitInfo &unitInfo(WireUnit unit)
{
    return kWireUnits.at(std::size_t(unit));
}

std::optional<DisplayUnit> displayUnitFromText(QStringView text)
{
    return fromText(kDisplayUnits, text);
}

std::optional<WireUnit> wireUnitFromText(QStringView text)
{
    return fromText(kWireUnits, text);
}

QString unitText(DisplayUnit unit)
{
    return unitInfo(unit).text.toString();
}
QString unitText(WireUnit unit)
{
    return unitInfo(unit).text.toString();
}

QString displayUnitChoices()
{
    return choices(kDisplayUnits);
}
QString wireUnitChoices()
{
    return choices(kWireUnits);
}

} // namespace moxon
