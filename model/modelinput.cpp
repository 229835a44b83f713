#include "modelinput.h"

#include "localenumbers.h"
#include "wiresize.h"

#include <cmath>
#include <limits>

namespace moxon {

ModelInput modelInputFor(const ShownDesign &shown, const DesignInput &input, bool vertical,
                         bool xAxis)
{
    const Dimensions &v = shown.values;
    return ModelInput{buildWireTable({v.a, v.b, v.d, v.e}, vertical, xAxis),
                      shown.unit,
                      input.wire,
                      input.frequencyMHz,
                      input.frequencyText,
                      vertical,
                      xAxis};
}

WriteResult WriteResult::failure(QString reason)
{
    WriteResult result;
    result.m_failed = true;
    result.m_error = std::move(reason);
    return result;
}

std::optional<qint16> gaugeNumber(double gauge)
{
    // nearbyint follows the default rounding mode, round half to even.
    const double whole = std::nearbyint(gauge);
    if (!(whole >= std::numeric_limits<qint16>::min() &&
          whole <= std::numeric_limits<qint16>::max())) {
        return std::nullopt;
    }
    return static_cast<qint16>(whole);
}

std::optional<float> toSinglePrecision(double value)
{
    // Past the largest single the value would be infinite; below the smallest normal single it
    // would lose its digits or vanish, and a wire of radius 0 or a frequency of 0 is no model.
    const double magnitude = std::fabs(value);
    if (!std::isfinite(value) || magnitude > double(std::numeric_limits<float>::max()) ||
        (magnitude != 0 && magnitude < double(std::numeric_limits<float>::min()))) {
        return std::nullopt;
    }
    return static_cast<float>(value);
}

// The radius in inches: half the diameter, a gauge's rounded to 5 decimals of an inch.
std::optional<float> radiusInches(const WireSize &wire)
{
    if (wire.unit == WireUnit::Gauge) {
        const std::optional<qint16> gauge = gaugeNumber(wire.value);
        if (!gauge) {
            return std::nullopt;
        }
        const double radius = gaugeDiameterInches(*gauge) / 2;
        return toSinglePrecision(std::nearbyint(radius * 1e5) / 1e5);
    }
    // For millimetres: to inches and from diameter to radius in one step, by 50.8.
    return toSinglePrecision(wire.value / (2 * unitInfo(wire.unit).unitsPerInch));
}

QString unstorableWireSize(const WireSize &wire)
{
    return QStringLiteral("The wire size %1 %2 is not a size the model can hold.")
        .arg(LocaleNumbers::toSignificant(wire.value, 15), unitText(wire.unit));
}

} // namespace moxon
