#include "smithpainter.h"

#include "chartstyle.h"
#include "feedline.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <functional>

namespace moxon {

namespace {

using Complex = std::complex<double>;

// The grid's normalised resistances and reactances: the usual ones of a chart this size.
constexpr std::array kGridValues = {0.2, 0.5, 1.0, 2.0, 5.0};
// |Γ| of the SWR circles 1.5 and 2: (s − 1) / (s + 1).
constexpr std::array kSwrCircles = {std::pair{0.2, "1.5"}, std::pair{1.0 / 3, "2"}};
constexpr double kMarkRadius = 4; // pixels

QPen tracePen(SmithTrace trace, const ChartColours &colours)
{
    switch (trace) {
    case SmithTrace::Model:
        return QPen(colours.curve, 2.5);
    case SmithTrace::Radio:
        return QPen(colours.radio, 2.5);
    case SmithTrace::MeasuredRaw:
        return QPen(colours.measured, 1.5, Qt::DashLine);
    case SmithTrace::Measured:
        return QPen(colours.measured, 2.5);
    case SmithTrace::Predicted:
        return QPen(colours.curve, 2, Qt::DashLine);
    case SmithTrace::Fitted:
        return QPen(colours.fitted, 2, Qt::DashLine);
    }
    return {};
}

QString ohms(double value)
{
    return QString::number(value, 'g', 3);
}

} // namespace

Complex smithReflection(Complex z)
{
    if (!std::isfinite(z.real()) || !std::isfinite(z.imag())) {
        return 1;
    }
    return (z - kLineImpedance) / (z + kLineImpedance);
}

std::optional<Complex> impedanceAtFrequency(const QList<SweepPoint> &points, double mhz)
{
    for (qsizetype i = 1; i < points.size(); ++i) {
        const SweepPoint &low = points.at(i - 1);
        const SweepPoint &high = points.at(i);
        if (mhz >= low.frequencyMhz && mhz <= high.frequencyMhz &&
            high.frequencyMhz > low.frequencyMhz) {
            const double t = (mhz - low.frequencyMhz) / (high.frequencyMhz - low.frequencyMhz);
            const Complex a(low.feed.resistance, low.feed.reactance);
            const Complex b(high.feed.resistance, high.feed.reactance);
            return a + t * (b - a);
        }
    }
    return std::nullopt;
}

SmithPainter::SmithPainter(const QRectF &area, double legendWidth)
    : m_area(area)
{
    // Room around the circle for the reactance labels at its rim.
    const double side = 36;
    const double top = 20;
    const double width = std::max(area.width() - legendWidth - 2 * side, 10.0);
    const double diameter = std::max(std::min(width, area.height() - 2 * top), 10.0);
    m_circle =
        QRectF(area.left() + side, area.top() + (area.height() - diameter) / 2, diameter, diameter);
}

QPointF SmithPainter::pointOfReflection(Complex gamma) const
{
    const double radius = m_circle.width() / 2;
    return m_circle.center() + QPointF(gamma.real() * radius, -gamma.imag() * radius);
}

QPointF SmithPainter::pointOf(Complex z) const
{
    return pointOfReflection(smithReflection(z));
}

std::optional<Complex> SmithPainter::impedanceAt(QPointF point) const
{
    const double radius = m_circle.width() / 2;
    const QPointF offset = point - m_circle.center();
    const Complex gamma(offset.x() / radius, -offset.y() / radius);
    if (std::abs(gamma) > 1 || std::abs(1.0 - gamma) < 1e-9) {
        return std::nullopt;
    }
    return kLineImpedance * (1.0 + gamma) / (1.0 - gamma);
}

void SmithPainter::paint(QPainter &painter, const SmithContent &content,
                         const QPalette &palette) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(m_area, palette.brush(QPalette::Base));
    paintGrid(painter, palette);
    paintTraces(painter, content, palette);
    paintLegend(painter, content, palette);
    painter.restore();
}

