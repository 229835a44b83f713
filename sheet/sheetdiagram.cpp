#include "sheetdiagram.h"

#include "sheetcanvas.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace moxon {

namespace {

// Tenths of a point around the rectangle: the beam's arrow on the left, the dimension line A
// above, the lines of B, C and D and of E on the right.
constexpr double kMarginLeft = 420;
constexpr double kMarginRight = 600;
constexpr double kMarginTop = 280;
constexpr double kMarginBottom = 40;
constexpr double kMinimumGap = 110; // the gap C is drawn at least this wide
constexpr double kFeedHalfGap = 45; // half the break in the driven element
constexpr double kWidthLineOffset = 170;
constexpr double kTailLineOffset = 170;
constexpr double kDepthLineOffset = 470;
constexpr double kTick = 45;
constexpr double kLetterOpening = 90; // half the opening of a dimension line for its letter
constexpr double kHubRadius = 32;
constexpr double kArcRadius = 230;

constexpr double kElementPen = 16;
constexpr double kFramePen = 7;
constexpr double kDimensionPen = 4;
constexpr double kLetterSize = 120;

// The rectangle as drawn, in tenths of a point.
struct Outline
{
    double left = 0;
    double right = 0;
    double top = 0;          // the driven element's long side
    double bottom = 0;       // the reflector's
    double driverTip = 0;    // where the driven element's tails end
    double reflectorTip = 0; // where the reflector's tails end
    [[nodiscard]] double centreX() const { return (left + right) / 2; }
    [[nodiscard]] double centreY() const { return (top + bottom) / 2; }
};

Outline outlineFor(const QRectF &box, const BuildDimensions &dims)
{
    const double width = box.width() - kMarginLeft - kMarginRight;
    const double height = box.height() - kMarginTop - kMarginBottom;
    const double scale = std::min(width / dims.a, height / dims.e);
    Outline outline;
    outline.left = box.left() + kMarginLeft + (width - dims.a * scale) / 2;
    outline.right = outline.left + dims.a * scale;
    outline.top = box.top() + kMarginTop;
    outline.bottom = outline.top + dims.e * scale;
    double driverTail = dims.b * scale;
    double reflectorTail = dims.d * scale;
    const double gap = dims.c * scale;
    if (gap < kMinimumGap && driverTail + reflectorTail > 0) {
        const double taken = kMinimumGap - gap;
        const double tails = driverTail + reflectorTail;
        driverTail -= taken * driverTail / tails;
        reflectorTail -= taken * reflectorTail / tails;
    }
    outline.driverTip = outline.top + driverTail;
    outline.reflectorTip = outline.bottom - reflectorTail;
    return outline;
}

void drawLabel(QPainter &painter, const QPointF &at, Qt::Alignment align, const QString &text,
               double size = SheetCanvas::kSmallSize, bool bold = false)
{
    painter.setFont(SheetCanvas::font(size, bold));
    // A box around `at`, the text placed in it as `align` says.
    constexpr double kReach = 2000;
    QRectF box(at.x() - kReach, at.y() - kReach, 2 * kReach, 2 * kReach);
    if (align & Qt::AlignLeft) {
        box.moveLeft(at.x());
    } else if (align & Qt::AlignRight) {
        box.moveRight(at.x());
    }
    if (align & Qt::AlignTop) {
        box.moveTop(at.y());
    } else if (align & Qt::AlignBottom) {
        box.moveBottom(at.y());
    }
    painter.drawText(box, int(align), text);
}

void drawElements(QPainter &painter, const Outline &o, const DiagramLabels &labels)
{
    painter.setPen(QPen(Qt::black, kElementPen, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    const double feedLeft = o.centreX() - kFeedHalfGap;
    const double feedRight = o.centreX() + kFeedHalfGap;
    painter.drawPolyline(QPolygonF{{o.left, o.driverTip}, {o.left, o.top}, {feedLeft, o.top}});
    painter.drawPolyline(QPolygonF{{feedRight, o.top}, {o.right, o.top}, {o.right, o.driverTip}});
    painter.drawPolyline(QPolygonF{{o.left, o.reflectorTip},
                                   {o.left, o.bottom},
                                   {o.right, o.bottom},
                                   {o.right, o.reflectorTip}});
    painter.setBrush(Qt::black);
    painter.setPen(Qt::NoPen);
    for (const double x : {feedLeft, feedRight}) {
        painter.drawEllipse(QPointF(x, o.top), kElementPen * 1.2, kElementPen * 1.2);
    }
    // The tail insulators: a cord across the gap with the insulator in its middle.
    const double gapMiddle = (o.driverTip + o.reflectorTip) / 2;
    const double insulator = std::max(30.0, (o.reflectorTip - o.driverTip) * 0.45);
    for (const double x : {o.left, o.right}) {
        painter.setPen(QPen(Qt::black, kDimensionPen));
        painter.drawLine(QPointF(x, o.driverTip), QPointF(x, o.reflectorTip));
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(x - 22, gapMiddle - insulator / 2, 44, insulator), 12, 12);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::black);
    drawLabel(painter, {(o.left + o.centreX()) / 2, o.top + 40}, Qt::AlignHCenter | Qt::AlignTop,
              labels.driver);
    drawLabel(painter, {o.centreX(), o.top + 40}, Qt::AlignHCenter | Qt::AlignTop, labels.feed);
    drawLabel(painter, {o.centreX(), o.bottom - 40}, Qt::AlignHCenter | Qt::AlignBottom,
              labels.reflector);
    drawLabel(painter, {o.left + 60, gapMiddle}, Qt::AlignLeft | Qt::AlignVCenter,
              labels.tailInsulator);
}

void drawFrame(QPainter &painter, const Outline &o, const DiagramLabels &labels)
{
    const QPointF hub(o.centreX(), o.centreY());
    painter.setPen(QPen(Qt::darkGray, kFramePen, Qt::DashLine));
    for (const QPointF corner : {QPointF(o.left, o.top), QPointF(o.right, o.top),
                                 QPointF(o.left, o.bottom), QPointF(o.right, o.bottom)}) {
        painter.drawLine(hub, corner);
    }
    painter.setPen(QPen(Qt::black, kDimensionPen));
    painter.setBrush(Qt::white);
    painter.drawEllipse(hub, kHubRadius, kHubRadius);
    painter.setBrush(Qt::NoBrush);
    // Half the angle across E, from the beam's cross line to an arm; Qt counts arcs in
    // sixteenths of a degree, anticlockwise on the page.
    const double half = std::atan2(o.bottom - o.top, o.right - o.left) * 180 / std::numbers::pi;
    const QRectF arc(hub.x() - kArcRadius, hub.y() - kArcRadius, 2 * kArcRadius, 2 * kArcRadius);
    painter.drawArc(arc, int(-half * 16), int(2 * half * 16));
    painter.drawArc(arc.adjusted(40, 40, -40, -40), int(half * 16), int((180 - 2 * half) * 16));
    drawLabel(painter, {hub.x() + kArcRadius + 30, hub.y()}, Qt::AlignLeft | Qt::AlignVCenter,
              labels.angleAcrossE);
    drawLabel(painter, {hub.x(), hub.y() - kArcRadius - 10}, Qt::AlignHCenter | Qt::AlignBottom,
              labels.angleAcrossA);
    drawLabel(painter, {hub.x(), hub.y() + kHubRadius + 20}, Qt::AlignHCenter | Qt::AlignTop,
              labels.hub);
}

// A dimension line from `from` to `to` with end ticks across it, opened in its middle for
// `letter` when the stretch is long enough and `mayOpen`, else with the letter beside it at
// `aside`.
void dimensionLine(QPainter &painter, QPointF from, QPointF to, const QString &letter,
                   QPointF aside, bool mayOpen = true)
{
    const bool vertical = from.x() == to.x();
    const QPointF tick = vertical ? QPointF(kTick / 2, 0) : QPointF(0, kTick / 2);
    painter.setPen(QPen(Qt::black, kDimensionPen));
    painter.drawLine(from - tick, from + tick);
    painter.drawLine(to - tick, to + tick);
    const QPointF middle = (from + to) / 2;
    const double length = vertical ? to.y() - from.y() : to.x() - from.x();
    if (mayOpen && length > 3 * kLetterOpening) {
        const QPointF opening = vertical ? QPointF(0, kLetterOpening) : QPointF(kLetterOpening, 0);
        painter.drawLine(from, middle - opening);
        painter.drawLine(middle + opening, to);
        drawLabel(painter, middle, Qt::AlignCenter, letter, kLetterSize, true);
    } else {
        painter.drawLine(from, to);
        drawLabel(painter, aside, Qt::AlignLeft | Qt::AlignVCenter, letter, kLetterSize, true);
    }
}

void drawDimensions(QPainter &painter, const Outline &o)
{
    const double widthY = o.top - kWidthLineOffset;
    dimensionLine(painter, {o.left, widthY}, {o.right, widthY}, QStringLiteral("A"), {});
    const double tails = o.right + kTailLineOffset;
    const std::array<std::pair<double, double>, 3> stretches = {
        {{o.top, o.driverTip}, {o.driverTip, o.reflectorTip}, {o.reflectorTip, o.bottom}}};
    const std::array letters = {QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")};
    for (std::size_t i = 0; i < stretches.size(); ++i) {
        const auto [from, to] = stretches.at(i);
        dimensionLine(painter, {tails, from}, {tails, to}, letters.at(i),
                      {tails + kTick, (from + to) / 2});
    }
    // E's letter beside its line: the leaders of the tails' tips cross the line near its
    // middle, where an opening would put the letter.
    const double depth = o.right + kDepthLineOffset;
    dimensionLine(painter, {depth, o.top}, {depth, o.bottom}, QStringLiteral("E"),
                  {depth + kTick, o.centreY()}, false);
    // Where the lines start: thin leaders from the rectangle's corners and the tails' tips.
    painter.setPen(QPen(Qt::gray, kDimensionPen / 2));
    for (const double y : {o.top, o.driverTip, o.reflectorTip, o.bottom}) {
        painter.drawLine(QPointF(o.right + kElementPen, y), QPointF(depth + kTick / 2, y));
    }
    for (const double x : {o.left, o.right}) {
        painter.drawLine(QPointF(x, o.top - kElementPen), QPointF(x, widthY - kTick));
    }
}

void drawBeamArrow(QPainter &painter, const Outline &o, const QString &caption)
{
    const double x = o.left - kMarginLeft / 2;
    const double head = o.centreY() - 180;
    painter.setPen(QPen(Qt::black, kFramePen));
    painter.drawLine(QPointF(x, o.centreY() + 120), QPointF(x, head));
    painter.setBrush(Qt::black);
    painter.drawPolygon(QPolygonF{{x, head - 60}, {x - 30, head}, {x + 30, head}});
    painter.setBrush(Qt::NoBrush);
    drawLabel(painter, {x, o.centreY() + 150}, Qt::AlignHCenter | Qt::AlignTop, caption);
}

} // namespace

void drawSheetDiagram(QPainter &painter, const QRectF &box, const BuildDimensions &dims,
                      const DiagramLabels &labels)
{
    if (!(dims.a > 0) || !(dims.e > 0)) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const Outline outline = outlineFor(box, dims);
    drawFrame(painter, outline, labels);
    drawElements(painter, outline, labels);
    drawDimensions(painter, outline);
    drawBeamArrow(painter, outline, labels.beam);
    painter.restore();
}

} // namespace moxon
