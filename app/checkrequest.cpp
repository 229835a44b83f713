#include "checkrequest.h"

#include "checktexts.h"
#include "modelfile.h"
#include "thinwire.h"

namespace moxon {

CheckRequest designCheckRequest(const ModelInput &model, const QString &wireText)
{
    CheckRequest request;
    request.frequencyMhz = model.frequencyMHz;
    request.axis = model.xAxis ? BeamAxis::X : BeamAxis::Y;
    request.header = checkHeader(model.frequencyText, wireText, unitText(model.wire.unit),
                                 model.vertical, model.xAxis);
    const ModelBytes deck = modelBytes(ModelFormat::Nec, model);
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

} // namespace moxon
