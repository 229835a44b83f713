#include "patternchart.h"

#include "chartstyle.h"

#include <QCategoryAxis>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QPainterPath>
#include <QPolarChart>
#include <QResizeEvent>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace moxon {

namespace {

// The centre of the chart, so that the -40 dB ring is a ring; weaker directions are drawn there.
constexpr double kFloorDb = -45;
constexpr double kRings[] = {-40, -30, -20, -10, -3};

double degrees(double radians)
{
    return radians * 180 / std::numbers::pi;
}

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180;
}

} // namespace

double elevationChartAngle(double theta, double planePhi, double forwardPhi)
{
    // The direction's part along the beam and its part upwards.
    const double along = std::sin(radians(theta)) * std::cos(radians(planePhi - forwardPhi));
    const double up = std::cos(radians(theta));
    const double angle = degrees(std::atan2(up, along));
    return angle < 0 ? angle + 360 : angle;
}

PatternChart::PatternChart(Plane plane, const QString &title, const QString &accessibleName,
                           QWidget *parent)
    : CheckChartView(new QPolarChart, parent)
{
    auto *chart = static_cast<QPolarChart *>(this->chart());
    chart->setTitle(title);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->legend()->hide();

    QAbstractAxis *angle = nullptr;
    if (plane == Plane::Azimuth) {
        auto *clockwise = new QValueAxis;
        clockwise->setRange(0, 360);
        clockwise->setTickCount(13); // every 30 degrees
        clockwise->setLabelFormat(QStringLiteral("%.0f°"));
        angle = clockwise;
    } else {
        // Every 30 degrees, named by the angle from the forward horizon: 0° to the right, 90°
        // at the top, 180° to the left, -90° below.
        auto *fromHorizon = new QCategoryAxis;
        fromHorizon->setRange(0, 360);
        fromHorizon->setStartValue(0);
        fromHorizon->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        for (int chartAngle = 0; chartAngle < 360; chartAngle += 30) {
            int elevation = 90 - chartAngle;
            if (elevation <= -180) {
                elevation += 360;
            }
            fromHorizon->append(QString::number(elevation).replace(u'-', u'−') + u'°', chartAngle);
        }
        angle = fromHorizon;
    }
    m_level = new QCategoryAxis;
    QCategoryAxis *level = m_level;
    level->setRange(kFloorDb, 0);
    level->setStartValue(kFloorDb);
    level->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    // The outer edge is the forward gain, 0 dB, and needs no label of its own.
    for (const double ring : kRings) {
        level->append(
            QString::number(ring).replace(u'-', u'−') +
                (ring == kRings[std::size(kRings) - 1] ? QStringLiteral(" dB") : QString()),
            ring);
    }
    chart->addAxis(angle, QPolarChart::PolarOrientationAngular);
    chart->addAxis(level, QPolarChart::PolarOrientationRadial);

    m_reference = new QLineSeries;
    m_pattern = new QLineSeries;
    for (QLineSeries *series : {m_reference, m_pattern}) {
        chart->addSeries(series);
        series->attachAxis(angle);
        series->attachAxis(level);
    }

    setAccessibleName(accessibleName);
    setMinimumSize(180, 180);
    applyPalette();
}

void PatternChart::setAzimuth(const QList<CutPoint> &cut, double forwardPhi, double forwardGain)
{
    // Seen from above: phi grows anticlockwise, the chart's angle clockwise.
    QList<QPointF> points;
    for (const CutPoint &point : cut) {
        points.append(
            QPointF(std::fmod(forwardPhi - point.angle + 720, 360), point.gain - forwardGain));
    }
    setPoints(points);
}

void PatternChart::setElevation(const QList<CutPoint> &cut, double planePhi, double forwardPhi,
                                double forwardGain, bool overGround)
{
    QList<QPointF> points;
    for (const CutPoint &point : cut) {
        const double fromHorizon = elevationChartAngle(point.angle, planePhi, forwardPhi);
        const double gain = point.gain - forwardGain;
        points.append(QPointF(std::fmod(450 - fromHorizon, 360), gain));
        // Mirrored below the horizon, but for the two horizon points themselves.
        constexpr double kOnHorizon = 1e-6; // degrees
        if (!overGround && fromHorizon > kOnHorizon && fromHorizon < 180 - kOnHorizon) {
            points.append(QPointF(std::fmod(90 + fromHorizon, 360), gain));
        }
    }
    setPoints(points);
    if (m_upperHalf != overGround) {
        m_upperHalf = overGround;
        placePlot();
    }
}

