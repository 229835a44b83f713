#include "writeez.h"

#include "eznec_types.h"

#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace moxon {

namespace {

struct WireThickness
{
    float diameter = 0; // metres
    qint16 gauge = -1;  // -1 marks a size given as a diameter
};

// The window's diameter rule in metres, not rounded: a gauge is kept as its number too.
std::optional<WireThickness> wireThickness(const WireSize &wire)
{
    qint16 gauge = -1;
    if (wire.unit == WireUnit::Gauge) {
        const std::optional<qint16> number = gaugeNumber(wire.value);
        if (!number) {
            return std::nullopt;
        }
        gauge = *number;
    }
    const double inUnit = gauge >= 0 ? gaugeDiameterInches(gauge) : wire.value;
    const std::optional<float> diameter =
        toSinglePrecision(inUnit * unitInfo(wire.unit).metresPerUnit);
    if (!diameter) {
        return std::nullopt;
    }
    return WireThickness{*diameter, gauge};
}

} // namespace

WriteResult WriteEZ(QIODevice &out, const ModelInput &model)
{
    const std::optional<float> frequency = toSinglePrecision(model.frequencyMHz);
    if (!frequency) {
        return WriteResult::failure(
            QStringLiteral("The frequency '%1' is not a number that the model file can hold.")
                .arg(model.frequencyText));
    }
    const std::optional<WireThickness> thickness = wireThickness(model.wire);
    if (!thickness) {
        return WriteResult::failure(unstorableWireSize(model.wire));
    }

    const DisplayUnitInfo &unit = unitInfo(model.units);
    QByteArray file = EZHeaderRecord{*frequency, unit.letter}.toBytes();
    for (const WireRow &wire : model.wires) {
        if (wire.Segments < 1 || wire.Segments > std::numeric_limits<qint16>::max()) {
            return WriteResult::failure(
                QStringLiteral("A wire of %1 segments cannot be stored in the model file.")
                    .arg(wire.Segments));
        }
        EZWireRecord record;
        record.diameter = thickness->diameter;
        record.gauge = thickness->gauge;
        record.segments = qint16(wire.Segments);
        // Scaled in double precision, then stored as singles.
        const std::array<std::pair<float *, double>, 6> ends = {{{&record.x1, wire.X1},
                                                                 {&record.y1, wire.Y1},
                                                                 {&record.z1, wire.Z1},
                                                                 {&record.x2, wire.X2},
                                                                 {&record.y2, wire.Y2},
                                                                 {&record.z2, wire.Z2}}};
        for (const auto &[field, shown] : ends) {
            const std::optional<float> metres = toSinglePrecision(shown * unit.metresPerUnit);
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
