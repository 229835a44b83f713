#include "windowprinter.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

namespace moxon {

PrintOutcome printWidgetImage(QWidget &clientArea)
{
    // A QPrinter without a printer falls back to PDF output with no file name and prints
    // nothing without saying so: look for the default printer first.
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
        return PrintOutcome::NoPrinter;
    }
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    printer.setFullPage(false);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return PrintOutcome::Failed;
    }
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QSize source = clientArea.size();
    const double scale = std::min(page.width() / source.width(), page.height() / source.height());
    painter.scale(scale, scale);
    clientArea.render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return painter.end() ? PrintOutcome::Printed : PrintOutcome::Failed;
}

} // namespace moxon
