#pragma once

#include "modelsource.h"

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

} // namespace moxon::test
