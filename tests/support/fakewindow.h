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

    // Types the frequency and the wire size and picks the wire unit (0 "in", 1 "mm",
    // 2 "AWG"), as the user would, without running anything.
    FakeWindow &enter(const QString &freq, const QString &wire, int wireEntry);

    // Selects the display-unit option of "ft", "in", "m" or "mm": runs its handler.
    void selectUnits(const QString &units);

    FakeToolkit toolkit;
    MoxonCommands form;
};

} // namespace moxon::test
