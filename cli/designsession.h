#pragma once

#include "designcalculation.h"
#include "exportcommand.h"
#include "formstate.h"
#include "headlesstoolkit.h"
#include "localenumbers.h"

#include <QString>

namespace moxon {

// What the user would have typed and chosen in the window.
struct DesignInputs
{
    QString frequency;                    // MHz, as typed
    QString wire = QStringLiteral("#12"); // a diameter, or "#" and a gauge
    int wireEntry = 2;                    // 0 "in", 1 "mm", 2 "AWG"
    QString units = QStringLiteral("in"); // display unit: "ft", "in", "m" or "mm"
};

// The window's commands run on a window held in memory: the command line gets exactly the
// checks, messages, masks and model bytes that the window gives for the same state.
class DesignSession
{
public:
    explicit DesignSession(LocaleNumbers numbers);

    DesignSession(const DesignSession &) = delete;
    DesignSession &operator=(const DesignSession &) = delete;

    CalculateOutcome calculate(const DesignInputs &inputs);
    void exportModel(const DesignInputs &inputs, ModelFormat format, bool vertical, bool xAxis,
                     const QString &path);

    [[nodiscard]] const HeadlessToolkit &window() const { return m_toolkit; }
    [[nodiscard]] const DesignResult &design() const { return m_design; }
    [[nodiscard]] CalculateOutcome lastCalculation() const { return m_state.lastCalculation; }

private:
    void enter(const DesignInputs &inputs);

    HeadlessToolkit m_toolkit;
    LocaleNumbers m_numbers;
    FormState m_state;
    DesignResult m_design;
};

} // namespace moxon
