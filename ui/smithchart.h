#pragma once

#include "savelocation.h"
#include "smithpainter.h"

#include <QWidget>

class QAction;

namespace moxon {

// The check's Smith chart, normalised to 50 Ω: the model's impedance over the sweep at the
// feed point and, with a feed line, at the radio; what an analyser measured, as measured and
// turned back to the feed point; and what the trim predicts. Every curve is marked at the
// design frequency and at the edges of the amateur band that holds it. Under the pointer a
// tooltip tells the frequency, R + jX and SWR of the nearest point of a curve, or R + jX and
// SWR of the chart itself; the context menu saves the chart as PNG. Drawn with QPainter, in
// the palette's colours and the window's language.
class SmithChart : public QWidget
{
    Q_OBJECT

public:
    explicit SmithChart(QWidget *parent = nullptr);

    // A new design: its marks, no curves.
    void setDesign(double f0Mhz);
    void setCurve(SmithTrace trace, const QList<SweepPoint> &points);
    void clearCurve(SmithTrace trace) { setCurve(trace, {}); }

    [[nodiscard]] int curvePoints(SmithTrace trace) const;
    // The band edges marked, MHz.
    [[nodiscard]] const QList<double> &edgesMhz() const { return m_content.edgesMhz; }
    // Where the chart lies in the widget at its size, the legend beside it.
    [[nodiscard]] SmithPainter smithGeometry() const;
    // What the tooltip says at `point`; empty away from the chart.
    [[nodiscard]] QString pointText(QPointF point) const;
    // The chart as "保存圆图…" writes it.
    [[nodiscard]] QImage image();

Q_SIGNALS:
    // What lies under the pointer as it moves, as the tooltip tells it; empty once it leaves.
    void pointed(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void saveImage();

    SmithContent m_content;
    QAction *m_saveAction = nullptr; // the chart owns it
    SaveLocation m_saveLocation;
};

} // namespace moxon
