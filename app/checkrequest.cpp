#include "checkrequest.h"

#include "modelfile.h"
#include "thinwire.h"
#include "windowtexts.h"

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

} // namespace

CheckRequest designCheckRequest(const ModelInput &model, const QString &wireText,
                                const Installation &installation)
{
    CheckRequest request;
    request.frequencyMhz = model.frequencyMHz;
    request.axis = model.xAxis ? BeamAxis::X : BeamAxis::Y;
    request.installation = installation;
    request.lengthUnit = unitText(model.units);
    request.metresPerLengthUnit = unitInfo(model.units).metresPerUnit;
    request.header = checkHeader(model.frequencyText, wireText, unitText(model.wire.unit),
                                 model.vertical, model.xAxis);
    const QString where =
        installationHeader(installation, lengthText(installation.heightMetres, model.units),
                           installation.heightMetres / freeSpaceWavelength(model.frequencyMHz));
    if (!where.isEmpty()) {
        request.header += QStringLiteral("；") + where;
    }
    const double lowest = lowestPoint(model);
    if (installation.overGround() && !(installation.heightMetres + lowest > 0)) {
        request.refusal =
            QStringLiteral("nec2c was not run: at a height of %1 the antenna would reach the "
                           "ground; its centre must hang higher than %2.")
                .arg(lengthText(installation.heightMetres, model.units),
                     lengthText(-lowest, model.units));
        return request;
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
    return {{shown.a, shown.b, shown.d, shown.e},
            unit.decimals,
            unitText(model.units),
            unit.metresPerUnit,
            [model, wireText, installation](const TuneDimensions &dims) {
                return designCheckRequest(withDimensions(model, dims), wireText, installation);
            }};
}

} // namespace moxon
