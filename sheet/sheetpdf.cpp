#include "sheetpdf.h"

#include "buildsheetpage.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace moxon {

namespace {

// Paper's edge that printers leave blank, millimetres.
constexpr double kMarginMm = 12;

} // namespace

QPageSize::PageSizeId sheetPaper(const QLocale &locale)
{
    return locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                   : QPageSize::A4;
}

QByteArray buildSheetPdf(const BuildSheet &sheet, const QLocale &locale)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(sheetPaper(locale)), QPageLayout::Portrait,
                                         QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                         QPageLayout::Millimeter));
        writer.setTitle(buildSheetTitle());
        writer.setCreator(QStringLiteral("moxon"));
        QPainter painter(&writer);
        // The painter's origin is the top left of the area within the margins.
        const QRectF area(QPointF(0, 0),
                          writer.pageLayout().paintRectPixels(writer.resolution()).size());
        drawBuildSheet(painter, area, sheet, locale);
    }
    return bytes;
}

QString saveBuildSheetPdf(const QString &path, const BuildSheet &sheet, const QLocale &locale)
{
    const QByteArray bytes = buildSheetPdf(sheet, locale);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return {};
}

} // namespace moxon
