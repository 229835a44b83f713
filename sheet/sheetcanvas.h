#pragma once

#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;

namespace moxon {

// One column of a table on the sheet: its share of the width and where its text sits.
struct SheetColumn
{
    double width = 0; // tenths of a point
    Qt::Alignment align = Qt::AlignLeft;
};

// The sheet as it is written down the page: every length in tenths of a point on a page of
// `width`, the text in the window's caption face at the sizes below, a cursor that moves down
// as headings, lines and tables are written. The painter's transformation maps the page onto
// the device; the face must be registered with the application while this draws.
class SheetCanvas
{
public:
    SheetCanvas(QPainter &painter, double width);

    static constexpr double kBodySize = 88;     // tenths of a point: text and tables
    static constexpr double kHeadingSize = 110; // a section's heading
    static constexpr double kTitleSize = 170;   // the sheet's title
    static constexpr double kSmallSize = 74;    // notes under a table and the footer

    [[nodiscard]] double y() const { return m_y; }
    void moveTo(double y) { m_y = y; }
    void skip(double height) { m_y += height; }
    [[nodiscard]] double width() const { return m_width; }

    // Text in the face at `size` (tenths of a point), bold or not.
    [[nodiscard]] static QFont font(double size, bool bold = false);

    // The title on the left with `aside` on the right of the same line, and a rule under it.
    void title(const QString &text, const QString &aside);
    // A section's heading, with space above it.
    void heading(const QString &text);
    // Lines of running text, wrapped to the width, at `size`.
    void paragraph(const QString &text, double size = kBodySize);
    // A table: a header row in bold, then the rows, each cell aligned as its column says; a
    // row whose first cell is all it has spans the table. Rules above and below.
    void table(const QList<SheetColumn> &columns, const QStringList &header,
               const QList<QStringList> &rows);

private:
    // Height of one line at `size`.
    [[nodiscard]] double lineHeight(double size) const;
    void row(const QList<SheetColumn> &columns, const QStringList &cells, bool bold);
    void rule(double y, double weight);

    QPainter &m_painter;
    double m_width = 0; // tenths of a point
    double m_y = 0;     // where the next line starts
};

} // namespace moxon
