#include "insulationload.h"

#include "installation.h"
#include "localenumbers.h"
#include "units.h"

#include <cmath>

namespace moxon {

namespace {

constexpr double kMu0Over2Pi = 2e-7; // H/m, μ0 / 2π
// The least slowing of the wave that nec2c's five printed digits show, relative.
constexpr double kLeastSlowing = 1e-5;
// The most the insulation's inductance may be of the wire's own.
constexpr double kMostInductanceShare = 0.1;

// The insulation's inductance per metre in units of μ0 / 2π.
double insulationShare(double radiusMetres, const Insulation &insulation)
{
    return (1 - 1 / insulation.permittivity) *
           std::log1p(insulation.thicknessMetres / radiusMetres);
}

// The wire's own inductance per metre as a half-wave element, in units of μ0 / 2π.
double wireShare(double radiusMetres, double frequencyMhz)
{
    return std::log(freeSpaceWavelength(frequencyMhz) / (2 * radiusMetres)) - 1;
}

// The thickness of `insulation`'s material whose inductance is `share` of μ0 / 2π.
double thicknessFor(double share, double radiusMetres, const Insulation &insulation)
{
    return radiusMetres * std::expm1(share / (1 - 1 / insulation.permittivity));
}

} // namespace

double insulationInductance(double radiusMetres, const Insulation &insulation)
{
    return kMu0Over2Pi * insulationShare(radiusMetres, insulation);
}

double insulatedVelocityFactor(double radiusMetres, const Insulation &insulation,
                               double frequencyMhz)
{
    const double own = wireShare(radiusMetres, frequencyMhz);
    return std::sqrt(own / (own + insulationShare(radiusMetres, insulation)));
}

QString insulationRefusal(const ModelInput &model, const Insulation &insulation)
{
    const std::optional<float> radiusIn = radiusInches(model.wire);
    if (!radiusIn || !isWritableInsulation(insulation)) {
        return {};
    }
    const double radius = double(*radiusIn) * kMetresPerInch;
    const double own = wireShare(radius, model.frequencyMHz);
    const double share = insulationShare(radius, insulation);
    const double perUnit = unitInfo(model.wire.unit).metresPerUnit;
    const QString unit = thicknessUnitText(model.wire.unit);
    const auto length = [&](double metres) {
        return LocaleNumbers::toSignificant(metres / perUnit, 3) + u' ' + unit;
    };
    const QString given = QStringLiteral("%1 of insulation of relative permittivity %2 at %3 MHz")
                              .arg(length(insulation.thicknessMetres),
                                   LocaleNumbers::toSignificant(insulation.permittivity, 6),
                                   LocaleNumbers::toSignificant(model.frequencyMHz, 10));
    // Slowing by s needs an inductance of about 2 s of the wire's own.
    const double least = 2 * kLeastSlowing * own;
    if (!(share >= least)) {
        return insulation.permittivity == 1
                   ? QStringLiteral("nec2c was not run: %1 is air, and slows the wave on the "
                                    "wire not at all; model the wire bare.")
                         .arg(given)
                   : QStringLiteral("nec2c was not run: %1 slows the wave on the wire by less "
                                    "than a hundred-thousandth, which nec2c's five digits do not "
                                    "show; give at least %2, or model the wire bare.")
                         .arg(given, length(thicknessFor(least, radius, insulation)));
    }
    const double most = kMostInductanceShare * own;
    if (!(share <= most)) {
        return QStringLiteral("nec2c was not run: %1 is too thick for NEC-2's model of "
                              "insulation as an inductance along the wire, which holds for "
                              "velocity factors down to 0.95; on this wire that allows at most "
                              "%2.")
            .arg(given, length(thicknessFor(most, radius, insulation)));
    }
    return {};
}

bool isWritableInsulation(const Insulation &insulation)
{
    return insulation.permittivity >= 1 && std::isfinite(insulation.permittivity) &&
           insulation.thicknessMetres >= 0 && std::isfinite(insulation.thicknessMetres);
}

} // namespace moxon
