#pragma once

#include "checkchartview.h"
#include "figures.h"

#include <QList>

class QCategoryAxis;
class QLineSeries;

namespace moxon {

// One radiation pattern cut on a polar chart, in dB relative to the forward gain: rings at
// -3, -10, -20, -30 and -40 dB with their labels. The azimuth cut has the forward direction up
// and angles clockwise from forward; the elevation cut is drawn as modelling programs draw it,
// the horizon as the base line, forward to the right and the zenith up, its angles counted
// from the forward horizon. Colours follow the palette, light or dark.
class PatternChart : public CheckChartView
{
    Q_OBJECT

public:
    enum class Plane
    {
        Azimuth,
        Elevation,
    };

    // `title` names the plane on the chart, `accessibleName` for screen readers.
    PatternChart(Plane plane, const QString &title, const QString &accessibleName,
                 QWidget *parent = nullptr);

    void setTitle(const QString &title);
    // The azimuth cut (angles are phi) with the beam at `forwardPhi`.
    void setAzimuth(const QList<CutPoint> &cut, double forwardPhi, double forwardGain);
    // The elevation cut (angles are theta at azimuth `planePhi`). Over ground only the upper
    // half circle shows; in free space the whole circle, the lower half mirrored from the
    // upper, as the model is mirror-symmetric about the horizontal plane through its centre.
    void setElevation(const QList<CutPoint> &cut, double planePhi, double forwardPhi,
                      double forwardGain, bool overGround);
    void clearPattern();
    // The pattern as it stands stays behind the next ones, faint, as the formula design's.
    void keepAsReference();
    void clearReference();

    [[nodiscard]] int patternPoints() const;

protected:
    void applyPalette() override;
    void resizeEvent(QResizeEvent *event) override;
    // Over ground the chart is taller than the view and its own frame runs out of sight below:
    // the view draws the frame instead, as the chart would, round the part that shows.
    void drawBackground(QPainter *painter, const QRectF &rect) override;
    void drawForeground(QPainter *painter, const QRectF &rect) override;

private:
    // Points as (chart angle clockwise from the top, dB relative to forward), in any order.
    void setPoints(QList<QPointF> points);
    // Over ground the plot's centre sits on the bottom edge, so that only its upper half shows.
    void placePlot();
    // Where the chart's frame lies in the view: as the chart lays its background out.
    [[nodiscard]] QRectF frame() const;

    bool m_upperHalf = false;
    QLineSeries *m_pattern = nullptr; // the chart owns its series and axes
    QLineSeries *m_reference = nullptr;
    QCategoryAxis *m_level = nullptr; // dB relative to the forward gain, radial
};

// Angle of a direction of the elevation cut at `planePhi` from the forward horizon: 0 towards
// the beam on the horizon, 90 at the zenith, 180 the other horizon.
[[nodiscard]] double elevationChartAngle(double theta, double planePhi, double forwardPhi);

} // namespace moxon
