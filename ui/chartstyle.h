#pragma once

#include <QColor>
#include <QPalette>

class QChart;

namespace moxon {

// Colours of the check window's charts for a palette: the chart takes the palette's base and
// text colours, the lines colours that stand out on light and on dark backgrounds alike.
struct ChartColours
{
    QColor curve;    // the SWR curve and the patterns
    QColor design;   // the design frequency
    QColor level;    // SWR levels
    QColor band;     // band edges
    QColor measured; // what an analyser measured of the built antenna
    QColor grid;
    QColor radio;  // what the radio sees at the far end of the feed line
    QColor fitted; // a model fitted to a measurement: apart from the design's curve it lies on
};

[[nodiscard]] bool isDark(const QPalette &palette);
[[nodiscard]] ChartColours chartColours(const QPalette &palette);

// Background, title, legend, axis labels and grid of `chart` in the palette's colours.
void styleChart(QChart &chart, const QPalette &palette);

// A colour drawn faintly behind its full-strength self: a curve kept for comparison.
[[nodiscard]] QColor faint(QColor colour);

} // namespace moxon
