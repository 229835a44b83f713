#include "windowprinter.h"

#include "buildsheetpage.h"

#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

#include <algorithm>

namespace moxon {

QRectF fitToPage(const QSizeF &image, const QRectF &page)
{
    if (image.isEmpty() || page.isEmpty()) {
        return {};
    }
    const double scale = std::min(page.width() / image.width(), page.height() / image.height());
    const QSizeF size = image * scale;
    return {QPointF(page.left() + (page.width() - size.width()) / 2, page.top()), size};
}

QRect shownRect(const QWidget &clientArea)
{
    const QWidget *window = clientArea.window();
    if (window == &clientArea) {
        return clientArea.rect();
    }
    return clientArea.rect() & QRect(clientArea.mapFrom(window, QPoint(0, 0)), window->size());
}

PrintOutcome printWidgetImage(QWidget &clientArea, QPrinter &printer)
{
    const QRect shown = shownRect(clientArea);
    if (shown.isEmpty()) {
        return PrintOutcome::Failed;
    }

    // Rendering a widget straight onto a printer makes Qt paint it into one bitmap at the
    // printer's resolution first: hundreds of megabytes at 1200 dpi, and no text left as
    // text. Recording the painting as a picture keeps every line and glyph as a drawing
    // command, which the printer then draws at its own resolution.
    QPicture picture;
    {
        QPainter recorder(&picture);
        clientArea.render(&recorder, QPoint(), QRegion(shown),
                          QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }

    printer.setFullPage(false);
    if (printer.docName().isEmpty()) {
        printer.setDocName(clientArea.window()->windowTitle());
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return PrintOutcome::Failed;
    }
    // With fullPage off the painter's origin is the top left of the printable area.
    const QRectF printable(QPointF(0, 0),
                           printer.pageLayout().paintRectPixels(printer.resolution()).size());
    const QRectF target = fitToPage(QSizeF(shown.size()), printable);
    painter.translate(target.topLeft());
    // A picture plays back in its own dots per inch, scaled to the device's by the painter.
    painter.scale(target.width() / shown.width() * picture.logicalDpiX() / printer.logicalDpiX(),
                  target.height() / shown.height() * picture.logicalDpiY() / printer.logicalDpiY());
    painter.drawPicture(0, 0, picture);
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        return PrintOutcome::Failed;
    }
    return PrintOutcome::Printed;
}

PrintOutcome printBuildSheet(const BuildSheet &sheet, QPrinter &printer)
{
    printer.setFullPage(false);
    printer.setDocName(buildSheetTitle());
    QPainter painter;
    if (!painter.begin(&printer)) {
        return PrintOutcome::Failed;
    }
    // The sheet is drawn as text and lines straight onto the printer, at its resolution.
    const QRectF printable(QPointF(0, 0),
                           printer.pageLayout().paintRectPixels(printer.resolution()).size());
    drawBuildSheet(painter, printable, sheet, QLocale());
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        return PrintOutcome::Failed;
    }
    return PrintOutcome::Printed;
}

PrintOutcome printBuildSheetOnDefaultPrinter(const BuildSheet &sheet)
{
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
        return PrintOutcome::NoPrinter;
    }
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    return printBuildSheet(sheet, printer);
}

PrintOutcome printOnDefaultPrinter(QWidget &clientArea)
{
    // A QPrinter without a printer falls back to PDF output with no file name and prints
    // nothing without saying so: look for the default printer first.
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
        return PrintOutcome::NoPrinter;
    }
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    return printWidgetImage(clientArea, printer);
}

} // namespace moxon
