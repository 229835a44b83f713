#include "checkchartview.h"

#include "chartstyle.h"

#include <QChart>
#include <QEvent>
#include <QLocale>

namespace moxon {

CheckChartView::CheckChartView(QChart *chart, QWidget *parent)
    : QChartView(chart, parent)
{
    chart->setLocalizeNumbers(true);
    chart->setLocale(locale());
    setRenderHint(QPainter::Antialiasing);
}

void CheckChartView::changeEvent(QEvent *event)
{
    QChartView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        applyPalette();
    } else if (event->type() == QEvent::LocaleChange) {
        chart()->setLocale(locale());
    } else if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

void CheckChartView::applyPalette()
{
    styleChart(*chart(), palette());
}

} // namespace moxon
