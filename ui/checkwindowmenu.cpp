// The check window's context menu: the figures and plots saved as PNG, the numbers exported as
// CSV, and the build sheet of the shown design printed or saved as PDF.
#include "checkexport.h"
#include "checkwindow.h"
#include "sheetpdf.h"
#include "smithchart.h"
#include "swrchart.h"

#include <QAction>

namespace moxon {

void CheckWindow::makeMenu()
{
    m_saveImageAction = new QAction(this);
    m_exportAction = new QAction(this);
    m_printSheetAction = new QAction(this);
    m_saveSheetAction = new QAction(this);
    m_printSheetAction->setObjectName(QStringLiteral("printBuildSheet"));
    m_saveSheetAction->setObjectName(QStringLiteral("saveBuildSheet"));
    connect(m_saveImageAction, &QAction::triggered, this, &CheckWindow::saveImage);
    connect(m_exportAction, &QAction::triggered, this, &CheckWindow::exportData);
    connect(m_printSheetAction, &QAction::triggered, this, &CheckWindow::printBuildSheet);
    connect(m_saveSheetAction, &QAction::triggered, this, &CheckWindow::saveBuildSheet);
    const QList<QAction *> menu = {m_saveImageAction, m_exportAction, m_printSheetAction,
                                   m_saveSheetAction};
    addActions(menu);
    // The chart's menu has its own sweep choice, then the window's.
    m_swrChart->addActions(menu);
    m_smithChart->addActions(menu);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CheckWindow::updateMenu()
{
    for (QAction *action : actions()) {
        action->setEnabled(m_figures.has_value());
    }
    // The sheet's predicted dip needs the whole curve: not before the check has ended.
    const bool sheetReady = m_figures.has_value() && !m_checking && !shownCurve().isEmpty();
    m_printSheetAction->setEnabled(sheetReady);
    m_saveSheetAction->setEnabled(sheetReady);
}

void CheckWindow::retranslateMenu()
{
    m_saveImageAction->setText(tr("保存图像…"));
    m_exportAction->setText(tr("导出数据…"));
    m_printSheetAction->setText(tr("打印施工单"));
    m_printSheetAction->setToolTip(
        tr("在默认打印机上打印施工单：下料长度、绝缘子间距、撑杆与预测值"));
    m_saveSheetAction->setText(tr("保存施工单 PDF…"));
}

QString CheckWindow::fileStem() const
{
    return QStringLiteral("moxon-check-%1MHz")
        .arg(QString::number(m_request.frequencyMhz, 'g', 10));
}

void CheckWindow::saveImage()
{
    m_saveLocation.save(this,
                        {tr("保存图像"), fileStem(), QStringLiteral("png"),
                         QStringLiteral("PNG (*.png)"), QStringLiteral("Save Failed"),
                         QStringLiteral("The image could not be saved to %1: %2.")},
                        [this](const QString &path) { return savePng(path, image()); });
}

void CheckWindow::exportData()
{
    m_saveLocation.save(this,
                        {tr("导出数据"), fileStem(), QStringLiteral("csv"),
                         QStringLiteral("CSV (*.csv)"), QStringLiteral("Export Failed"),
                         QStringLiteral("The data could not be exported to %1: %2.")},
                        [this](const QString &path) { return saveBytes(path, csv()); });
}

SheetPredictions CheckWindow::sheetPredictions() const
{
    return {m_figures.value_or(DesignFigures{}), shownCurve(), m_toleranceResult};
}

void CheckWindow::printBuildSheet()
{
    if (m_printSheetAction->isEnabled()) {
        // The session tells the user of a print that did not happen.
        m_commands.printBuildSheet(sheetPredictions());
    }
}

void CheckWindow::saveBuildSheet()
{
    if (!m_saveSheetAction->isEnabled()) {
        return;
    }
    // Made now, before the dialog: what is saved is the sheet of the design shown when asked.
    const std::optional<BuildSheet> sheet = m_commands.buildSheet(sheetPredictions());
    if (!sheet) {
        return;
    }
    const QString stem =
        QStringLiteral("moxon-sheet-%1MHz").arg(QString::number(m_request.frequencyMhz, 'g', 10));
    m_saveLocation.save(
        this,
        {tr("保存施工单"), stem, QStringLiteral("pdf"), QStringLiteral("PDF (*.pdf)"),
         QStringLiteral("Save Failed"),
         QStringLiteral("The build sheet could not be saved to %1: %2.")},
        [this, sheet](const QString &path) { return saveBuildSheetPdf(path, *sheet, locale()); });
}

} // namespace moxon
