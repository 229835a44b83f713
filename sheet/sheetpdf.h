#pragma once

#include "buildsheet.h"

#include <QByteArray>
#include <QLocale>
#include <QPageSize>
#include <QString>

namespace moxon {

// The paper a sheet is written on for `locale`: US Letter where it measures in inches the
// American way, else A4.
[[nodiscard]] QPageSize::PageSizeId sheetPaper(const QLocale &locale);

// `sheet` as a PDF file of one page, drawn by Qt Gui's PDF writer: no display, no printer and
// no widget is needed. The window's caption face must be registered (CaptionFace).
[[nodiscard]] QByteArray buildSheetPdf(const BuildSheet &sheet, const QLocale &locale);

// Writes buildSheetPdf() to `path` whole or not at all, so that a failed write leaves an
// existing file as it was. Why it failed, or an empty string.
[[nodiscard]] QString saveBuildSheetPdf(const QString &path, const BuildSheet &sheet,
                                        const QLocale &locale);

} // namespace moxon
