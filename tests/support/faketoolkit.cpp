#include "faketoolkit.h"

#include <array>

namespace moxon::test {

namespace {

const QStringList kWireUnitEntries = {QStringLiteral("in"), QStringLiteral("mm"),
                                      QStringLiteral("AWG")};

const std::array<QList<Control>, 4> kOptionGroups = {
    QList<Control>{Control::optFT, Control::optIN, Control::optM, Control::optMM},
    QList<Control>{Control::optEZNEC, Control::optNEC},
    QList<Control>{Control::optHorz, Control::optVert},
    QList<Control>{Control::optXaxis, Control::optYaxis},
};

} // namespace

QString messageLine(MessageStyle style, const QString &title, const QString &text)
{
    return QStringLiteral("msgbox %1 %2: %3").arg(static_cast<int>(style)).arg(title, text);
}

FakeToolkit::FakeToolkit()
{
    m_texts[Control::txtFreq] = QStringLiteral("146");
    m_texts[Control::txtWD] = QStringLiteral("#12");
    for (const Control label :
         {Control::lblA, Control::lblB, Control::lblC, Control::lblD, Control::lblE}) {
        m_captions[label] = QStringLiteral("in");
    }
    m_selectedOptions = {Control::optIN, Control::optEZNEC, Control::optHorz, Control::optXaxis};
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
    m_messages.append({text, title, style});
    return m_messageAnswers.isEmpty() ? kAnswerOk : m_messageAnswers.takeFirst();
}

QString FakeToolkit::text(Control textBox) const { return m_texts.value(textBox); }

void FakeToolkit::setText(Control textBox, const QString &text)
{
    record(QStringLiteral("text %1=%2").arg(controlName(textBox), text));
    m_texts[textBox] = text;
}

void FakeToolkit::setFocus(Control textBox)
{
    record(QStringLiteral("focus ") + controlName(textBox));
    m_focus = controlName(textBox);
}

QString FakeToolkit::selectedEntry(Control) const
{
    return m_comboIndex >= 0 ? kWireUnitEntries.at(m_comboIndex) : QString();
}

void FakeToolkit::selectEntry(Control dropDown, int index)
{
    record(QStringLiteral("select %1#%2").arg(controlName(dropDown)).arg(index));
    m_comboIndex = index;
}

int FakeToolkit::selectedIndex(Control) const { return m_comboIndex; }

void FakeToolkit::setCaption(Control label, const QString &caption)
{
    record(QStringLiteral("caption %1=%2").arg(controlName(label), caption));
    m_captions[label] = caption;
}

bool FakeToolkit::isSelected(Control option) const { return m_selectedOptions.contains(option); }

void FakeToolkit::press(Control button)
{
    record(QStringLiteral("press ") + controlName(button));
    const auto handler = m_handlers.find(button);
    if (handler != m_handlers.end()) {
        handler->second();
    }
}

void FakeToolkit::setVisible(Control button, bool visible)
{
    record(QStringLiteral("%1 %2").arg(visible ? u"show" : u"hide", controlName(button)));
    if (visible) {
        m_hidden.remove(button);
    } else {
        m_hidden.insert(button);
    }
}

void FakeToolkit::setBackground(Control control, ColourNumber colour)
{
    record(QStringLiteral("background %1=%2").arg(controlName(control)).arg(colour, 0, 16));
    m_backgrounds[control] = colour;
}

ColourNumber FakeToolkit::background(Control control) const
{
    return m_backgrounds.value(control, kButtonFace);
}

void FakeToolkit::setOuterWidth(int twips)
{
    record(QStringLiteral("width %1").arg(twips));
    m_outerWidth = twips;
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
    m_unloaded = true;
}

std::optional<QString> FakeToolkit::saveAs(const QString &filter)
{
    record(QStringLiteral("saveas ") + filter);
    return m_saveAsAnswers.isEmpty() ? std::nullopt : m_saveAsAnswers.takeFirst();
}

void FakeToolkit::onPress(Control button, std::function<void()> handler)
{
    m_handlers[button] = std::move(handler);
}

void FakeToolkit::type(Control textBox, const QString &text) { m_texts[textBox] = text; }

void FakeToolkit::pick(Control, int index) { m_comboIndex = index; }

void FakeToolkit::choose(Control option)
{
    for (const QList<Control> &group : kOptionGroups) {
        if (group.contains(option)) {
            for (const Control other : group) {
                m_selectedOptions.remove(other);
            }
        }
    }
    m_selectedOptions.insert(option);
}

QStringList FakeToolkit::results() const
{
    return {text(Control::txtA), text(Control::txtB), text(Control::txtC), text(Control::txtD),
            text(Control::txtE)};
}

QStringList FakeToolkit::unitLabels() const
{
    return {caption(Control::lblA), caption(Control::lblB), caption(Control::lblC),
            caption(Control::lblD), caption(Control::lblE)};
}

} // namespace moxon::test
