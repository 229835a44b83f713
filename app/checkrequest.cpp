#include "checkrequest.h"

#include "bandplan.h"
#include "insulationload.h"
#include "modelfile.h"
#include "thinwire.h"
#include "windowtexts.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

namespace moxon {

namespace {

// A length in the model's display unit, as the header and the messages show it: "10 m".
QString lengthText(double metres, DisplayUnit unit)
{
    return LocaleNumbers::toSignificant(metres / unitInfo(unit).metresPerUnit, 6) + u' ' +
           unitText(unit);
}

// The height of the lowest point of the wires, in metres, with the antenna's centre at 0.
double lowestPoint(const ModelInput &model)
{
    double lowest = 0;
    for (const WireRow &wire : model.wires) {
        lowest = std::min({lowest, wire.Z1, wire.Z2});
    }
    return lowest * unitInfo(model.units).metresPerUnit;
}

// How close to the ground a wire may come. NEC-2's user's guide (Burke and Poggio, Part III,
// "Modeling Structures Over Ground") trusts the ground models near the interface only as far
// as the thin-wire approximation holds between a wire and its image in the ground, which
// needs the two to stand clear of each other by several radii; the Sommerfeld-Norton method
// is then good for horizontal wires down to about a thousandth of a wavelength. The lowest
// wire's surface must therefore clear the ground by three radii and by 1e-3 wavelength.
constexpr double kGroundClearanceRadii = 3;
constexpr double kGroundClearanceWavelengths = 1e-3;

// How high the antenna may hang. NEC-2 works with the speed of light as 299.8 m/us (the
// wavelength nec2c prints with every frequency is 299.8 / f), 2.5e-5 above the true one. The
// ground-reflected wave meets the direct one with a phase of 2kh sin(elevation), so that
// error moves a lobe at elevation e by 2.5e-5 x 2h/λ x sin e of the lobes' spacing. Above the
// height where a lobe near the zenith moves by a twentieth of that spacing, about a thousand
// wavelengths, NEC-2 no longer puts the lobes where the antenna has them.
constexpr double kEngineLightSpeed = 299.8;    // m/us
constexpr double kTrustedLobeShift = 1.0 / 20; // of the spacing of the lobes
double highestWavelengths()
{
    const double error = kEngineLightSpeed / freeSpaceWavelength(1) - 1;
    return kTrustedLobeShift / (2 * error);
}

// Why the engine cannot be asked to hang `model` at the installation's height, or nothing.
QString heightRefusal(const ModelInput &model, const Installation &installation)
{
    const double height = installation.heightMetres;
    const double wavelength = freeSpaceWavelength(model.frequencyMHz);
    const std::optional<float> radiusIn = radiusInches(model.wire);
    const double radius =
        radiusIn ? double(*radiusIn) * unitInfo(DisplayUnit::Inch).metresPerUnit : 0;
    const double clearance =
        std::max(kGroundClearanceRadii * radius, kGroundClearanceWavelengths * wavelength);
    // The lowest wire's axis must stand a radius plus the clearance above the ground.
    const double lowestCentre = radius + clearance - lowestPoint(model);
    if (!(height >= lowestCentre)) {
        return QStringLiteral("nec2c was not run: at a height of %1 a wire would lie in or too "
                              "close to the ground for NEC-2's ground model; the antenna's "
                              "centre must hang at least %2 high.")
            .arg(lengthText(height, model.units), lengthText(lowestCentre, model.units));
    }
    const double highest = highestWavelengths() * wavelength;
    if (!(height <= highest)) {
        return QStringLiteral("nec2c was not run: at a height of %1 NEC-2's speed of light, "
                              "299.8 m/µs, would move the pattern's lobes by more than a "
                              "twentieth of their spacing; the antenna's centre may hang at "
                              "most %2 (%3 λ) high.")
            .arg(lengthText(height, model.units), lengthText(highest, model.units),
                 QLocale::c().toString(highestWavelengths(), 'f', 0));
    }
    return {};
}

// For insulated wire: the insulation refused where its model does not hold, else the same deck
// in bare wire and the velocity factor the insulation is estimated to give the wire, with which
// the check finds the bare wire's dip.
void withBareWire(CheckRequest &request, const ModelInput &model)
{
    const Insulation &insulation = *request.installation.insulation;
    request.refusal = insulationRefusal(model, insulation);
    if (!request.refusal.isEmpty()) {
        return;
    }
    Installation bare = request.installation;
    bare.insulation.reset();
    request.bareDeck = checkDeckBytes(model, bare).bytes;
    const double radius =
        double(radiusInches(model.wire).value_or(0)) * unitInfo(DisplayUnit::Inch).metresPerUnit;
    request.insulatedVelocityFactor =
        insulatedVelocityFactor(radius, insulation, model.frequencyMHz);
}

} // namespace

CheckRequest checkRequestFor(const ModelInput &model, const QString &wireText,
                             const Installation &installation)
{
    CheckRequest request;
    request.frequencyMhz = model.frequencyMHz;
    request.axis = model.xAxis ? BeamAxis::X : BeamAxis::Y;
    request.installation = installation;
    request.header = checkHeader(model.frequencyText, wireText, unitText(model.wire.unit),
                                 model.vertical, model.xAxis);
    const QString where = installationHeader(
        installation, lengthText(installation.heightMetres, model.units),
        installation.heightMetres / freeSpaceWavelength(model.frequencyMHz),
        installation.insulation
            ? insulationThicknessText(installation.insulation->thicknessMetres, model.wire.unit)
            : QString());
    if (!where.isEmpty()) {
        //: Between the design and its installation in the check's header.
        request.header += QCoreApplication::translate("CheckHeader", "；") + where;
    }
    if (installation.overGround()) {
        request.refusal = heightRefusal(model, installation);
        if (!request.refusal.isEmpty()) {
            return request;
        }
    }
    const ModelBytes deck = checkDeckBytes(model, installation);
    if (!deck.result.ok()) {
        request.refusal = QStringLiteral("nec2c was not run, as the deck could not be written: %1")
                              .arg(deck.result.error());
        return request;
    }
    request.deck = deck.bytes;
    const ThinWireCheck fit = checkThinWire(model);
    if (fit.fit == ThinWireFit::Beyond) {
        request.refusal = fit.sentence;
    } else if (fit.fit == ThinWireFit::OutsideGuideline) {
        request.caution = fit.sentence;
    }
    if (installation.insulation && request.refusal.isEmpty()) {
        withBareWire(request, model);
    }
    return request;
}

ModelInput withDimensions(ModelInput model, const TuneDimensions &dims)
{
    model.wires = buildWireTable({dims.a, dims.b, dims.d, dims.e}, model.vertical, model.xAxis);
    return model;
}

TuneSetup tuneSetup(const ModelInput &model, const Dimensions &shown, const QString &wireText,
                    const Installation &installation)
{
    const DisplayUnitInfo &unit = unitInfo(model.units);
    std::optional<BandRange> band;
    if (const std::optional<Band> amateur = bandContaining(model.frequencyMHz)) {
        band = BandRange{amateur->lowerMhz, amateur->upperMhz};
    }
    return {{shown.a, shown.b, shown.d, shown.e},
            unit.decimals,
            unitText(model.units),
            unit.metresPerUnit,
            [model, wireText, installation](const TuneDimensions &dims) {
                return checkRequestFor(withDimensions(model, dims), wireText, installation);
            },
            band};
}

} // namespace moxon
