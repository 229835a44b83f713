#include "dialogs.h"
#include "frmmoxon.h"
#include "windowprinter.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The window as its session's view: what the session shows in it and asks of it, the design,
// its messages, the file to save, and the printed sheet the window turns itself into.

namespace moxon {

namespace {

// The design's border: the outer width less the client width, in twips.
constexpr int kBorderTwips = 90;

// A background of white for the sheet, or the platform's own (the button-face colour) again.
void setSheetBackground(QWidget &widget, bool white)
{
    if (!white) {
        widget.setPalette(QPalette());
        widget.setAutoFillBackground(false);
        return;
    }
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, Qt::white);
    // Option buttons fill their background from the Button role, not from Window.
    palette.setColor(widget.backgroundRole(), Qt::white);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

} // namespace

void frmMoxon::showWireSize(const QString &text, WireUnit unit)
{
    m_txtWD->setText(text);
    m_cboDiaUnits->setCurrentIndex(int(unit));
}

void frmMoxon::showDesign(const ShownDesign &design)
{
    const QString unit = unitText(design.unit);
    for (std::size_t i = 0; i < m_results.size(); ++i) {
        m_results.at(i)->setText(design.texts.at(i));
    }
    for (QLabel *label : m_unitLabels) {
        label->setText(unit);
        label->adjustSize();
    }
}

void frmMoxon::showMessage(const Message &message)
{
    showMessageBox(message, this);
}

bool frmMoxon::confirm(const Message &message)
{
    return showMessageBox(message, this);
}

void frmMoxon::focusField(InputField field)
{
    (field == InputField::Frequency ? m_txtFreq : m_txtWD)->setFocus(Qt::OtherFocusReason);
}

std::optional<QString> frmMoxon::askSavePath(ModelFormat format)
{
    // The export replaces a chosen file without asking, as it always has; the dialog must not
    // ask either.
    const QString path = QFileDialog::getSaveFileName(this, QString(), m_lastSavePath,
                                                      qtFileFilter(saveFilter(format)), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    m_lastSavePath = path;
    return path;
}

void frmMoxon::showSheet(bool sheet)
{
    for (QWidget *widget : m_sheetControls) {
        setSheetBackground(*widget, sheet);
    }
    m_btnCalculate->setVisible(!sheet);
    setOuterWidth(sheet ? kSheetOuterWidth : kDesignOuterWidth);
}

PrintOutcome frmMoxon::printSheet()
{
    return printWidgetImage(*this);
}

PrintOutcome frmMoxon::printBuildSheet(const BuildSheet &sheet)
{
    return moxon::printBuildSheet(sheet);
}

void frmMoxon::closeWindow()
{
    close();
}

void frmMoxon::setOuterWidth(int twips)
{
    setFixedWidth(twipsToPixelsX(twips - kBorderTwips));
    repaint();
}

} // namespace moxon
