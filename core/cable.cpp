#include "cable.h"

#include <QLocale>

#include <array>
#include <cmath>

namespace moxon {

namespace {

// Belden, "Product: 8259 Technical Data" (RG-58A/U type: 20 AWG stranded tinned copper, solid
// polyethylene, tinned copper braid): 50 ohm, nominal velocity of propagation 66 %, nominal
// attenuation in dB/100 ft from 1 to 1000 MHz.
constexpr std::array kRg58 = {
    perHundredFeet(1, 0.4),    perHundredFeet(10, 1.5),   perHundredFeet(50, 3.7),
    perHundredFeet(100, 5.4),  perHundredFeet(200, 8.1),  perHundredFeet(400, 12.4),
    perHundredFeet(700, 17.7), perHundredFeet(900, 21.1), perHundredFeet(1000, 22.8),
};
// Belden, "Product: 9258 Technical Data" (RG-8X type: 16 AWG stranded bare copper, foam
// polyethylene, bare copper braid): 50 ohm, nominal velocity of propagation 82 %.
constexpr std::array kRg8x = {
    perHundredFeet(1, 0.3),   perHundredFeet(10, 0.9),   perHundredFeet(50, 2.1),
    perHundredFeet(100, 3.1), perHundredFeet(200, 4.5),  perHundredFeet(400, 6.6),
    perHundredFeet(700, 9.1), perHundredFeet(900, 10.7), perHundredFeet(1000, 11.2),
};
// Belden, "Product: 8267 Technical Data" (RG-213/U type: 13 AWG stranded bare copper, solid
// polyethylene, bare copper braid): 50 ohm, nominal velocity of propagation 66 %.
constexpr std::array kRg213 = {
    perHundredFeet(1, 0.17),  perHundredFeet(10, 0.55), perHundredFeet(50, 1.3),
    perHundredFeet(100, 1.9), perHundredFeet(200, 2.7), perHundredFeet(400, 4.1),
    perHundredFeet(700, 6.5), perHundredFeet(900, 7.6), perHundredFeet(1000, 8.0),
};
// Times Microwave Systems, "LMR-400 Flexible Low Loss Communications Coax" data sheet: 50 ohm,
// velocity of propagation 85 %, typical attenuation in dB/100 ft by frequency band. (The sheet
// also gives its own fit, 0.122290·√f + 0.000260·f dB/100 ft; the table's points are taken
// here so that every cable is fitted the same way.)
constexpr std::array kLmr400 = {
    perHundredFeet(30, 0.7),  perHundredFeet(50, 0.9),  perHundredFeet(150, 1.5),
    perHundredFeet(220, 1.9), perHundredFeet(450, 2.7), perHundredFeet(900, 3.9),
};
// SSB-Electronic, Aircell 7 data sheet (7.3 mm low-loss cable: stranded copper, foam
// polyethylene, copper foil and braid): 50 ohm, velocity factor 0.83, attenuation in dB/100 m.
constexpr std::array kAircell7 = {
    LossPoint{50, 4.8},
    LossPoint{144, 7.9},
    LossPoint{432, 14.1},
    LossPoint{1296, 26.1},
};

constexpr std::array kCablePresets = {
    CablePreset{u"RG-58", "Belden 8259", 50, 0.66, kRg58},
    CablePreset{u"RG-8X", "Belden 9258", 50, 0.82, kRg8x},
    CablePreset{u"RG-213", "Belden 8267", 50, 0.66, kRg213},
    CablePreset{u"LMR-400", "Times Microwave LMR-400", 50, 0.85, kLmr400},
    CablePreset{u"Aircell-7", "SSB-Electronic Aircell 7", 50, 0.83, kAircell7},
};

// The squared relative error of `loss` over `points`.
double relativeError(const CableLoss &loss, std::span<const LossPoint> points)
{
    double sum = 0;
    for (const LossPoint &point : points) {
        const double error = loss.dbPer100m(point.frequencyMhz) / point.dbPer100m - 1;
        sum += error * error;
    }
    return sum;
}

std::optional<double> number(QStringView text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

} // namespace

double CableLoss::dbPer100m(double frequencyMhz) const
{
    return rootCoefficient * std::sqrt(frequencyMhz) + linearCoefficient * frequencyMhz;
}

CableLoss fitCableLoss(std::span<const LossPoint> points)
{
    // With a_i = √f_i / L_i and b_i = f_i / L_i the relative residual of point i is
    // k1 a_i + k2 b_i − 1; its sum of squares is least where the normal equations hold.
    double aa = 0;
    double ab = 0;
    double bb = 0;
    double a1 = 0;
    double b1 = 0;
    for (const LossPoint &point : points) {
        if (!(point.frequencyMhz > 0) || !(point.dbPer100m > 0)) {
            return {};
        }
        const double a = std::sqrt(point.frequencyMhz) / point.dbPer100m;
        const double b = point.frequencyMhz / point.dbPer100m;
        aa += a * a;
        ab += a * b;
        bb += b * b;
        a1 += a;
        b1 += b;
    }
    if (points.empty()) {
        return {};
    }
    const double determinant = aa * bb - ab * ab;
    // Relative to the terms it is made of: a single point, or points at one frequency, leave
    // the two columns dependent.
    if (std::fabs(determinant) > 1e-12 * aa * bb) {
        const CableLoss both{(a1 * bb - ab * b1) / determinant, (aa * b1 - ab * a1) / determinant};
        if (both.rootCoefficient >= 0 && both.linearCoefficient >= 0) {
            return both;
        }
    }
    const CableLoss conductor{a1 / aa, 0};
    const CableLoss dielectric{0, b1 / bb};
    return relativeError(dielectric, points) < relativeError(conductor, points) ? dielectric
                                                                                : conductor;
}

std::span<const CablePreset> cablePresets()
{
    return kCablePresets;
}

Cable cableOf(const CablePreset &preset)
{
    return {preset.name.toString(), preset.z0Ohm, preset.velocityFactor, fitCableLoss(preset.loss)};
}

const CablePreset *cablePreset(QStringView name)
{
    for (const CablePreset &preset : kCablePresets) {
        if (name.compare(preset.name, Qt::CaseInsensitive) == 0) {
            return &preset;
        }
    }
    return nullptr;
}

Cable customCable(double z0Ohm, double velocityFactor, double dbPer100m, double frequencyMhz)
{
    return {
        kCustomCable.toString(), z0Ohm, velocityFactor, {dbPer100m / std::sqrt(frequencyMhz), 0}};
}

std::optional<Cable> cableFromText(QStringView text)
{
    if (const CablePreset *preset = cablePreset(text.trimmed())) {
        return cableOf(*preset);
    }
    const QList<QStringView> fields = text.split(u',');
    if (fields.size() != 4) {
        return std::nullopt;
    }
    const std::optional<double> z0 = number(fields.at(0));
    const std::optional<double> velocity = number(fields.at(1));
    const std::optional<double> loss = number(fields.at(2));
    const std::optional<double> frequency = number(fields.at(3));
    if (!z0 || !velocity || !loss || !frequency || !(*z0 > 0) || !(*velocity > 0) ||
        *velocity > 1 || *loss < 0 || !(*frequency > 0)) {
        return std::nullopt;
    }
    return customCable(*z0, *velocity, *loss, *frequency);
}

QStringList cableNames()
{
    QStringList names;
    for (const CablePreset &preset : kCablePresets) {
        names.append(preset.name.toString());
    }
    return names;
}

QString cableChoices()
{
    return cableNames().join(QStringLiteral(", ")) + QStringLiteral(" or Z0,VF,DB,MHZ");
}

} // namespace moxon
