#include "sheetcanvas.h"

#include "captionface.h"

#include <QFontMetricsF>
#include <QPainter>

namespace moxon {

namespace {

constexpr double kLineSpacing = 1.45; // of the face's size, from baseline to baseline
constexpr double kCellPadding = 40;   // tenths of a point between a cell's text and the next
constexpr double kHeadingSpace = 150; // above a section's heading
constexpr double kRuleWeight = 5;     // tenths of a point
constexpr double kThinRuleWeight = 2.5;

} // namespace

SheetCanvas::SheetCanvas(QPainter &painter, double width)
    : m_painter(painter)
    , m_width(width)
{
}

QFont SheetCanvas::font(double size, bool bold)
{
    QFont font = CaptionFace::captionFont();
    // A pixel on the sheet is a tenth of a point: the painter's scale makes it the device's.
    font.setPixelSize(int(size));
    font.setBold(bold);
    // The same advances at every resolution, on paper as in the PDF.
    font.setHintingPreference(QFont::PreferNoHinting);
    // Each character drawn as the glyph its code maps to: shaped, the face's substitutions
    // (its figures, the "fl" ligature) give glyphs that Qt's PDF writer cannot map back to
    // their characters, so that a reader or a search of the PDF would find no numbers in it.
    // The sheet's scripts need no shaping.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferNoShaping));
    return font;
}

double SheetCanvas::lineHeight(double size) const
{
    return size * kLineSpacing;
}

void SheetCanvas::rule(double y, double weight)
{
    m_painter.save();
    m_painter.setPen(QPen(Qt::black, weight));
    m_painter.drawLine(QPointF(0, y), QPointF(m_width, y));
    m_painter.restore();
}

void SheetCanvas::title(const QString &text, const QString &aside)
{
    const double height = lineHeight(kTitleSize);
    const QRectF line(0, m_y, m_width, height);
    m_painter.setFont(font(kTitleSize, true));
    m_painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, text);
    m_painter.setFont(font(kHeadingSize, true));
    m_painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, aside);
    m_y += height;
    rule(m_y, kRuleWeight * 2);
    m_y += kRuleWeight * 4;
}

void SheetCanvas::heading(const QString &text)
{
    m_y += kHeadingSpace;
    const double height = lineHeight(kHeadingSize);
    m_painter.setFont(font(kHeadingSize, true));
    m_painter.drawText(QRectF(0, m_y, m_width, height), Qt::AlignLeft | Qt::AlignVCenter, text);
    m_y += height;
}

void SheetCanvas::paragraph(const QString &text, double size)
{
    const QFont face = font(size);
    m_painter.setFont(face);
    const QRectF bounds = m_painter.boundingRect(QRectF(0, m_y, m_width, 1e6),
                                                 Qt::AlignLeft | Qt::TextWordWrap, text);
    m_painter.drawText(QRectF(0, m_y, m_width, bounds.height()), Qt::AlignLeft | Qt::TextWordWrap,
                       text);
    m_y += bounds.height() + (lineHeight(size) - size) / 2;
}

void SheetCanvas::row(const QList<SheetColumn> &columns, const QStringList &cells, bool bold)
{
    const double height = lineHeight(kBodySize);
    m_painter.setFont(font(kBodySize, bold));
    if (cells.size() == 1) {
        m_painter.drawText(QRectF(0, m_y, m_width, height), Qt::AlignLeft | Qt::AlignVCenter,
                           cells.first());
        m_y += height;
        return;
    }
    double x = 0;
    for (qsizetype i = 0; i < columns.size() && i < cells.size(); ++i) {
        const SheetColumn &column = columns.at(i);
        const QRectF cell(x, m_y, column.width - kCellPadding, height);
        m_painter.drawText(cell, column.align | Qt::AlignVCenter, cells.at(i));
        x += column.width;
    }
    m_y += height;
}

void SheetCanvas::table(const QList<SheetColumn> &columns, const QStringList &header,
                        const QList<QStringList> &rows)
{
    rule(m_y, kRuleWeight);
    row(columns, header, true);
    rule(m_y, kThinRuleWeight);
    for (const QStringList &cells : rows) {
        row(columns, cells, false);
    }
    rule(m_y, kRuleWeight);
    m_y += kRuleWeight * 4;
}

} // namespace moxon
