#pragma once

#include "buildsheet.h"

#include <QLocale>
#include <QRectF>

class QPainter;

namespace moxon {

// The sheet's title, in the language in force: a printed or written sheet's document name.
[[nodiscard]] QString buildSheetTitle();

// The sheet is laid out on a page of this size in tenths of a point, 183 by 254 mm, which the
// printable area of A4 and of US Letter hold at full size.
inline constexpr double kSheetWidth = 5200;
inline constexpr double kSheetHeight = 7200;

// Draws `sheet` in the language in force, its numbers in `locale`, fitted into `area` (the
// device's units) as large as fits, centred across it and from its top: the same drawing on
// paper and in a PDF file. The window's caption face must be registered with the application
// (CaptionFace) while it draws.
void drawBuildSheet(QPainter &painter, const QRectF &area, const BuildSheet &sheet,
                    const QLocale &locale);

} // namespace moxon
