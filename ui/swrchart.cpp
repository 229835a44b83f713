#include "swrchart.h"

#include "bandplan.h"
#include "chartstyle.h"
#include "sweepplan.h"

#include <QAction>
#include <QChart>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
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

QList<QPointF> chartPoints(const QList<SweepPoint> &sweep)
{
    QList<QPointF> points;
    points.reserve(sweep.size());
    for (const SweepPoint &point : sweep) {
        const double swr = std::isfinite(point.swr) ? std::min(point.swr, kSwrClip) : kSwrClip;
        points.append(QPointF(point.frequencyMhz, swr));
    }
    return points;
}

} // namespace

SwrChart::SwrChart(QWidget *parent)
    : CheckChartView(new QChart, parent)
{
    QChart *chart = this->chart();
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignBottom);
    // A line's own pen beside its name: the dashed prediction apart from the solid curve of the
    // same colour, the dots of the engine's points apart from both.
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
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
    add(m_designFrequency, QString());
    add(m_reference, QString());
    add(m_measured, QString());
    add(m_predicted, QString());
    add(m_radio, QString());
    add(m_curve, QString());
    m_enginePoints = new QScatterSeries;
    m_enginePoints->setName(QStringLiteral("nec2c"));
    m_enginePoints->setMarkerSize(7);
    chart->addSeries(m_enginePoints);
    m_enginePoints->attachAxis(m_frequencyAxis);
    m_enginePoints->attachAxis(m_swrAxis);
    // One legend entry for each pair of lines.
    chart->legend()->markers(m_level2).first()->setVisible(false);
    chart->legend()->markers(m_bandUpper).first()->setVisible(false);
    chart->legend()->markers(m_reference).first()->setVisible(false);
    chart->legend()->markers(m_measured).first()->setVisible(false);
    chart->legend()->markers(m_predicted).first()->setVisible(false);
    chart->legend()->markers(m_radio).first()->setVisible(false);

    // Every point from the engine, for a user who wants no interpolation.
    m_fullSweep = new QAction(this);
    m_fullSweep->setObjectName(QStringLiteral("fullSweep"));
    m_fullSweep->setCheckable(true);
    connect(m_fullSweep, &QAction::triggered, this, [this](bool full) {
        Q_EMIT sweepModeChosen(full ? SweepMode::Full : SweepMode::Fitted);
    });
    addAction(m_fullSweep);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    // Short enough that the window, with the installation's two rows, still fits 640 x 480.
    setMinimumSize(240, 160);
    applyPalette();
    retranslate();
}

void SwrChart::retranslate()
{
    m_level15->setName(tr("驻波比 1.5 / 2"));
    m_designFrequency->setName(tr("设计频率"));
    m_reference->setName(tr("公式设计"));
    m_curve->setName(tr("驻波比"));
    m_measured->setName(tr("实测"));
    m_predicted->setName(m_predictedIsFit ? tr("诊断拟合的模型") : tr("修剪后预测"));
    m_radio->setName(tr("电台端"));
    m_bandLower->setName(m_bandName.isEmpty() ? QString() : tr("%1 频段边缘").arg(m_bandName));
    m_fullSweep->setText(tr("nec2c 逐点计算全部 41 个频点"));
    setAccessibleName(tr("驻波比曲线"));
    placeLegend();
}

void SwrChart::placeLegend()
{
    // Under the plot while every name shown fits whole in one row, else beside it, a name a
    // line: the chart's legend cuts names short rather than wrap them, and a cut name tells
    // nothing. Each entry takes its marker and the spaces around it besides its name.
    QLegend *legend = chart()->legend();
    const QFontMetrics metrics(legend->font());
    int row = 0;
    for (const QLegendMarker *marker : legend->markers()) {
        if (marker->isVisible()) {
            row += metrics.horizontalAdvance(marker->label()) + metrics.height() + 12;
        }
    }
    const Qt::Alignment wanted = row <= width() - 16 ? Qt::AlignBottom : Qt::AlignRight;
    if (legend->alignment() != wanted) {
        legend->setAlignment(wanted);
    }
}

void SwrChart::resizeEvent(QResizeEvent *event)
{
    CheckChartView::resizeEvent(event);
    placeLegend();
}

void SwrChart::setDesign(double f0Mhz)
{
    m_designMhz = f0Mhz;
    verticalLine(*m_designFrequency, f0Mhz);
    clearTrim();
    clearCurve();
}

void SwrChart::setRange(double low, double high)
{
    m_frequencyAxis->setRange(low, high);
    // Enough decimals to tell the ticks apart: a tenth of the design frequency spans the axis.
    const int decimals = std::clamp(2 - int(std::floor(std::log10(high - low))), 0, 4);
    m_frequencyAxis->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
    m_level15->replace({QPointF(low, 1.5), QPointF(high, 1.5)});
    m_level2->replace({QPointF(low, 2), QPointF(high, 2)});

    const std::optional<Band> band = bandContaining(m_designMhz);
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
    showInLegend(m_bandLower, band.has_value());
}

std::pair<double, double> SwrChart::frequencyRange() const
{
    return {m_frequencyAxis->min(), m_frequencyAxis->max()};
}

