#pragma once

#include "checkchartview.h"
#include "figures.h"

#include <QList>

class QCategoryAxis;
class QLineSeries;

namespace moxon {

// One radiation pattern cut on a polar chart, in dB relative to the forward gain, the forward
// direction up: rings at -3, -10, -20, -30 and -40 dB with their labels, angles clockwise
// from forward. Colours follow the palette, light or dark.
class PatternChart : public CheckChartView
{
    Q_OBJECT

public:
    // `title` names the plane on the chart, `accessibleName` for screen readers.
    PatternChart(const QString &title, const QString &accessibleName, QWidget *parent = nullptr);

    // The azimuth cut (angles are phi) with the beam at `forwardPhi`.
    void setAzimuth(const QList<CutPoint> &cut, double forwardPhi, double forwardGain);
    // The elevation cut (angles are theta at azimuth `planePhi`), the forward horizon up and
    // the zenith to the right.
    void setElevation(const QList<CutPoint> &cut, double planePhi, double forwardPhi,
                      double forwardGain);
    void clearPattern();

    [[nodiscard]] int patternPoints() const;

protected:
    void applyPalette() override;

private:
    // Points as (angle clockwise from forward, dB relative to forward), in any order.
    void setPoints(QList<QPointF> points);

    QLineSeries *m_pattern = nullptr; // the chart owns its series and axes
    QCategoryAxis *m_level = nullptr; // dB relative to the forward gain, radial
};

// Chart angle of a direction of the elevation cut at `planePhi`: 0 towards the beam on the
// horizon, 90 at the zenith, 180 the other horizon.
[[nodiscard]] double elevationChartAngle(double theta, double planePhi, double forwardPhi);

} // namespace moxon
