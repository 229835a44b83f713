#include "designsession.h"

#include "calculatecommand.h"

namespace moxon {

DesignSession::DesignSession(LocaleNumbers numbers)
    : m_numbers(std::move(numbers))
{
    m_toolkit.onPress(Control::btnCalculate, [this] {
        m_state.lastCalculation =
            CalculateCommand(m_toolkit, m_numbers).run(m_state.DisplayUnits, &m_design);
    });
}

void DesignSession::enter(const DesignInputs &inputs)
{
    m_toolkit.type(Control::txtFreq, inputs.frequency);
    m_toolkit.type(Control::txtWD, inputs.wire);
    m_toolkit.pick(Control::cboDiaUnits, inputs.wireEntry);
    m_state.DisplayUnits = inputs.units;
}

CalculateOutcome DesignSession::calculate(const DesignInputs &inputs)
{
    enter(inputs);
    m_toolkit.press(Control::btnCalculate);
    return m_state.lastCalculation;
}

void DesignSession::exportModel(const DesignInputs &inputs, ModelFormat format, bool vertical,
                                bool xAxis, const QString &path)
{
    enter(inputs);
    m_toolkit.choose(format == ModelFormat::Eznec ? Control::optEZNEC : Control::optNEC);
    m_toolkit.choose(vertical ? Control::optVert : Control::optHorz);
    m_toolkit.choose(xAxis ? Control::optXaxis : Control::optYaxis);
    m_toolkit.setSavePath(path);
    ExportCommand(m_toolkit, m_numbers, m_state).run();
}

} // namespace moxon