void SmithPainter::paintGrid(QPainter &painter, const QPalette &palette) const
{
    const ChartColours colours = chartColours(palette);
    const double radius = m_circle.width() / 2;
    const QColor text = palette.color(QPalette::Text);
    QFont small = painter.font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    painter.setFont(small);
    const QFontMetricsF metrics(small);

    painter.save();
    QPainterPath inside;
    inside.addEllipse(m_circle);
    painter.setClipPath(inside);
    painter.setPen(QPen(colours.grid, 1));
    painter.drawLine(pointOfReflection(-1), pointOfReflection(1));
    for (const double r : kGridValues) {
        // Constant resistance r: the circle through Γ = 1 about r / (1 + r), of 1 / (1 + r).
        const double centre = r / (1 + r);
        const double size = radius / (1 + r);
        painter.drawEllipse(pointOfReflection(centre), size, size);
        for (const double sign : {1.0, -1.0}) {
            // Constant reactance: drawn through the resistances from 0 to the open.
            QPolygonF arc;
            for (int k = 0; k <= 96; ++k) {
                const double t = k / 96.0;
                const Complex z = t < 1 ? Complex(t / (1 - t), sign * r) : Complex(INFINITY, 0);
                arc.append(pointOfReflection(t < 1 ? (z - 1.0) / (z + 1.0) : Complex(1)));
            }
            painter.drawPolyline(arc);
        }
    }
    painter.setPen(QPen(colours.level, 1.25, Qt::DotLine));
    for (const auto &[gamma, swr] : kSwrCircles) {
        painter.drawEllipse(m_circle.center(), gamma * radius, gamma * radius);
    }
    painter.restore();

    painter.setPen(QPen(colours.grid, 1.25));
    painter.drawEllipse(m_circle);
    painter.setPen(text);
    for (const double r : kGridValues) {
        // The resistance on the axis, just above it, in ohms.
        const QPointF at = pointOfReflection((r - 1) / (r + 1));
        painter.drawText(at + QPointF(2, -3), ohms(r * kLineImpedance));
        for (const double sign : {1.0, -1.0}) {
            const Complex gamma = (Complex(0, sign * r) - 1.0) / (Complex(0, sign * r) + 1.0);
            const QPointF rim = pointOfReflection(gamma * (1 + 14 / radius));
            const QString label =
                (sign > 0 ? QStringLiteral("+j") : QStringLiteral("−j")) + ohms(r * kLineImpedance);
            const QRectF box(rim.x() - 30, rim.y() - metrics.height() / 2, 60, metrics.height());
            painter.drawText(box, Qt::AlignCenter, label);
        }
    }
    painter.setPen(colours.level);
    for (const auto &[gamma, swr] : kSwrCircles) {
        const QPointF at = m_circle.center() + QPointF(0, -gamma * radius);
        painter.drawText(at + QPointF(3, metrics.ascent() - 1), QString::fromLatin1(swr));
    }
}

void SmithPainter::paintTraces(QPainter &painter, const SmithContent &content,
                               const QPalette &palette) const
{
    const ChartColours colours = chartColours(palette);
    for (int i = 0; i < kSmithTraces; ++i) {
        const QList<SweepPoint> &points = content.traces.at(std::size_t(i));
        if (points.isEmpty()) {
            continue;
        }
        const QPen pen = tracePen(SmithTrace(i), colours);
        QPolygonF line;
        for (const SweepPoint &point : points) {
            line.append(pointOf({point.feed.resistance, point.feed.reactance}));
        }
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(line);
        // The marks in the curve's colour, filled, with a rim of the background.
        painter.setPen(QPen(palette.color(QPalette::Base), 1));
        painter.setBrush(pen.color());
        if (const std::optional<Complex> z = impedanceAtFrequency(points, content.designMhz)) {
            painter.drawEllipse(pointOf(*z), kMarkRadius, kMarkRadius);
        }
        for (const double edge : content.edgesMhz) {
            if (const std::optional<Complex> z = impedanceAtFrequency(points, edge)) {
                const QPointF at = pointOf(*z);
                painter.drawRect(QRectF(at.x() - kMarkRadius, at.y() - kMarkRadius, 2 * kMarkRadius,
                                        2 * kMarkRadius));
            }
        }
    }
    painter.setBrush(Qt::NoBrush);
}

void SmithPainter::paintLegend(QPainter &painter, const SmithContent &content,
                               const QPalette &palette) const
{
    const ChartColours colours = chartColours(palette);
    const QFontMetricsF metrics(painter.font());
    const double left = m_circle.right() + 40;
    double y = m_area.top() + 8;
    const auto entry = [&](const QString &name, const std::function<void(QPointF)> &symbol) {
        const double middle = y + metrics.height() / 2;
        symbol(QPointF(left + 10, middle));
        painter.setPen(palette.color(QPalette::Text));
        painter.drawText(QRectF(left + 26, y, m_area.right() - left - 26, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, name);
        y += metrics.height() + 4;
    };
    for (int i = 0; i < kSmithTraces; ++i) {
        if (content.traces.at(std::size_t(i)).isEmpty()) {
            continue;
        }
        entry(content.names.at(std::size_t(i)), [&](QPointF at) {
            painter.setPen(tracePen(SmithTrace(i), colours));
            painter.drawLine(at - QPointF(10, 0), at + QPointF(10, 0));
        });
    }
    painter.setBrush(palette.color(QPalette::Text));
    if (content.designMhz > 0) {
        entry(content.designName, [&](QPointF at) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(palette.color(QPalette::Text));
            painter.drawEllipse(at, kMarkRadius, kMarkRadius);
        });
    }
    if (!content.edgesMhz.isEmpty()) {
        entry(content.edgesName, [&](QPointF at) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(palette.color(QPalette::Text));
            painter.drawRect(QRectF(at.x() - kMarkRadius, at.y() - kMarkRadius, 2 * kMarkRadius,
                                    2 * kMarkRadius));
        });
    }
    painter.setBrush(Qt::NoBrush);
    entry(content.swrName, [&](QPointF at) {
        painter.setPen(QPen(colours.level, 1.25, Qt::DotLine));
        painter.drawLine(at - QPointF(10, 0), at + QPointF(10, 0));
    });
}

} // namespace moxon
