#include "swrchart.h"

#include "bandplan.h"
#include "chartstyle.h"
#include "sweepplan.h"

#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace moxon {

namespace {

constexpr double kSwrMin = 1;
constexpr double kSwrMax = 5;
// Higher values are drawn at this height, out of the plot, so the curve leaves it at the top.
constexpr double kSwrClip = 10;

void verticalLine(QLineSeries &series, double mhz)
{
    series.replace({QPointF(mhz, kSwrMin), QPointF(mhz, kSwrMax)});
}

} // namespace

SwrChart::SwrChart(QWidget *parent)
    : CheckChartView(new QChart, parent)
{
    QChart *chart = this->chart();
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignBottom);
    QFont small = chart->legend()->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    chart->legend()->setFont(small);

    m_frequencyAxis = new QValueAxis;
    m_frequencyAxis->setTitleText(QStringLiteral("MHz"));
    m_frequencyAxis->setTickCount(5);
    m_swrAxis = new QValueAxis;
    m_swrAxis->setRange(kSwrMin, kSwrMax);
    m_swrAxis->setTickCount(5);
    m_swrAxis->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(m_frequencyAxis, Qt::AlignBottom);
    chart->addAxis(m_swrAxis, Qt::AlignLeft);

    const auto add = [&](QLineSeries *&series, const QString &name) {
        series = new QLineSeries;
        series->setName(name);
        chart->addSeries(series);
        series->attachAxis(m_frequencyAxis);
        series->attachAxis(m_swrAxis);
    };
    // Named in retranslate().
    add(m_level15, QString());
    add(m_level2, QString());
    add(m_bandLower, QString());
    add(m_bandUpper, QString());
    add(m_figuresRun, QString());
    add(m_reference, QString());
    add(m_curve, QString());
    // One legend entry for each pair of lines.
    chart->legend()->markers(m_level2).first()->setVisible(false);
    chart->legend()->markers(m_bandUpper).first()->setVisible(false);
    chart->legend()->markers(m_reference).first()->setVisible(false);

    setMinimumSize(240, 170);
    applyPalette();
    retranslate();
}

void SwrChart::retranslate()
{
    m_level15->setName(tr("驻波比 1.5 / 2"));
    m_figuresRun->setName(tr("设计频率"));
    m_reference->setName(tr("公式设计"));
    m_curve->setName(tr("驻波比"));
    m_bandLower->setName(m_bandName.isEmpty() ? QString() : tr("%1 频段边缘").arg(m_bandName));
    setAccessibleName(tr("驻波比曲线"));
}

void SwrChart::setDesign(double f0Mhz)
{
    const double low = sweepFrequency(f0Mhz, 0);
    const double high = sweepFrequency(f0Mhz, kSweepPoints - 1);
    m_frequencyAxis->setRange(low, high);
    // Enough decimals to tell the ticks apart: a tenth of the design frequency spans the axis.
    const int decimals = std::clamp(2 - int(std::floor(std::log10(high - low))), 0, 4);
    m_frequencyAxis->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));

    verticalLine(*m_figuresRun, f0Mhz);
    m_level15->replace({QPointF(low, 1.5), QPointF(high, 1.5)});
    m_level2->replace({QPointF(low, 2), QPointF(high, 2)});

    const std::optional<Band> band = bandContaining(f0Mhz);
    m_bandLower->clear();
    m_bandUpper->clear();
    m_bandName = band ? band->name : QString();
    retranslate();
    if (band) {
        if (band->lowerMhz >= low) {
            verticalLine(*m_bandLower, band->lowerMhz);
        }
        if (band->upperMhz <= high) {
            verticalLine(*m_bandUpper, band->upperMhz);
        }
    }
    chart()->legend()->markers(m_bandLower).first()->setVisible(band.has_value());
    clearCurve();
}

void SwrChart::setCurve(const QList<SweepPoint> &sweep)
{
    QList<QPointF> points;
    points.reserve(sweep.size());
    for (const SweepPoint &point : sweep) {
        const double swr = std::isfinite(point.swr) ? std::min(point.swr, kSwrClip) : kSwrClip;
        points.append(QPointF(point.frequencyMhz, swr));
    }
    m_curve->replace(points);
}

void SwrChart::clearCurve()
{
    m_curve->clear();
}

void SwrChart::keepAsReference()
{
    m_reference->replace(m_curve->points());
    chart()->legend()->markers(m_reference).first()->setVisible(m_reference->count() > 0);
}

void SwrChart::clearReference()
{
    m_reference->clear();
    chart()->legend()->markers(m_reference).first()->setVisible(false);
}

int SwrChart::curvePoints() const
{
    return int(m_curve->count());
}

void SwrChart::applyPalette()
{
    CheckChartView::applyPalette();
    const ChartColours colours = chartColours(palette());
    const qreal width = 2;
    m_curve->setPen(QPen(colours.curve, width * 1.25));
    m_reference->setPen(QPen(faint(colours.curve), width));
    m_figuresRun->setPen(QPen(colours.design, width, Qt::DashLine));
    for (QLineSeries *level : {m_level15, m_level2}) {
        level->setPen(QPen(colours.level, width * 0.75, Qt::DotLine));
    }
    for (QLineSeries *edge : {m_bandLower, m_bandUpper}) {
        edge->setPen(QPen(colours.band, width, Qt::DashDotLine));
    }
}

} // namespace moxon
