#pragma once

#include "modelsource.h"

#include <QBuffer>
#include <QByteArray>
#include <QLocale>

namespace moxon::test {

inline const QLocale kUs(QLocale::English, QLocale::UnitedStates);
inline const QLocale kGerman(QLocale::German, QLocale::Germany);

// The model as the window holds it right after start-up: 146 MHz, "#12" AWG, inches,
// horizontal, beam along X, with A 29.17, B 4.05, D 5.56 and E 10.78 shown.
inline ModelSource startupSource()
{
    return ModelSource{buildWireTable({29.17, 4.05, 5.56, 10.78}, false, true),
                       QStringLiteral("in"),
                       QStringLiteral("AWG"),
                       QStringLiteral("#12"),
                       QStringLiteral("146"),
                       true};
}

// What a writer returned and the bytes it wrote.
struct Written
{
    WriteResult result;
    QByteArray bytes;
};

// Runs WriteNEC or WriteEZ into memory, reading numbers in `locale`.
template<typename Writer>
Written writeWith(Writer writer, const ModelSource &source, const QLocale &locale)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const WriteResult result = writer(buffer, source, LocaleNumbers(locale));
    return {result, bytes};
}

} // namespace moxon::test
