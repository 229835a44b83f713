#include "faketoolkit.h"

namespace moxon::test {

QString messageLine(MessageStyle style, const QString &title, const QString &text)
{
    return QStringLiteral("msgbox %1 %2: %3").arg(static_cast<int>(style)).arg(title, text);
}

void FakeToolkit::record(const QString &line)
{
    if (m_logging) {
        m_log.append(line);
    }
}

int FakeToolkit::messageBox(const QString &text, const QString &title, MessageStyle style)
{
    record(messageLine(style, title, text));
    keepMessage(text, title, style);
    return m_messageAnswers.isEmpty() ? kAnswerOk : m_messageAnswers.takeFirst();
}

void FakeToolkit::setText(Control textBox, const QString &text)
{
    record(QStringLiteral("text %1=%2").arg(controlName(textBox), text));
    HeadlessToolkit::setText(textBox, text);
}

void FakeToolkit::setFocus(Control textBox)
{
    record(QStringLiteral("focus ") + controlName(textBox));
    HeadlessToolkit::setFocus(textBox);
}

void FakeToolkit::selectEntry(Control dropDown, int index)
{
    record(QStringLiteral("select %1#%2").arg(controlName(dropDown)).arg(index));
    HeadlessToolkit::selectEntry(dropDown, index);
}

void FakeToolkit::setCaption(Control label, const QString &caption)
{
    record(QStringLiteral("caption %1=%2").arg(controlName(label), caption));
    HeadlessToolkit::setCaption(label, caption);
}

void FakeToolkit::press(Control button)
{
    record(QStringLiteral("press ") + controlName(button));
    HeadlessToolkit::press(button);
}

void FakeToolkit::setVisible(Control button, bool visible)
{
    record(QStringLiteral("%1 %2").arg(visible ? u"show" : u"hide", controlName(button)));
    HeadlessToolkit::setVisible(button, visible);
}

void FakeToolkit::setBackground(Control control, ColourNumber colour)
{
    record(QStringLiteral("background %1=%2").arg(controlName(control)).arg(colour, 0, 16));
    HeadlessToolkit::setBackground(control, colour);
}

void FakeToolkit::setOuterWidth(int twips)
{
    record(QStringLiteral("width %1").arg(twips));
    HeadlessToolkit::setOuterWidth(twips);
}

PrintOutcome FakeToolkit::printImage()
{
    record(QStringLiteral("print"));
    if (m_printOutcome == PrintOutcome::Printed) {
        ++m_printCount;
    }
    return m_printOutcome;
}

void FakeToolkit::unload()
{
    record(QStringLiteral("unload"));
    HeadlessToolkit::unload();
}

std::optional<QString> FakeToolkit::saveAs(const QString &filter)
{
    record(QStringLiteral("saveas ") + filter);
    return m_saveAsAnswers.isEmpty() ? std::nullopt : m_saveAsAnswers.takeFirst();
}

} // namespace moxon::test
