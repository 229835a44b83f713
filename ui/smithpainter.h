#pragma once

#include "figures.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <array>
#include <complex>
#include <optional>

class QPainter;
class QPalette;

namespace moxon {

// The curves a Smith chart of the check shows, in the order they are drawn and listed.
enum class SmithTrace
{
    Model,       // the model's impedance at the feed point
    Radio,       // the same at the radio's end of the feed line
    MeasuredRaw, // the analyser's curve as measured at the radio
    Measured,    // the analyser's curve at the feed point, measured there or turned back
    Predicted,   // what the trim predicts of the antenna once trimmed
    Fitted,      // the diagnosis's fitted model, where the file was measured
};
inline constexpr int kSmithTraces = 6;

// What a Smith chart draws: the curves, the frequencies marked on each, and the texts of its
// legend in the window's language.
struct SmithContent
{
    std::array<QList<SweepPoint>, kSmithTraces> traces; // by SmithTrace; empty: not drawn
    std::array<QString, kSmithTraces> names;            // by SmithTrace
    double designMhz = 0;   // marked with a dot on every curve that spans it; 0: none
    QList<double> edgesMhz; // the band's edges, marked with a square
    QString designName;     // the legend's text of the dot
    QString edgesName;      // and of the squares
    QString swrName;        // and of the SWR circles
};

// The Smith chart of impedance normalised to kLineImpedance, drawn with QPainter into `area`:
// the unit circle of the reflection coefficient Γ = (Z − Z0) / (Z + Z0), with 50 Ω at its
// centre, a short at its left edge and an open at its right; circles of constant resistance
// and arcs of constant reactance labelled in ohms; the SWR circles 1.5 and 2 (|Γ| = 0.2 and
// 1/3); the curves with their marks; and a legend to the right of the circle.
class SmithPainter
{
public:
    // `legendWidth` pixels at the right are kept for the legend.
    SmithPainter(const QRectF &area, double legendWidth);

    // The square around the circle |Γ| = 1.
    [[nodiscard]] QRectF circle() const { return m_circle; }
    // Where `z` (ohms) lies; an infinite or open impedance at the right edge.
    [[nodiscard]] QPointF pointOf(std::complex<double> z) const;
    // The impedance at `point`, ohms; none outside the circle or at its right edge.
    [[nodiscard]] std::optional<std::complex<double>> impedanceAt(QPointF point) const;

    void paint(QPainter &painter, const SmithContent &content, const QPalette &palette) const;

private:
    [[nodiscard]] QPointF pointOfReflection(std::complex<double> gamma) const;
    void paintGrid(QPainter &painter, const QPalette &palette) const;
    void paintTraces(QPainter &painter, const SmithContent &content, const QPalette &palette) const;
    void paintLegend(QPainter &painter, const SmithContent &content, const QPalette &palette) const;

    QRectF m_area;
    QRectF m_circle;
};

// The reflection coefficient of `z` on kLineImpedance; 1 for an infinite impedance.
[[nodiscard]] std::complex<double> smithReflection(std::complex<double> z);
// The impedance of `points` at `mhz`, linear between the two points around it; none outside
// their span.
[[nodiscard]] std::optional<std::complex<double>>
impedanceAtFrequency(const QList<SweepPoint> &points, double mhz);

} // namespace moxon
