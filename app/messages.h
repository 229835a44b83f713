#pragma once

#include "calculation.h"
#include "designinput.h"
#include "insulation.h"
#include "modelinput.h"

#include <QString>

namespace moxon {

enum class MessageKind
{
    InputError, // an input to correct: the exclamation icon
    Warning,    // advice, after which the command goes on: the information icon
    Notice,     // a confirmation of what was done: no icon
    Failure,    // something asked for did not happen: the exclamation icon
    Question,   // OK or Cancel, OK the default: no icon
};

// A message as the user reads it: every text the commands show comes from here.
struct Message
{
    MessageKind kind = MessageKind::Notice;
    QString title;
    QString text;

    [[nodiscard]] bool operator==(const Message &) const = default;
};

[[nodiscard]] Message inputErrorMessage(const InputError &error);
[[nodiscard]] Message rangeWarningMessage(RangeWarning warning);
[[nodiscard]] Message modelWrittenMessage(const QString &path);
// A tuned model of insulated wire written to `path`: the NEC deck carries the insulation as
// its card, which it names; the binary model file has no place for it, which a warning says,
// with the insulation to add in a modeling program.
[[nodiscard]] Message tunedModelWrittenMessage(const QString &path, ModelFormat format,
                                               const ModelInput &model,
                                               const Insulation &insulation);
[[nodiscard]] Message exportFailedMessage(const QString &path, const QString &reason);
[[nodiscard]] Message confirmPrintMessage();
[[nodiscard]] Message noPrinterMessage();
[[nodiscard]] Message printFailedMessage();

// The Save As dialog's one-entry filter: a description and a pattern, split by "|".
[[nodiscard]] QString saveFilter(ModelFormat format);

} // namespace moxon
