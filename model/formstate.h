#pragma once

#include "calculatecommand.h"
#include "wiretable.h"

#include <QString>

namespace moxon {

// The window's form-level values, shared by its commands for as long as the window lives.
struct FormState
{
    // "ft", "in", "m" or "mm": the unit of the result boxes. Empty until start-up sets it.
    QString DisplayUnits;

    // All zero until the first export; rebuilt by every export.
    WireTable wireTable{};

    // What the most recent run of the Calculate command did, so that a command that pressed
    // Calculate can tell whether its inputs were rejected.
    CalculateOutcome lastCalculation = CalculateOutcome::Shown;
};

} // namespace moxon
