#include "thinwire.h"

#include "installation.h"
#include "localenumbers.h"
#include "units.h"

#include <cmath>

namespace moxon {

namespace {

QString millimetres(double metres)
{
    return LocaleNumbers::toSignificant(metres * 1000, 3) + QStringLiteral(" mm");
}

QString wireText(const WireSize &wire)
{
    return LocaleNumbers::toSignificant(wire.value, 15) + u' ' + unitText(wire.unit);
}

} // namespace

ThinWireCheck checkThinWire(const ModelInput &model)
{
    const std::optional<float> radiusIn = radiusInches(model.wire);
    const double wavelength = freeSpaceWavelength(model.frequencyMHz); // metres
    if (!radiusIn || !(*radiusIn > 0) || !std::isfinite(wavelength) || !(wavelength > 0)) {
        return {ThinWireFit::Beyond, unstorableWireSize(model.wire)};
    }
    const double radius = double(*radiusIn) * kMetresPerInch;
    const double metresPerUnit = unitInfo(model.units).metresPerUnit;
    const QString frequency = LocaleNumbers::toSignificant(model.frequencyMHz, 10);

    // The shortest segment against the radius, the longest against the wavelength.
    double shortest = INFINITY;
    double longest = 0;
    int shortWire = 0;
    int longWire = 0;
    for (std::size_t i = 0; i < model.wires.size(); ++i) {
        const WireRow &w = model.wires[i];
        const double length =
            std::hypot(w.X2 - w.X1, w.Y2 - w.Y1, w.Z2 - w.Z1) * metresPerUnit / w.Segments;
        if (!(length >= shortest)) {
            shortest = length;
            shortWire = int(i + 1);
        }
        if (!(length <= longest)) {
            longest = length;
            longWire = int(i + 1);
        }
    }
    if (!(shortest > 0) || !std::isfinite(longest)) {
        return {ThinWireFit::Beyond,
                QStringLiteral("nec2c was not run: at %1 MHz the dimensions as shown leave wire "
                               "%2 of the model no length that NEC-2 could divide into segments.")
                    .arg(frequency)
                    .arg(shortWire)};
    }
    const double perRadius = shortest / radius;
    const double wavelengths = longest / wavelength;
    if (perRadius < kLimitSegmentsPerRadius) {
        return {
            ThinWireFit::Beyond,
            QStringLiteral("nec2c was not run: the %1 wire is too thick for NEC-2's thin-wire "
                           "model at %2 MHz, as its radius of %3 is more than twice the %4 "
                           "segments of wire %5, and the model needs segments of at least "
                           "half the radius.")
                .arg(wireText(model.wire), frequency, millimetres(radius), millimetres(shortest))
                .arg(shortWire)};
    }
    if (wavelengths >= kLimitSegmentWavelengths) {
        return {ThinWireFit::Beyond,
                QStringLiteral("nec2c was not run: at %1 MHz the segments of wire %2 are %3 "
                               "wavelengths long, and NEC-2's thin-wire model needs them shorter "
                               "than half a wavelength.")
                    .arg(frequency)
                    .arg(longWire)
                    .arg(LocaleNumbers::toSignificant(wavelengths, 3))};
    }
    if (perRadius < kGuidelineSegmentsPerRadius) {
        return {ThinWireFit::OutsideGuideline,
                QStringLiteral("Outside NEC-2's accuracy guideline: the segments of wire %1 are "
                               "only %2 times the radius of the %3 wire, where the thin-wire "
                               "kernel wants at least 8; take the figures as approximate.")
                    .arg(shortWire)
                    .arg(LocaleNumbers::toSignificant(perRadius, 2), wireText(model.wire))};
    }
    if (wavelengths > kGuidelineSegmentWavelengths) {
        return {ThinWireFit::OutsideGuideline,
                QStringLiteral("Outside NEC-2's accuracy guideline: the segments of wire %1 are "
                               "%2 wavelengths long, where it wants at most 0.1; take the figures "
                               "as approximate.")
                    .arg(longWire)
                    .arg(LocaleNumbers::toSignificant(wavelengths, 2))};
    }
    return {};
}

} // namespace moxon