void PatternChart::setTitle(const QString &title)
{
    chart()->setTitle(title);
}

void PatternChart::resizeEvent(QResizeEvent *event)
{
    CheckChartView::resizeEvent(event);
    placePlot();
}

QRectF PatternChart::frame() const
{
    qreal left = 0;
    qreal top = 0;
    qreal right = 0;
    qreal bottom = 0;
    chart()->layout()->getContentsMargins(&left, &top, &right, &bottom);
    return sceneRect().adjusted(left, top, -right, -bottom);
}

void PatternChart::drawBackground(QPainter *painter, const QRectF &rect)
{
    CheckChartView::drawBackground(painter, rect);
    if (m_upperHalf) {
        const qreal roundness = chart()->backgroundRoundness();
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(chart()->backgroundBrush());
        painter->drawRoundedRect(frame(), roundness, roundness);
        painter->restore();
    }
}

// The frame's edge over the plot, and the view's own background below it: the circle's lower
// half would otherwise show there.
void PatternChart::drawForeground(QPainter *painter, const QRectF &rect)
{
    CheckChartView::drawForeground(painter, rect);
    if (m_upperHalf) {
        const qreal roundness = chart()->backgroundRoundness();
        const QRectF edge = frame();
        const QRectF view = sceneRect();
        QPainterPath inside;
        inside.addRoundedRect(edge, roundness, roundness);
        // Below the frame and beside its lower corners; the horizon's labels may stand out
        // to the sides above it.
        QPainterPath corners;
        corners.addRect(QRectF(edge.left(), edge.bottom() - roundness, edge.width(),
                               view.bottom() - edge.bottom() + roundness));
        QPainterPath below;
        below.addRect(
            QRectF(view.left(), edge.bottom(), view.width(), view.bottom() - edge.bottom()));
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillPath(corners.united(below).subtracted(inside),
                          viewport()->palette().brush(viewport()->backgroundRole()));
        painter->setPen(chart()->backgroundPen());
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(inside);
        painter->restore();
    }
}

void PatternChart::placePlot()
{
    const QSizeF view = viewport()->size();
    chart()->setBackgroundVisible(!m_upperHalf);
    if (!m_upperHalf) {
        chart()->resize(view);
        setSceneRect(QRectF(QPointF(), view));
        return;
    }
    // The chart twice as tall as the view, less its title, lays its circle out with the centre
    // a label's height above the view's bottom edge; the view shows the upper half.
    const qreal title = QFontMetricsF(chart()->titleFont()).height() + 8;
    const qreal label = QFontMetricsF(chart()->font()).height();
    chart()->resize(QSizeF(view.width(), 2 * view.height() - title - 2 * label));
    setSceneRect(QRectF(QPointF(), view));
}

void PatternChart::setPoints(QList<QPointF> points)
{
    std::sort(points.begin(), points.end(),
              [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
    double top = 0;
    for (QPointF &point : points) {
        point.setY(std::max(point.y(), kFloorDb));
        top = std::max(top, point.y());
    }
    // A lobe stronger than the forward direction still fits: the outer edge moves out.
    m_level->setMax(std::ceil(top));
    m_pattern->replace(points);
}

void PatternChart::clearPattern()
{
    m_pattern->clear();
}

void PatternChart::keepAsReference()
{
    m_reference->replace(m_pattern->points());
}

void PatternChart::clearReference()
{
    m_reference->clear();
}

int PatternChart::patternPoints() const
{
    return int(m_pattern->count());
}

void PatternChart::applyPalette()
{
    CheckChartView::applyPalette();
    m_pattern->setPen(QPen(chartColours(palette()).curve, 2.5));
    m_reference->setPen(QPen(faint(chartColours(palette()).curve), 2));
}

} // namespace moxon
