#include "moxoncommands.h"

#include "calculatecommand.h"
#include "exportcommand.h"
#include "printcommand.h"
#include "wiresize.h"

namespace moxon {

MoxonCommands::MoxonCommands(Toolkit &toolkit, LocaleNumbers numbers)
    : m_toolkit(toolkit)
    , m_numbers(std::move(numbers))
{
}

void MoxonCommands::Form_Load()
{
    m_toolkit.selectEntry(Control::cboDiaUnits, kGaugeEntryIndex);
    m_state.DisplayUnits = QStringLiteral("in");
    m_toolkit.press(Control::btnCalculate);
}

void MoxonCommands::btnCalculate_Click()
{
    m_state.lastCalculation = CalculateCommand(m_toolkit, m_numbers).run(m_state.DisplayUnits);
}

void MoxonCommands::selectDisplayUnits(const QString &units)
{
    m_state.DisplayUnits = units;
    m_toolkit.press(Control::btnCalculate);
}

void MoxonCommands::optFT_Click() { selectDisplayUnits(QStringLiteral("ft")); }
void MoxonCommands::optIN_Click() { selectDisplayUnits(QStringLiteral("in")); }
void MoxonCommands::optM_Click() { selectDisplayUnits(QStringLiteral("m")); }
void MoxonCommands::optMM_Click() { selectDisplayUnits(QStringLiteral("mm")); }

void MoxonCommands::btnPrint_Click() { PrintCommand(m_toolkit).run(); }

void MoxonCommands::btnModel_Click() { ExportCommand(m_toolkit, m_numbers, m_state).run(); }

void MoxonCommands::btnClose_Click() { m_toolkit.unload(); }

} // namespace moxon
