#include "smithchart.h"

#include "bandplan.h"
#include "checkexport.h"
#include "checkfigureformat.h"
#include "feedline.h"
#include "localenumbers.h"

#include <QAction>
#include <QEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <cmath>

namespace moxon {

namespace {

using Complex = std::complex<double>;

// How near the pointer must come to a curve's point for the tooltip to tell that point.
constexpr double kNearPixels = 10;

} // namespace

SmithChart::SmithChart(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("smithChart"));
    setMouseTracking(true);
    setMinimumSize(240, 120);
    m_saveAction = new QAction(this);
    m_saveAction->setObjectName(QStringLiteral("saveSmithChart"));
    connect(m_saveAction, &QAction::triggered, this, &SmithChart::saveImage);
    addAction(m_saveAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    retranslate();
}

void SmithChart::retranslate()
{
    auto &names = m_content.names;
    names[std::size_t(SmithTrace::Model)] = tr("模型（馈点）");
    names[std::size_t(SmithTrace::Radio)] = tr("模型（电台端）");
    names[std::size_t(SmithTrace::MeasuredRaw)] = tr("实测（电台端）");
    names[std::size_t(SmithTrace::Measured)] = tr("实测（馈点）");
    names[std::size_t(SmithTrace::Predicted)] = tr("修剪后预测");
    names[std::size_t(SmithTrace::Fitted)] = tr("诊断拟合的模型");
    m_content.designName = tr("设计频率");
    const std::optional<Band> band = bandContaining(m_content.designMhz);
    m_content.edgesName = band ? tr("%1 频段边缘").arg(band->name) : QString();
    m_content.swrName = tr("驻波比 1.5 / 2");
    m_saveAction->setText(tr("保存圆图…"));
    setAccessibleName(tr("史密斯圆图"));
    update();
}

void SmithChart::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
    if (event->type() == QEvent::PaletteChange) {
        update();
    }
}

void SmithChart::setDesign(double f0Mhz)
{
    m_content.designMhz = f0Mhz;
    m_content.edgesMhz.clear();
    if (const std::optional<Band> band = bandContaining(f0Mhz)) {
        m_content.edgesMhz = {band->lowerMhz, band->upperMhz};
    }
    for (QList<SweepPoint> &trace : m_content.traces) {
        trace.clear();
    }
    retranslate();
}

void SmithChart::setCurve(SmithTrace trace, const QList<SweepPoint> &points)
{
    m_content.traces[std::size_t(trace)] = points;
    update();
}

int SmithChart::curvePoints(SmithTrace trace) const
{
    return int(m_content.traces.at(std::size_t(trace)).size());
}

SmithPainter SmithChart::smithGeometry() const
{
    // The legend's column as wide as its longest text, beside the circle.
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const QString &text : {m_content.designName, m_content.edgesName, m_content.swrName}) {
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    for (const QString &name : m_content.names) {
        widest = std::max(widest, metrics.horizontalAdvance(name));
    }
    return SmithPainter(QRectF(rect()), widest + 34);
}

void SmithChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    smithGeometry().paint(painter, m_content, palette());
}

QString SmithChart::pointText(QPointF point) const
{
    const SmithPainter geometry = smithGeometry();
    const CheckFigureFormat format(locale());
    const LocaleNumbers numbers(locale());
    // The nearest point of a curve, within reach.
    double nearest = kNearPixels;
    QString text;
    for (int i = 0; i < kSmithTraces; ++i) {
        for (const SweepPoint &sample : m_content.traces.at(std::size_t(i))) {
            const QPointF at = geometry.pointOf({sample.feed.resistance, sample.feed.reactance});
            const double distance = std::hypot(at.x() - point.x(), at.y() - point.y());
            if (distance < nearest) {
                nearest = distance;
                text = tr("%1\n%2\n%3，驻波比 %4")
                           .arg(m_content.names.at(std::size_t(i)),
                                numbers.toMask(sample.frequencyMhz, 3) + QStringLiteral(" MHz"),
                                format.impedance(sample.feed), format.swr(sample.swr));
            }
        }
    }
    if (!text.isEmpty()) {
        return text;
    }
    const std::optional<Complex> z = geometry.impedanceAt(point);
    if (!z) {
        return {};
    }
    const FeedPoint feed{z->real(), z->imag()};
    return tr("%1，驻波比 %2")
        .arg(format.impedance(feed), format.swr(standingWaveRatio(feed, kLineImpedance)));
}

void SmithChart::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT pointed(pointText(event->position()));
    QWidget::mouseMoveEvent(event);
}

void SmithChart::leaveEvent(QEvent *event)
{
    Q_EMIT pointed({});
    QWidget::leaveEvent(event);
}

bool SmithChart::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QString text = pointText(help->pos());
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return QWidget::event(event);
}

QImage SmithChart::image()
{
    return grab().toImage();
}

void SmithChart::saveImage()
{
    const QString stem =
        QStringLiteral("moxon-smith-%1MHz").arg(QString::number(m_content.designMhz, 'g', 10));
    m_saveLocation.save(this,
                        {tr("保存圆图"), stem, QStringLiteral("png"), QStringLiteral("PNG (*.png)"),
                         QStringLiteral("Save Failed"),
                         QStringLiteral("The image could not be saved to %1: %2.")},
                        [this](const QString &path) { return savePng(path, image()); });
}

} // namespace moxon
