#pragma once

#include <QChartView>

namespace moxon {

// A chart of the check window: it follows the palette, light or dark, and the locale of the
// widget it sits in, whenever either changes.
class CheckChartView : public QChartView
{
    Q_OBJECT

public:
    explicit CheckChartView(QChart *chart, QWidget *parent = nullptr);

protected:
    void changeEvent(QEvent *event) override;
    // Colours of the chart and of what it draws, from the palette.
    virtual void applyPalette();
};

} // namespace moxon
