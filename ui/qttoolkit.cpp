#include "qttoolkit.h"

#include "frmmoxon.h"
#include "windowprinter.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

namespace moxon {

namespace {

// Colour numbers with this bit set name a system colour rather than red, green and blue.
constexpr ColourNumber kSystemColourFlag = 0x80000000;

QColor toQColor(ColourNumber colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

} // namespace

QtToolkit::QtToolkit(frmMoxon &window)
    : m_window(window)
{
}

int QtToolkit::messageBox(const QString &text, const QString &title, MessageStyle style)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if (style == MessageStyle::Exclamation) {
        icon = QMessageBox::Warning;
    } else if (style == MessageStyle::Information) {
        icon = QMessageBox::Information;
    }
    const bool withCancel = style == MessageStyle::OkCancel;
    QMessageBox box(icon, title, text,
                    withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
                    &m_window);
    // Texts may name files: show them as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? kAnswerOk : kAnswerCancel;
}

QString QtToolkit::text(Control textBox) const
{
    const auto *box = qobject_cast<QLineEdit *>(m_window.control(textBox));
    return box ? box->text() : QString();
}

void QtToolkit::setText(Control textBox, const QString &text)
{
    if (auto *box = qobject_cast<QLineEdit *>(m_window.control(textBox))) {
        box->setText(text);
    }
}

void QtToolkit::setFocus(Control textBox)
{
    if (QWidget *widget = m_window.control(textBox)) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

QString QtToolkit::selectedEntry(Control dropDown) const
{
    const auto *list = qobject_cast<QComboBox *>(m_window.control(dropDown));
    return list ? list->currentText() : QString();
}

void QtToolkit::selectEntry(Control dropDown, int index)
{
    if (auto *list = qobject_cast<QComboBox *>(m_window.control(dropDown))) {
        list->setCurrentIndex(index);
    }
}

void QtToolkit::setCaption(Control label, const QString &caption)
{
    if (auto *widget = qobject_cast<QLabel *>(m_window.control(label))) {
        widget->setText(caption);
        if (widget->property(kAutoSizeProperty).toBool()) {
            widget->adjustSize();
        }
    }
}

bool QtToolkit::isSelected(Control option) const
{
    const auto *button = qobject_cast<QAbstractButton *>(m_window.control(option));
    return button && button->isChecked();
}

void QtToolkit::press(Control button)
{
    // click() emits clicked() at once, so the handler runs to its end before this returns.
    if (auto *widget = qobject_cast<QAbstractButton *>(m_window.control(button))) {
        widget->click();
    }
}

void QtToolkit::setVisible(Control button, bool visible)
{
    if (QWidget *widget = m_window.control(button)) {
        widget->setVisible(visible);
    }
}

void QtToolkit::setBackground(Control control, ColourNumber colour)
{
    QWidget *widget = m_window.control(control);
    if (!widget) {
        return;
    }
    if ((colour & kSystemColourFlag) != 0) {
        // The design's colours are the platform's: drop the widget's own palette again.
        widget->setPalette(QPalette());
        widget->setAutoFillBackground(false);
    } else {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, toQColor(colour));
        // Option buttons fill their background from the Button role, not from Window.
        palette.setColor(widget->backgroundRole(), toQColor(colour));
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    }
}

void QtToolkit::setOuterWidth(int twips)
{
    m_window.setOuterWidth(twips);
}

PrintOutcome QtToolkit::printImage()
{
    return printWidgetImage(m_window);
}

void QtToolkit::unload()
{
    m_window.close();
}

std::optional<QString> QtToolkit::saveAs(const QString &filter)
{
    // The export replaces a chosen file without asking, as it always has; the dialog must not
    // ask either.
    const QString path = QFileDialog::getSaveFileName(&m_window, QString(), m_lastSavePath,
                                                      qtFileFilter(filter), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    m_lastSavePath = path;
    return path;
}

QString qtFileFilter(const QString &filter)
{
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0) {
        return filter;
    }
    const QString description = filter.left(bar).trimmed();
    const QString pattern = filter.mid(bar + 1).trimmed();
    if (pattern.isEmpty() || description.contains(u'(' + pattern + u')')) {
        return description;
    }
    return QStringLiteral("%1 (%2)").arg(description, pattern);
}

} // namespace moxon
