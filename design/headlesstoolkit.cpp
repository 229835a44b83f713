#include "headlesstoolkit.h"

#include <array>

namespace moxon {

namespace {

const std::array<QString, 3> kWireUnitEntries = {QStringLiteral("in"), QStringLiteral("mm"),
                                                 QStringLiteral("AWG")};

const std::array<QList<Control>, 4> kOptionGroups = {
    QList<Control>{Control::optFT, Control::optIN, Control::optM, Control::optMM},
    QList<Control>{Control::optEZNEC, Control::optNEC},
    QList<Control>{Control::optHorz, Control::optVert},
    QList<Control>{Control::optXaxis, Control::optYaxis},
};

constexpr std::array kResultBoxes = {Control::txtA, Control::txtB, Control::txtC, Control::txtD,
                                     Control::txtE};
constexpr std::array kUnitLabels = {Control::lblA, Control::lblB, Control::lblC, Control::lblD,
                                    Control::lblE};

} // namespace

HeadlessToolkit::HeadlessToolkit()
{
    m_texts[Control::txtFreq] = QStringLiteral("146");
    m_texts[Control::txtWD] = QStringLiteral("#12");
    for (const Control label : kUnitLabels) {
        m_captions[label] = QStringLiteral("in");
    }
    m_selectedOptions = {Control::optIN, Control::optEZNEC, Control::optHorz, Control::optXaxis};
}

void HeadlessToolkit::keepMessage(const QString &text, const QString &title, MessageStyle style)
{
    m_messages.append({text, title, style});
}

int HeadlessToolkit::messageBox(const QString &text, const QString &title, MessageStyle style)
{
    keepMessage(text, title, style);
    return kAnswerOk;
}

QString HeadlessToolkit::text(Control textBox) const
{
    return m_texts.value(textBox);
}

void HeadlessToolkit::setText(Control textBox, const QString &text)
{
    m_texts[textBox] = text;
}

void HeadlessToolkit::setFocus(Control textBox)
{
    m_focus = controlName(textBox);
}

QString HeadlessToolkit::selectedEntry(Control) const
{
    return m_comboIndex >= 0 && m_comboIndex < int(kWireUnitEntries.size())
               ? kWireUnitEntries.at(std::size_t(m_comboIndex))
               : QString();
}

void HeadlessToolkit::selectEntry(Control, int index)
{
    m_comboIndex = index;
}

int HeadlessToolkit::selectedIndex(Control) const
{
    return m_comboIndex;
}

void HeadlessToolkit::setCaption(Control label, const QString &caption)
{
    m_captions[label] = caption;
}

bool HeadlessToolkit::isSelected(Control option) const
{
    return m_selectedOptions.contains(option);
}

void HeadlessToolkit::press(Control button)
{
    const auto handler = m_handlers.find(button);
    if (handler != m_handlers.end()) {
        handler->second();
    }
}

void HeadlessToolkit::setVisible(Control button, bool visible)
{
    if (visible) {
        m_hidden.remove(button);
    } else {
        m_hidden.insert(button);
    }
}

void HeadlessToolkit::setBackground(Control control, ColourNumber colour)
{
    m_backgrounds[control] = colour;
}

ColourNumber HeadlessToolkit::background(Control control) const
{
    return m_backgrounds.value(control, kButtonFace);
}

void HeadlessToolkit::setOuterWidth(int twips)
{
    m_outerWidth = twips;
}

PrintOutcome HeadlessToolkit::printImage()
{
    return PrintOutcome::NoPrinter;
}

void HeadlessToolkit::unload()
{
    m_unloaded = true;
}

std::optional<QString> HeadlessToolkit::saveAs(const QString &)
{
    return m_savePath;
}

void HeadlessToolkit::onPress(Control button, std::function<void()> handler)
{
    m_handlers[button] = std::move(handler);
}

void HeadlessToolkit::type(Control textBox, const QString &text)
{
    m_texts[textBox] = text;
}

void HeadlessToolkit::pick(Control, int index)
{
    m_comboIndex = index;
}

void HeadlessToolkit::choose(Control option)
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

QList<QString> HeadlessToolkit::results() const
{
    QList<QString> texts;
    for (const Control box : kResultBoxes) {
        texts.append(text(box));
    }
    return texts;
}

QList<QString> HeadlessToolkit::unitLabels() const
{
    QList<QString> captions;
    for (const Control label : kUnitLabels) {
        captions.append(caption(label));
    }
    return captions;
}

} // namespace moxon
