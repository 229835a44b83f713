#pragma once

#include <QChartView>

namespace moxon {

// A chart of the check window: it follows the palette, light or dark, the locale of the
// widget it sits in and the program's language, whenever one of them changes.
class CheckChartView : public QChartView
{
    Q_OBJECT

public:
    explicit CheckChartView(QChart *chart, QWidget *parent = nullptr);

protected:
    void changeEvent(QEvent *event) override;
    // Colours of the chart and of what it draws, from the palette.
    virtual void applyPalette();
    // The chart's own texts in the language in force.
    virtual void retranslate() {}
};

} // namespace moxon
