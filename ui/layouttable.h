#pragma once

#include <QString>
#include <QStringView>

#include <span>

class QWidget;

namespace moxon {
class frmMoxon;
}

// The main window's layout table, one row a control as the window's design lays it out, and
// the making and placing of each control from its row. Only the window uses these, hence a
// namespace of their own.
namespace moxon::layout {

// What control a row makes, and how it sizes itself.
enum class Kind
{
    Frame,
    Label,        // sizes itself to its text
    FixedLabel,   // keeps its design size
    WrappedLabel, // keeps its design width and wraps its text
    LetterLabel,  // sizes itself to its text, in the bold letter font
    InputBox,
    ResultBox,
    DropDown,
    Button,
    Option,
    Picture,
};

// A control's caption or initial text. Written u"..." it is shown as it is: a value, a unit, a
// letter, a program's name. Written QT_TRANSLATE_NOOP("moxon::frmMoxon", "...") it is a caption
// in the window's language, looked up when the control shows it. The table's entries convert
// implicitly, so that each reads as the text it shows.
struct ControlText
{
    constexpr ControlText() = default;
    constexpr ControlText(const char16_t *fixed)
        : fixed(fixed)
    {
    }
    constexpr ControlText(const char *caption)
        : caption(caption)
    {
    }

    // In the window's language.
    [[nodiscard]] QString toString() const;

    QStringView fixed;
    const char *caption = nullptr; // UTF-8, the source text of its translation
};

// One row of the layout table: a control as the window's design lays it out. Positions are the
// control's left and top edge in the window's client area, in twips, also for a control inside a
// frame.
struct LayoutRow
{
    QStringView name;
    Kind kind = Kind::Label;
    QStringView container; // the frame it belongs to; empty for the window itself
    int left = 0;          // twips
    int top = 0;           // twips
    int width = 0;         // twips
    int height = 0;        // twips; 0 for the drop-down list, whose height follows its font
    ControlText text;      // caption or initial text; the drop-down's entries, one a line
    int tab = -1;          // place in the tab order; -1 for a control that has none
    bool selected = false; // option buttons selected in the design
};

// The table's rows. Containers come before what they hold, and a control listed later lies
// above one listed earlier.
[[nodiscard]] std::span<const LayoutRow> rows();
// The row of the control `name`; null for a name the table does not have.
[[nodiscard]] const LayoutRow *findRow(QStringView name);
// A new control made as `row` describes it, in `parent`, with its caption in the window's
// language.
[[nodiscard]] QWidget *createWidget(const LayoutRow &row, QWidget *parent);
// Puts a control of `window` where the design puts it, sized for its caption as it stands.
void placeControl(const LayoutRow &row, QWidget &widget, const frmMoxon &window);

} // namespace moxon::layout
