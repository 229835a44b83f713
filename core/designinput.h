#pragma once

#include "localenumbers.h"
#include "wiresize.h"

#include <QString>

#include <optional>
#include <variant>

namespace moxon {

// What the user has typed and picked, as the form holds it.
struct FormInputs
{
    QString frequency = QStringLiteral("146"); // MHz, as typed
    QString wireSize = QStringLiteral("#12");  // a diameter, or "#" and a gauge
    std::optional<WireUnit> wireUnit;          // none until start-up picks one

    [[nodiscard]] bool operator==(const FormInputs &) const = default;
};

// Checked inputs: every value has been read once, here.
struct DesignInput
{
    double frequencyMHz = 0;
    QString frequencyText; // exactly as typed: the NEC deck's frequency card carries it
    WireSize wire;
};

enum class InputField
{
    Frequency,
    WireSize,
};

// A rejected input: the field to correct and the sentence that says why.
struct InputError
{
    InputField field = InputField::Frequency;
    QString message;

    [[nodiscard]] bool operator==(const InputError &) const = default;
};

// Checks the frequency, then the wire size, and stops at the first failure; reads the texts
// with `numbers`, in the user's locale. Once the frequency has passed, the "#" shorthand is
// applied to `form`: a wire size written "#14" is gauge 14 whatever unit was picked, so the
// "#" comes off and the gauge unit is picked, and that stays so when the gauge is rejected.
[[nodiscard]] std::variant<DesignInput, InputError> parseDesignInput(FormInputs &form,
                                                                     const LocaleNumbers &numbers);

// The wire-size text as the form shows it after an accepted run: a gauge gets its "#" back.
[[nodiscard]] QString shownWireSize(const FormInputs &form);

} // namespace moxon
