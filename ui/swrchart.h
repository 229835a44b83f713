#pragma once

#include "checkchartview.h"
#include "checkreport.h"
#include "figures.h"

#include <QList>

#include <utility>

class QAction;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace moxon {

// The SWR curve of the sweep, SWR 1 to 5 over the sweep's band: the design frequency marked,
// SWR 1.5 and 2 drawn as levels, and the edges of the amateur band that holds the design
// frequency, if one does. With a feed line, the SWR at the radio beside it. A fitted curve is drawn
// as a smooth line with the engine's own points marked on it. Its context menu chooses between the
// fitted sweep and every point run by the engine. Colours follow the palette, light or dark.
class SwrChart : public CheckChartView
{
    Q_OBJECT

public:
    explicit SwrChart(QWidget *parent = nullptr);

    // A new design: its band and marks, no curve yet.
    void setDesign(double f0Mhz);
    // The sweep so far, in order of frequency.
    void setCurve(const QList<SweepPoint> &sweep);
    // The finished sweep: the fit's dense curve where there is one, else the points, and the
    // engine's own points marked.
    void setOutcome(const SweepOutcome &outcome);
    // The sweep mode the context menu shows as chosen.
    void setSweepMode(SweepMode mode);
    void clearCurve();
    // The SWR the radio sees at the far end of the feed line, beside the feed point's; empty:
    // no line.
    void setRadioCurve(const QList<SweepPoint> &radio);
    [[nodiscard]] int radioPoints() const;
    // The curve as it stands stays behind the next ones, faint, as the formula design's.
    void keepAsReference();
    void clearReference();
    // A trim: the SWR an analyser measured of the built antenna, and the SWR the model
    // predicts after the trim, over the model's; the axis widens to hold the measured dip and
    // the target. clearTrim() takes both away and narrows it again.
    void setMeasured(const QList<SweepPoint> &measured, double dipMhz, double targetMhz);
    void setPredicted(const QList<SweepPoint> &predicted);
    // A diagnosis: the fitted model's SWR in the prediction's place, named for what it is.
    void setFitted(const QList<SweepPoint> &fitted);
    void clearTrim();

    [[nodiscard]] int curvePoints() const;
    [[nodiscard]] int markedPoints() const;
    [[nodiscard]] int measuredPoints() const;
    [[nodiscard]] int predictedPoints() const;
    // The frequency axis, MHz.
    [[nodiscard]] std::pair<double, double> frequencyRange() const;

Q_SIGNALS:
    // The user chose in the context menu how the curve is to come from the engine.
    void sweepModeChosen(moxon::SweepMode mode);

protected:
    void applyPalette() override;
    void retranslate() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The axis over `low` to `high` MHz, the levels across it and the band's edges within it.
    void setRange(double low, double high);
    void showInLegend(QLineSeries *series, bool shown);
    // The legend under the plot, or beside it when the names shown do not fit in one row.
    void placeLegend();
    // The trim's prediction's, or the diagnosis's fit's.
    [[nodiscard]] QPen predictedPen() const;

    QLineSeries *m_curve = nullptr; // the chart owns its series and axes
    QScatterSeries *m_enginePoints = nullptr;
    QAction *m_fullSweep = nullptr;
    QLineSeries *m_reference = nullptr;
    QLineSeries *m_radio = nullptr;
    QLineSeries *m_measured = nullptr;
    QLineSeries *m_predicted = nullptr;
    bool m_predictedIsFit = false; // m_predicted holds a diagnosis's fitted model
    QLineSeries *m_designFrequency = nullptr;
    QLineSeries *m_level15 = nullptr;
    QLineSeries *m_level2 = nullptr;
    QLineSeries *m_bandLower = nullptr;
    QLineSeries *m_bandUpper = nullptr;
    QValueAxis *m_frequencyAxis = nullptr;
    QValueAxis *m_swrAxis = nullptr;
    QString m_bandName; // of the band that holds the design frequency: "2 m"; empty for none
    double m_designMhz = 0;
};

} // namespace moxon
