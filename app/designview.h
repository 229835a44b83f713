#pragma once

#include "calculation.h"
#include "messages.h"
#include "modelinput.h"

#include <QString>

#include <optional>

namespace moxon {

struct BuildSheet;

enum class CalculateOutcome
{
    Shown,    // the results and unit labels show the new design
    Rejected, // the input was rejected with its message; results and labels are as they were
};

enum class ExportOutcome
{
    Written,
    Cancelled, // the user cancelled Save As: no file touched, nothing shown
    Rejected,  // the input was rejected: a model of the last design with it would be wrong
    Failed,    // the file could not be written; an existing one is as it was
};

// What printing the sheet came to.
enum class PrintOutcome
{
    Printed,
    Cancelled, // the user said Cancel: nothing was sent
    NoPrinter,
    Failed,
};

// What the session asks of the window, in the user's terms. Every call that asks the user
// something is modal: it returns when the message or dialog is closed.
class DesignView
{
public:
    virtual ~DesignView() = default;

    // The wire-size box and the wire-unit list, after the "#" shorthand took the "#" off or
    // put it back.
    virtual void showWireSize(const QString &text, WireUnit unit) = 0;

    // The result boxes and their unit labels, always together.
    virtual void showDesign(const ShownDesign &design) = 0;

    // A modal message with an OK button.
    virtual void showMessage(const Message &message) = 0;

    // The keyboard focus goes to the field the user must correct.
    virtual void focusField(InputField field) = 0;

    // Save As with the format's filter; nothing when the user cancels. Offers the path chosen
    // the time before.
    virtual std::optional<QString> askSavePath(ModelFormat format) = 0;

    // The window as the white design sheet, or back in its design look; it has redrawn when
    // this returns.
    virtual void showSheet(bool sheet) = 0;

    // A modal question with OK and Cancel; true for OK.
    virtual bool confirm(const Message &message) = 0;

    // The sheet as shown, on the default printer as one page, without a dialog: Printed,
    // NoPrinter or Failed.
    virtual PrintOutcome printSheet() = 0;

    // `sheet` on the default printer as one page, without a dialog: Printed, NoPrinter or
    // Failed.
    virtual PrintOutcome printBuildSheet(const BuildSheet &sheet) = 0;

    // Closes the window, which ends the program.
    virtual void closeWindow() = 0;
};

} // namespace moxon
