#pragma once

#include "designcalculation.h"
#include "localenumbers.h"
#include "toolkit.h"

#include <QString>

namespace moxon {

enum class CalculateOutcome
{
    Shown,    // the results and unit labels show the new design
    Rejected, // an "Invalid Entry" message was shown; results and labels are as they were
};

// The Calculate command: checks the frequency and wire size, applies the "#" gauge
// shorthand, warns about wires outside the fitted range, and shows A to E in the display
// unit. It stops at the first failed check.
class CalculateCommand
{
public:
    CalculateCommand(Toolkit &toolkit, const LocaleNumbers &numbers);

    // `design`, when given, receives what was computed on a run that shows results.
    CalculateOutcome run(const QString &displayUnits, DesignResult *design = nullptr) const;

private:
    CalculateOutcome reject(const QString &message, Control focus) const;

    Toolkit &m_toolkit;
    const LocaleNumbers &m_numbers;
};

} // namespace moxon
