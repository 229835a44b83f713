#pragma once

#include "toolkit.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <map>

namespace moxon {

struct RecordedMessage
{
    QString text;
    QString title;
    MessageStyle style = MessageStyle::OkOnly;
};

// The window's controls held in memory, for running the commands without a screen: it starts
// in the window's design state, keeps what commands write, answers every message box with
// OK after keeping it, and answers Save As with a path given beforehand.
class HeadlessToolkit : public Toolkit
{
public:
    HeadlessToolkit();

    int messageBox(const QString &text, const QString &title, MessageStyle style) override;
    [[nodiscard]] QString text(Control textBox) const override;
    void setText(Control textBox, const QString &text) override;
    void setFocus(Control textBox) override;
    [[nodiscard]] QString selectedEntry(Control dropDown) const override;
    void selectEntry(Control dropDown, int index) override;
    void setCaption(Control label, const QString &caption) override;
    [[nodiscard]] bool isSelected(Control option) const override;
    void press(Control button) override;
    void setVisible(Control button, bool visible) override;
    void setBackground(Control control, ColourNumber colour) override;
    void setOuterWidth(int twips) override;
    PrintOutcome printImage() override;
    void unload() override;
    std::optional<QString> saveAs(const QString &filter) override;

    // What a press runs, as the window connects its buttons.
    void onPress(Control button, std::function<void()> handler);

    // What the user does: typing, picking a wire unit, selecting an option (which clears the
    // other options of its frame).
    void type(Control textBox, const QString &text);
    void pick(Control dropDown, int index);
    void choose(Control option);
    void setSavePath(std::optional<QString> path) { m_savePath = std::move(path); }

    [[nodiscard]] const QList<RecordedMessage> &messages() const { return m_messages; }
    [[nodiscard]] QString caption(Control label) const { return m_captions.value(label); }
    [[nodiscard]] int selectedIndex(Control dropDown) const;
    [[nodiscard]] bool isVisible(Control button) const { return !m_hidden.contains(button); }
    [[nodiscard]] ColourNumber background(Control control) const;
    [[nodiscard]] int outerWidth() const { return m_outerWidth; }
    [[nodiscard]] bool unloaded() const { return m_unloaded; }
    [[nodiscard]] QString focused() const { return m_focus; }

    // A to E as shown, and the captions of their five unit labels.
    [[nodiscard]] QList<QString> results() const;
    [[nodiscard]] QList<QString> unitLabels() const;

protected:
    void keepMessage(const QString &text, const QString &title, MessageStyle style);

private:
    QHash<Control, QString> m_texts;
    QHash<Control, QString> m_captions;
    QHash<Control, ColourNumber> m_backgrounds;
    QSet<Control> m_selectedOptions;
    QSet<Control> m_hidden;
    std::map<Control, std::function<void()>> m_handlers;
    QList<RecordedMessage> m_messages;
    std::optional<QString> m_savePath;
    QString m_focus;
    int m_comboIndex = -1;    // no entry chosen in the design
    int m_outerWidth = 10050; // twips
    bool m_unloaded = false;
};

} // namespace moxon
