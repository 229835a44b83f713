#pragma once

#include "toolkit.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>

namespace moxon::test {

struct RecordedMessage
{
    QString text;
    QString title;
    MessageStyle style = MessageStyle::OkOnly;
};

// A window without a screen. It starts in the window's design state, records every call a
// command makes in order, and answers message boxes, the Save As dialog and the printer from
// scripts set by the test. Unscripted message boxes answer OK; an unscripted Save As cancels.
class FakeToolkit : public Toolkit
{
public:
    FakeToolkit();

    int messageBox(const QString &text, const QString &title, MessageStyle style) override;
    QString text(Control textBox) const override;
    void setText(Control textBox, const QString &text) override;
    void setFocus(Control textBox) override;
    QString selectedEntry(Control dropDown) const override;
    void selectEntry(Control dropDown, int index) override;
    void setCaption(Control label, const QString &caption) override;
    bool isSelected(Control option) const override;
    void press(Control button) override;
    void setVisible(Control button, bool visible) override;
    void setBackground(Control control, ColourNumber colour) override;
    void setOuterWidth(int twips) override;
    PrintOutcome printImage() override;
    void unload() override;
    std::optional<QString> saveAs(const QString &filter) override;

    // What the window's handlers would do on a press: the test wires them up.
    void onPress(Control button, std::function<void()> handler);

    // What the user does, not logged: typing, picking, selecting an option.
    void type(Control textBox, const QString &text);
    void pick(Control dropDown, int index);
    void choose(Control option); // clears the other options of its frame

    // Scripts, consumed in order.
    void answerMessages(const QList<int> &answers) { m_messageAnswers += answers; }
    void answerSaveAs(const std::optional<QString> &path) { m_saveAsAnswers.append(path); }
    void setPrintOutcome(PrintOutcome outcome) { m_printOutcome = outcome; }

    // Every call in order, one line each, such as "msgbox 48 Invalid Entry: Frequency ...",
    // "focus txtFreq", "text txtA=29.17", "caption lblA=in", "press btnCalculate".
    [[nodiscard]] const QStringList &log() const { return m_log; }
    void clearLog() { m_log.clear(); }
    void setLogging(bool on) { m_logging = on; }
    [[nodiscard]] QList<RecordedMessage> messages() const { return m_messages; }

    [[nodiscard]] QString caption(Control label) const { return m_captions.value(label); }
    [[nodiscard]] int selectedIndex(Control dropDown) const;
    [[nodiscard]] bool isVisible(Control button) const { return !m_hidden.contains(button); }
    [[nodiscard]] ColourNumber background(Control control) const;
    [[nodiscard]] int outerWidth() const { return m_outerWidth; }
    [[nodiscard]] bool unloaded() const { return m_unloaded; }
    [[nodiscard]] QString focused() const { return m_focus; }
    [[nodiscard]] int printCount() const { return m_printCount; }

    // Results as five texts A to E, and the five unit-label captions.
    [[nodiscard]] QStringList results() const;
    [[nodiscard]] QStringList unitLabels() const;

private:
    void record(const QString &line);

    QHash<Control, QString> m_texts;
    QHash<Control, QString> m_captions;
    QHash<Control, ColourNumber> m_backgrounds;
    QSet<Control> m_selectedOptions;
    QSet<Control> m_hidden;
    int m_comboIndex = -1; // no entry chosen in the design
    std::map<Control, std::function<void()>> m_handlers;
    QList<int> m_messageAnswers;
    QList<std::optional<QString>> m_saveAsAnswers;
    QList<RecordedMessage> m_messages;
    PrintOutcome m_printOutcome = PrintOutcome::Printed;
    QStringList m_log;
    QString m_focus;
    int m_outerWidth = 10050; // twips
    int m_printCount = 0;
    bool m_unloaded = false;
    bool m_logging = true;
};

// Shorthand for a message line as the fake logs it.
[[nodiscard]] QString messageLine(MessageStyle style, const QString &title, const QString &text);

} // namespace moxon::test
