#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

namespace moxon::test {

// What the poppler tools tell about a PDF file. Each returns nothing and fills `error` when
// the tool is missing or fails, so a test can say why instead of comparing against zero.
[[nodiscard]] std::optional<int> pdfPageCount(const QString &pdf, QString &error);
[[nodiscard]] std::optional<QStringList> pdfFontNames(const QString &pdf, QString &error);

// How pdftotext orders the text: in reading order, a table column by column, or as laid out
// on the page, a table row by row.
enum class PdfTextOrder
{
    Reading,
    Layout,
};

// The text that the PDF holds as text, as pdftotext extracts it, NFKC-normalised.
[[nodiscard]] std::optional<QString> pdfText(const QString &pdf, QString &error,
                                             PdfTextOrder order = PdfTextOrder::Reading);

// The first page rendered at `dpi` dots per inch.
[[nodiscard]] std::optional<QImage> pdfPageImage(const QString &pdf, int dpi, QString &error);

// A pixel counts as ink when any channel is darker than `level`. At the default, faint greys
// of a style's frames and fills are not ink; at kPureWhite only paper white is not.
inline constexpr int kInkThreshold = 235;
inline constexpr int kPureWhite = 250;

// The smallest rectangle holding every ink pixel; empty on a blank page.
[[nodiscard]] QRect inkBounds(const QImage &image, int level = kInkThreshold);

// The share of ink pixels inside `area`, from 0 to 1.
[[nodiscard]] double inkShare(const QImage &image, const QRect &area, int level = kInkThreshold);

} // namespace moxon::test
