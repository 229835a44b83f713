// The check window's curves: the check's sweep, what the radio sees of it through the feed
// line, and the measurement and the trim's prediction, in the SWR chart and the Smith chart.

#include "checkwindow.h"
#include "figuretable.h"
#include "localenumbers.h"
#include "patternchart.h"
#include "smithchart.h"
#include "swrchart.h"
#include "trimpanel.h"

#include <QLabel>

namespace moxon {

void CheckWindow::makeCharts()
{
    m_swrChart = new SwrChart(this);
    connect(m_swrChart, &SwrChart::sweepModeChosen, this,
            [this](SweepMode mode) { m_commands.setSweepMode(mode); });
    // Titles and names come with the other texts, from retranslate().
    m_azimuth = new PatternChart(PatternChart::Plane::Azimuth, {}, {}, this);
    m_elevation = new PatternChart(PatternChart::Plane::Elevation, {}, {}, this);
    m_smithChart = new SmithChart(this);
    // What lies under the pointer, in the Smith chart's tab.
    m_smithReadout = new QLabel(this);
    m_smithReadout->setObjectName(QStringLiteral("smithReadout"));
    m_smithReadout->setWordWrap(true);
    m_smithReadout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(m_smithChart, &SmithChart::pointed, this, [this](const QString &text) {
        m_smithReadout->setText(text.isEmpty() ? smithHint() : text);
    });
}

QString CheckWindow::smithHint()
{
    return tr("史密斯圆图归一化到 50 Ω。把指针移到圆图上，这里显示指针处的频率、阻抗与驻波比。");
}

void CheckWindow::showSweep(const QList<SweepPoint> &sweep)
{
    m_sweep = sweep;
    m_swrChart->setCurve(sweep);
    m_smithChart->setCurve(SmithTrace::Model, sweep);
    showRadio();
}

void CheckWindow::showAnalysisResult(const SweepOutcome &sweep)
{
    m_checking = false;
    m_sweep = sweep.points;
    m_curve = sweep.curve;
    m_swrChart->setOutcome(sweep);
    m_smithChart->setCurve(SmithTrace::Model, shownCurve());
    m_bandwidth = sweep.bandwidth;
    m_figureTable->showDips(sweep.dipMhz, sweep.bareDipMhz);
    showStatus([sweep, this] {
        return sweep.fitAgreementOhm
                   ? tr("nec2c 已算完：设计频率与 %1 个扫频点，其余为有理拟合（两次拟合相差 %2 "
                        "Ω）。")
                         .arg(sweep.engineFrequenciesMhz.size() - 1)
                         .arg(LocaleNumbers(locale()).toShort(*sweep.fitAgreementOhm, 3))
                   : tr("nec2c 已算完：设计频率与 %1 个扫频点。").arg(sweep.points.size());
    });
    showRadio();
    showValues();
}

void CheckWindow::showRadio()
{
    const std::optional<FeedLine> &line = m_installation.feedLine;
    m_radio.reset();
    if (line && m_figures) {
        // The bandwidth at the radio once the whole curve is in; the line costs no engine run.
        m_radio = m_checking ? radioFigures(*line, m_figures->frequencyMhz, m_figures->feed)
                             : radioFigures(*line, *m_figures, m_sweep, m_curve);
    }
    m_figureTable->showRadio(m_radio, line.has_value());
    const QList<SweepPoint> seen = line ? seenThrough(*line, shownCurve()) : QList<SweepPoint>();
    m_swrChart->setRadioCurve(seen);
    m_smithChart->setCurve(SmithTrace::Radio, seen);
}

void CheckWindow::showMeasurement(const Measurement &measurement)
{
    m_trim->showMeasurement(measurement);
    m_swrChart->setMeasured(measurement.curve, measurement.dipMhz, measurement.targetMhz);
    m_smithChart->setCurve(SmithTrace::Measured, measurement.curve);
    m_smithChart->setCurve(SmithTrace::MeasuredRaw, measurement.rawCurve);
}

QList<SweepPoint> CheckWindow::shownCurve() const
{
    return m_curve.isEmpty() ? m_sweep : m_curve;
}

void CheckWindow::clearTrimCurves()
{
    m_swrChart->clearTrim();
    for (const SmithTrace trace : {SmithTrace::Measured, SmithTrace::MeasuredRaw,
                                   SmithTrace::Predicted, SmithTrace::Fitted}) {
        m_smithChart->clearCurve(trace);
    }
}

} // namespace moxon
