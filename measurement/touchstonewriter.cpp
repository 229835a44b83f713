#include "touchstonewriter.h"

#include <QLocale>

#include <cmath>
#include <numbers>

namespace moxon {

namespace {

// A magnitude of 0 has no decibels; 1e-20 is as near to it as any measurement could tell.
constexpr double kLowestDecibels = -400;

QByteArray text(double value)
{
    return QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

QByteArray optionLine(const TouchstoneFormat &format)
{
    static constexpr const char *units[] = {"Hz", "kHz", "MHz", "GHz"};
    static constexpr const char *parameters[] = {"S", "Y", "Z"};
    static constexpr const char *numbers[] = {"RI", "MA", "DB"};
    return "# " + QByteArray(units[int(format.unit)]) + ' ' + parameters[int(format.parameter)] +
           ' ' + numbers[int(format.numbers)] + " R " + text(format.referenceOhm) + '\n';
}

// The file's value of impedance `z`: version 1 divides Y and Z by the reference resistance.
std::complex<double> parameterValue(std::complex<double> z, const TouchstoneFormat &format)
{
    const double normalisedTo =
        format.version == TouchstoneVersion::One ? format.referenceOhm : 1.0;
    switch (format.parameter) {
    case NetworkParameter::S:
        return (z - format.referenceOhm) / (z + format.referenceOhm);
    case NetworkParameter::Y:
        return normalisedTo / z;
    case NetworkParameter::Z:
        return z / normalisedTo;
    }
    return z;
}

QByteArray pair(std::complex<double> value, NumberFormat numbers)
{
    const double degrees = std::arg(value) * 180 / std::numbers::pi;
    switch (numbers) {
    case NumberFormat::RealImaginary:
        return text(value.real()) + ' ' + text(value.imag());
    case NumberFormat::MagnitudeAngle:
        return text(std::abs(value)) + ' ' + text(degrees);
    case NumberFormat::DecibelAngle:
        return text(value == 0.0 ? kLowestDecibels : 20 * std::log10(std::abs(value))) + ' ' +
               text(degrees);
    }
    return {};
}

} // namespace

QByteArray touchstoneS1p(const QList<TouchstonePoint> &points, const TouchstoneFormat &format)
{
    const bool version2 = format.version == TouchstoneVersion::Two;
    QByteArray file;
    if (version2) {
        file += "[Version] 2.0\n";
    }
    file += optionLine(format);
    if (version2) {
        file += "[Number of Ports] 1\n[Number of Frequencies] " +
                QByteArray::number(points.size()) + "\n[Network Data]\n";
    }
    for (const TouchstonePoint &point : points) {
        file += text(fromMegahertz(point.frequencyMhz, format.unit)) + ' ' +
                pair(parameterValue(point.impedanceOhm, format), format.numbers) + '\n';
    }
    if (version2) {
        file += "[End]\n";
    }
    return file;
}

} // namespace moxon
