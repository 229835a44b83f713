#pragma once

#include "toolkit.h"

#include <QString>

namespace moxon {

// Outer widths of the window in twips: while the design sheet is shown and printed the window
// ends just right of Frame1, so the model options and the command buttons fall outside it.
inline constexpr int kSheetOuterWidth = 8010;   // twips
inline constexpr int kDesignOuterWidth = 10050; // twips

// The print command: recalculates, turns the window into the white design sheet, asks for
// confirmation, prints on OK, and always writes the window's design look back afterwards.
// It goes on whatever the Calculate command's outcome; only a print that was asked for and
// did not happen is reported, once the window is restored.
class PrintCommand
{
public:
    explicit PrintCommand(Toolkit &toolkit);

    void run() const;

    [[nodiscard]] static QString confirmText();
    [[nodiscard]] static QString confirmTitle();
    [[nodiscard]] static QString noPrinterText();
    [[nodiscard]] static QString failedText();
    [[nodiscard]] static QString reportTitle();

private:
    // Background of the window, the two frames and the four display-unit options, in order.
    void paintSheetControls(ColourNumber colour) const;
    PrintOutcome printGuarded() const;

    Toolkit &m_toolkit;
};

} // namespace moxon
