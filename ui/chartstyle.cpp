#include "chartstyle.h"

#include <QAbstractAxis>
#include <QChart>
#include <QLegend>

namespace moxon {

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Base).lightness() < 128;
}

ChartColours chartColours(const QPalette &palette)
{
    const QColor text = palette.color(QPalette::Text);
    const QColor base = palette.color(QPalette::Base);
    // Half way between text and background: visible, but quieter than the data.
    const QColor grid((text.red() + base.red()) / 2, (text.green() + base.green()) / 2,
                      (text.blue() + base.blue()) / 2);
    if (isDark(palette)) {
        return {QColor(0x6c, 0xb4, 0xff), QColor(0xff, 0x9a, 0x5c), QColor(0xc0, 0xc0, 0xc0),
                QColor(0x7a, 0xd9, 0x8c), QColor(0xe0, 0x8c, 0xff), grid,
                QColor(0x4d, 0xd0, 0xc8), QColor(0xf0, 0xc0, 0x40)};
    }
    return {QColor(0x0b, 0x5c, 0xc4), QColor(0xc2, 0x41, 0x0c), QColor(0x60, 0x60, 0x60),
            QColor(0x1d, 0x7d, 0x3a), QColor(0x8e, 0x24, 0xaa), grid,
            QColor(0x00, 0x85, 0x7c), QColor(0xb0, 0x78, 0x00)};
}

void styleChart(QChart &chart, const QPalette &palette)
{
    const QColor text = palette.color(QPalette::Text);
    const ChartColours colours = chartColours(palette);
    chart.setBackgroundBrush(palette.brush(QPalette::Base));
    chart.setBackgroundPen(QPen(colours.grid));
    chart.setTitleBrush(text);
    chart.legend()->setLabelColor(text);
    for (QAbstractAxis *axis : chart.axes()) {
        axis->setLabelsColor(text);
        axis->setTitleBrush(text);
        axis->setLinePenColor(colours.grid);
        axis->setGridLineColor(colours.grid);
        axis->setMinorGridLineColor(colours.grid);
    }
}

QColor faint(QColor colour)
{
    colour.setAlphaF(0.3f);
    return colour;
}

} // namespace moxon
