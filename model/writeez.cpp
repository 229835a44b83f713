#include "writeez.h"

#include "displayunits.h"
#include "eznec_types.h"
#include "wiresize.h"

#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace moxon {

namespace {

constexpr double kMetresPerInch = 0.0254;

struct UnitCode
{
    char letter = 'I';
    double metres = kMetresPerInch; // metres per display unit
};

UnitCode unitCode(DisplayUnit unit)
{
    switch (unit) {
    case DisplayUnit::Feet:
        return {'F', 0.3048};
    case DisplayUnit::Inch:
        return {'I', kMetresPerInch};
    case DisplayUnit::Metre:
        return {'M', 1.0};
    case DisplayUnit::Millimetre:
        return {'L', 0.001};
    }
    return {};
}

struct WireThickness
{
    float diameter = 0; // metres
    qint16 gauge = -1;
};

// The diameter rule of the window in metres, not rounded: a gauge is kept as its number,
// a diameter is marked with gauge -1.
std::optional<WireThickness> wireThickness(WireUnit unit, const QString &wireSize,
                                           const LocaleNumbers &numbers)
{
    if (unit == WireUnit::Gauge) {
        const std::optional<qint16> gauge = gaugeFromWireText(wireSize, numbers);
        if (!gauge) {
            return std::nullopt;
        }
        const std::optional<float> diameter =
            toSinglePrecision(gaugeDiameterInches(*gauge) * kMetresPerInch);
        if (!diameter) {
            return std::nullopt;
        }
        return WireThickness{*diameter, *gauge};
    }
    const std::optional<double> size = numbers.toDouble(wireSize);
    const double metresPerUnit = unit == WireUnit::Inch ? kMetresPerInch : 0.001;
    const std::optional<float> diameter =
        size ? toSinglePrecision(*size * metresPerUnit) : std::nullopt;
    if (!diameter) {
        return std::nullopt;
    }
    return WireThickness{*diameter, -1};
}

std::optional<qint16> segmentCount(double segments)
{
    const double whole = std::nearbyint(segments); // a tie goes to the even number
    if (!(whole >= std::numeric_limits<qint16>::min() &&
          whole <= std::numeric_limits<qint16>::max())) {
        return std::nullopt;
    }
    return static_cast<qint16>(whole);
}

} // namespace

WriteResult WriteEZ(QIODevice &out, const ModelSource &source, const LocaleNumbers &numbers)
{
    const std::optional<float> frequency = numbers.toSingle(source.frequency);
    if (!frequency) {
        return WriteResult::failure(
            QStringLiteral("The frequency '%1' is not a number that the model file can hold.")
                .arg(source.frequency));
    }
    const std::optional<DisplayUnit> displayUnit = displayUnitFromText(source.displayUnits);
    if (!displayUnit) {
        return WriteResult::failure(unknownDisplayUnit(source.displayUnits));
    }
    const std::optional<WireUnit> wireUnit = wireUnitFromText(source.wireUnit);
    if (!wireUnit) {
        return WriteResult::failure(unknownWireUnit(source.wireUnit));
    }
    const std::optional<WireThickness> thickness =
        wireThickness(*wireUnit, source.wireSize, numbers);
    if (!thickness) {
        return WriteResult::failure(unreadableWireSize(source.wireSize));
    }

    const UnitCode code = unitCode(*displayUnit);
    QByteArray file = EZHeaderRecord{*frequency, code.letter}.toBytes();
    for (const WireRow &wire : source.wires) {
        const std::optional<qint16> segments = segmentCount(wire.Segments);
        if (!segments) {
            return WriteResult::failure(
                QStringLiteral("A wire of %1 segments cannot be stored in the model file.")
                    .arg(wire.Segments));
        }
        EZWireRecord record;
        record.diameter = thickness->diameter;
        record.gauge = thickness->gauge;
        record.segments = *segments;
        // Scaled in double precision, then stored as singles.
        const std::array<std::pair<float *, double>, 6> ends = {{{&record.x1, wire.X1},
                                                                 {&record.y1, wire.Y1},
                                                                 {&record.z1, wire.Z1},
                                                                 {&record.x2, wire.X2},
                                                                 {&record.y2, wire.Y2},
                                                                 {&record.z2, wire.Z2}}};
        for (const auto &[field, shown] : ends) {
            const std::optional<float> metres = toSinglePrecision(shown * code.metres);
            if (!metres) {
                return WriteResult::failure(
                    QStringLiteral("The antenna is too large for the model file."));
            }
            *field = *metres;
        }
        file += record.toBytes();
    }
    file += EZBlankRecord{}.toBytes();
    file += EZBlankRecord{}.toBytes();

    if (out.write(file) != file.size()) {
        return WriteResult::failure(out.errorString());
    }
    return WriteResult::success();
}

} // namespace moxon
