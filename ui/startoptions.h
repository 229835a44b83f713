#pragma once

#include "translation.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace moxon {

// What a start of the window program asks for on its command line.
struct StartOptions
{
    UiLanguage language = UiLanguage::Chinese; // --language, else the one stored
    bool check = false; // --check: the design check window opens with the window
};

// The options among `arguments` (the program's name first, Qt's own options such as -platform
// already taken off). Nothing, with the reason in `refusal`, when the program does not take an
// argument.
[[nodiscard]] std::optional<StartOptions> startOptions(const QStringList &arguments,
                                                       QString &refusal);

} // namespace moxon
