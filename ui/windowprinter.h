#pragma once

#include "designview.h"

#include <QRect>
#include <QRectF>
#include <QSizeF>

class QPrinter;
class QWidget;

namespace moxon {

struct BuildSheet;

// Where an image of `image` size goes on a page whose printable area is `page`: as large as
// fits with its aspect kept, centred across the page and at the top, as a sheet is read.
// Empty when either is empty.
[[nodiscard]] QRectF fitToPage(const QSizeF &image, const QRectF &page);

// The part of `clientArea` that its window shows, in the widget's own coordinates: all of it,
// unless the window has been made narrower than the widget.
[[nodiscard]] QRect shownRect(const QWidget &clientArea);

// Prints what `clientArea` shows on `printer` as one page, fitted to the printable area: the
// widgets' own drawing goes to the printer as drawing commands, text as text, so the printer
// draws every line and glyph at its own resolution. Printed when the page went to the
// printer, Failed otherwise.
PrintOutcome printWidgetImage(QWidget &clientArea, QPrinter &printer);

// The same on the default printer, without a dialog; NoPrinter when none is set up.
PrintOutcome printOnDefaultPrinter(QWidget &clientArea);

// printOnDefaultPrinter, run in the printing module, which this loads on first use: Qt's
// printing and the print server's library are not needed to show the window, only to print
// it. Failed when the module cannot be loaded. Defined in the window's library; everything
// else here lives in the module.
PrintOutcome printWidgetImage(QWidget &clientArea);

// `sheet` on `printer` as one page, drawn at the printer's own resolution in the window's
// language and the printer's paper: Printed or Failed.
PrintOutcome printBuildSheet(const BuildSheet &sheet, QPrinter &printer);

// The same on the default printer, without a dialog; NoPrinter when none is set up.
PrintOutcome printBuildSheetOnDefaultPrinter(const BuildSheet &sheet);

// printBuildSheetOnDefaultPrinter, run in the printing module as printWidgetImage is.
PrintOutcome printBuildSheet(const BuildSheet &sheet);

} // namespace moxon
