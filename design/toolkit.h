#pragma once

#include "control.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace moxon {

// Message-box styles by their numbers: icon and buttons in one value.
enum class MessageStyle : int
{
    OkOnly = 0,      // no icon, OK
    OkCancel = 1,    // no icon, OK and Cancel, OK the default
    Exclamation = 48, // exclamation icon, OK: input errors
    Information = 64, // information icon, OK: advice
};

inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerCancel = 2;

// A colour number: 0xBBGGRR, or a system colour when the top bit is set.
using ColourNumber = std::uint32_t;
inline constexpr ColourNumber kWhite = 0xFFFFFF;
inline constexpr ColourNumber kButtonFace = 0x8000000F; // the system colour of button faces

enum class PrintOutcome
{
    Printed,
    NoPrinter,
    Failed,
};

// Every operation of the windowing toolkit that a command uses. The commands reach the
// window only through this, so that they run the same against the real window and against a
// recording fake without a screen. Every call is modal where the user is asked: it returns
// when the box, dialog or pressed command is finished.
class Toolkit
{
public:
    virtual ~Toolkit() = default;

    // Modal; returns kAnswerOk or kAnswerCancel.
    virtual int messageBox(const QString &text, const QString &title, MessageStyle style) = 0;

    [[nodiscard]] virtual QString text(Control textBox) const = 0;
    virtual void setText(Control textBox, const QString &text) = 0; // replaces the whole text
    virtual void setFocus(Control textBox) = 0;

    [[nodiscard]] virtual QString selectedEntry(Control dropDown) const = 0;
    virtual void selectEntry(Control dropDown, int index) = 0; // indices count from 0

    virtual void setCaption(Control label, const QString &caption) = 0;
    [[nodiscard]] virtual bool isSelected(Control option) const = 0;

    // Runs the button's click handler at once and to its end, message boxes included.
    virtual void press(Control button) = 0;
    virtual void setVisible(Control button, bool visible) = 0;
    virtual void setBackground(Control control, ColourNumber colour) = 0;

    // Outer width of the window in twips; the window has redrawn at that width on return.
    virtual void setOuterWidth(int twips) = 0;

    // The window's client area as shown, on the default printer, one page, no dialog.
    virtual PrintOutcome printImage() = 0;

    // Closes the window; the last window closing ends the program.
    virtual void unload() = 0;

    // Save As with a one-entry filter "Description (*.ext)|*.ext". Returns the chosen full
    // path, or nothing when the user cancels. Offers the last chosen path again next time.
    virtual std::optional<QString> saveAs(const QString &filter) = 0;
};

} // namespace moxon
