#include "printcommand.h"

#include <array>
#include <exception>

namespace moxon {

namespace {

// The controls whose background makes the sheet white; the labels are transparent and the
// text boxes keep the window colour, so these seven are all that change.
constexpr std::array kSheetControls = {Control::frmMoxon, Control::Frame1, Control::Frame2,
                                       Control::optFT,    Control::optIN,  Control::optM,
                                       Control::optMM};

} // namespace

PrintCommand::PrintCommand(Toolkit &toolkit)
    : m_toolkit(toolkit)
{
}

QString PrintCommand::confirmText()
{
    return QStringLiteral("Printing will be done with the color scheme as shown.");
}

QString PrintCommand::confirmTitle()
{
    return QStringLiteral("Confirm Print");
}

QString PrintCommand::noPrinterText()
{
    return QStringLiteral("No default printer is set up. Nothing was printed.");
}

QString PrintCommand::failedText()
{
    return QStringLiteral("Printing failed. Nothing was printed.");
}

QString PrintCommand::reportTitle()
{
    return QStringLiteral("Print");
}

void PrintCommand::paintSheetControls(ColourNumber colour) const
{
    for (const Control control : kSheetControls) {
        m_toolkit.setBackground(control, colour);
    }
}

PrintOutcome PrintCommand::printGuarded() const
{
    // A print that throws (out of memory for the page, a broken driver) must not skip the
    // restoring of the window; it counts as a failed print.
    try {
        return m_toolkit.printImage();
    } catch (const std::exception &) {
        return PrintOutcome::Failed;
    }
}

void PrintCommand::run() const
{
    // The results shown are computed afresh; a rejected input leaves the last good results,
    // and the print goes on with them beside the input text as it stands.
    m_toolkit.press(Control::btnCalculate);

    paintSheetControls(kWhite);
    m_toolkit.setVisible(Control::btnCalculate, false);
    m_toolkit.setOuterWidth(kSheetOuterWidth);

    // The window behind the box already shows the sheet as it will be printed.
    const int answer = m_toolkit.messageBox(confirmText(), confirmTitle(), MessageStyle::OkCancel);
    const bool wanted = answer == kAnswerOk;
    const PrintOutcome outcome = wanted ? printGuarded() : PrintOutcome::Printed;

    // The design values are written back, never values saved before the change, so the
    // window always returns to the same look whatever happened in between.
    paintSheetControls(kButtonFace);
    m_toolkit.setVisible(Control::btnCalculate, true);
    m_toolkit.setOuterWidth(kDesignOuterWidth);

    // Only after the window is whole again: a print that was asked for and did not happen
    // must not pass for one that did.
    switch (outcome) {
    case PrintOutcome::NoPrinter:
        m_toolkit.messageBox(noPrinterText(), reportTitle(), MessageStyle::Exclamation);
        break;
    case PrintOutcome::Failed:
        m_toolkit.messageBox(failedText(), reportTitle(), MessageStyle::Exclamation);
        break;
    case PrintOutcome::Printed:
        break;
    }
}

} // namespace moxon
