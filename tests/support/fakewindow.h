#pragma once

#include "faketoolkit.h"
#include "moxoncommands.h"

#include <QLocale>

namespace moxon::test {

// The window's handlers on a fake toolkit, wired as the real window wires them: presses from
// code run the handler. Not yet loaded; call load() to run start-up.
class FakeWindow
{
public:
    explicit FakeWindow(const QLocale &locale = QLocale(QLocale::English, QLocale::UnitedStates));

    // Runs Form_Load and forgets its log, so a test sees only what it does itself.
    FakeWindow &load();

    FakeToolkit toolkit;
    MoxonCommands form;
};

} // namespace moxon::test