void SwrChart::setMeasured(const QList<SweepPoint> &measured, double dipMhz, double targetMhz)
{
    // The design's span, widened to hold the measured dip and the target with a margin; the
    // measured curve is drawn across whatever of it the analyser swept.
    double low = sweepFrequency(m_designMhz, 0);
    double high = sweepFrequency(m_designMhz, kSweepPoints - 1);
    const double margin = (high - low) / 20;
    low = std::min({low, dipMhz - margin, targetMhz - margin});
    high = std::max({high, dipMhz + margin, targetMhz + margin});
    setRange(std::max(low, 0.0), high);
    m_measured->replace(chartPoints(measured));
    showInLegend(m_measured, !measured.isEmpty());
}

void SwrChart::setPredicted(const QList<SweepPoint> &predicted)
{
    m_predictedIsFit = false;
    m_predicted->setPen(predictedPen());
    m_predicted->setName(tr("修剪后预测"));
    m_predicted->replace(chartPoints(predicted));
    showInLegend(m_predicted, !predicted.isEmpty());
}

void SwrChart::setFitted(const QList<SweepPoint> &fitted)
{
    setPredicted(fitted);
    m_predictedIsFit = true;
    m_predicted->setPen(predictedPen());
    m_predicted->setName(tr("诊断拟合的模型"));
    placeLegend();
}

void SwrChart::clearTrim()
{
    m_measured->clear();
    m_predicted->clear();
    showInLegend(m_measured, false);
    showInLegend(m_predicted, false);
    if (m_designMhz > 0) {
        setRange(sweepFrequency(m_designMhz, 0), sweepFrequency(m_designMhz, kSweepPoints - 1));
    }
}

void SwrChart::showInLegend(QLineSeries *series, bool shown)
{
    QLegend *legend = chart()->legend();
    legend->markers(series).first()->setVisible(shown);
    // A marker shown after the legend was laid out gets neither its place nor its label
    // until the legend is laid out anew.
    legend->layout()->invalidate();
    placeLegend();
}

int SwrChart::measuredPoints() const
{
    return int(m_measured->count());
}

int SwrChart::predictedPoints() const
{
    return int(m_predicted->count());
}

void SwrChart::setCurve(const QList<SweepPoint> &sweep)
{
    m_curve->replace(chartPoints(sweep));
}

void SwrChart::setOutcome(const SweepOutcome &outcome)
{
    setCurve(outcome.curve.isEmpty() ? outcome.points : outcome.curve);
    QList<QPointF> marks;
    for (const SweepPoint &point : outcome.points) {
        const bool ran = std::any_of(
            outcome.engineFrequenciesMhz.cbegin(), outcome.engineFrequenciesMhz.cend(),
            [&point](double f) { return std::fabs(f - point.frequencyMhz) <= 1e-9 * f; });
        if (ran && std::isfinite(point.swr)) {
            marks.append(QPointF(point.frequencyMhz, std::min(point.swr, kSwrClip)));
        }
    }
    m_enginePoints->replace(marks);
}

void SwrChart::setSweepMode(SweepMode mode)
{
    m_fullSweep->setChecked(mode == SweepMode::Full);
}

void SwrChart::clearCurve()
{
    m_curve->clear();
    m_enginePoints->clear();
    setRadioCurve({});
}

void SwrChart::setRadioCurve(const QList<SweepPoint> &radio)
{
    m_radio->replace(chartPoints(radio));
    showInLegend(m_radio, !radio.isEmpty());
}

int SwrChart::radioPoints() const
{
    return int(m_radio->count());
}

int SwrChart::markedPoints() const
{
    return int(m_enginePoints->count());
}

void SwrChart::keepAsReference()
{
    m_reference->replace(m_curve->points());
    showInLegend(m_reference, m_reference->count() > 0);
}

void SwrChart::clearReference()
{
    m_reference->clear();
    showInLegend(m_reference, false);
}

int SwrChart::curvePoints() const
{
    return int(m_curve->count());
}

QPen SwrChart::predictedPen() const
{
    // A trim's prediction is the design's curve moved; a diagnosis's fit is the antenna as
    // built, in a colour of its own.
    const ChartColours colours = chartColours(palette());
    return QPen(m_predictedIsFit ? colours.fitted : colours.curve, 2, Qt::DashLine);
}

void SwrChart::applyPalette()
{
    CheckChartView::applyPalette();
    const ChartColours colours = chartColours(palette());
    const qreal width = 2;
    m_curve->setPen(QPen(colours.curve, width * 1.25));
    m_reference->setPen(QPen(faint(colours.curve), width));
    m_radio->setPen(QPen(colours.radio, width * 1.25));
    m_enginePoints->setColor(colours.curve);
    m_enginePoints->setBorderColor(colours.curve);
    m_measured->setPen(QPen(colours.measured, width * 1.25));
    m_predicted->setPen(predictedPen());
    m_designFrequency->setPen(QPen(colours.design, width, Qt::DashLine));
    for (QLineSeries *level : {m_level15, m_level2}) {
        level->setPen(QPen(colours.level, width * 0.75, Qt::DotLine));
    }
    for (QLineSeries *edge : {m_bandLower, m_bandUpper}) {
        edge->setPen(QPen(colours.band, width, Qt::DashDotLine));
    }
}

} // namespace moxon
