#pragma once

// Architecture: three layers. design/ and model/ hold pure functions (parse, compute, format,
// write bytes) and the commands built on them; the commands reach the window only through the
// Toolkit interface. This class is the window's set of event handlers and its form-level
// values, still free of widgets, so that a fake toolkit in tests runs every command exactly as
// the real window does. frmMoxon lays out the widgets, implements Toolkit with Qt and forwards
// each event here.

#include "formstate.h"
#include "localenumbers.h"
#include "toolkit.h"

namespace moxon {

class MoxonCommands
{
public:
    MoxonCommands(Toolkit &toolkit, LocaleNumbers numbers);

    // Before the window is first shown: pick "AWG", show inches, calculate once.
    void Form_Load();

    void btnCalculate_Click();
    void optFT_Click();
    void optIN_Click();
    void optM_Click();
    void optMM_Click();
    // Recalculates, shows and prints the white design sheet on OK, then restores the window.
    void btnPrint_Click();
    // Recalculates and, unless the inputs were rejected, writes the model to a chosen file.
    void btnModel_Click();
    void btnClose_Click();

    [[nodiscard]] const FormState &state() const { return m_state; }
    [[nodiscard]] const LocaleNumbers &numbers() const { return m_numbers; }

private:
    // Sets the display unit and recalculates from the inputs, never converting shown values.
    void selectDisplayUnits(const QString &units);

    Toolkit &m_toolkit;
    LocaleNumbers m_numbers;
    FormState m_state;
};

} // namespace moxon
