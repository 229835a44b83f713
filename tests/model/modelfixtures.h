#pragma once

#include "modelinput.h"

#include <QBuffer>
#include <QByteArray>

namespace moxon::test {

// The model as the window holds it right after start-up: 146 MHz, gauge 12, inches,
// horizontal, beam along X, with A 29.17, B 4.05, D 5.56 and E 10.78 shown.
inline ModelInput startupModel()
{
    return ModelInput{buildWireTable({29.17, 4.05, 5.56, 10.78}, false, true),
                      DisplayUnit::Inch,
                      WireSize{WireUnit::Gauge, 12},
                      146,
                      QStringLiteral("146"),
                      false,
                      true};
}

// What a writer returned and every byte it wrote, kept even when it failed.
struct Written
{
    WriteResult result;
    QByteArray bytes;
};

template<typename Writer> Written writeWith(Writer writer, const ModelInput &model)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const WriteResult result = writer(buffer, model);
    return {result, bytes};
}

} // namespace moxon::test
