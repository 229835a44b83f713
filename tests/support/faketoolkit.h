#pragma once

#include "headlesstoolkit.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace moxon::test {

using moxon::RecordedMessage;

// A window without a screen that records every call a command makes, in order, and answers
// message boxes, the Save As dialog and the printer from scripts set by the test. Unscripted
// message boxes answer OK; an unscripted Save As cancels.
class FakeToolkit : public HeadlessToolkit
{
public:
    int messageBox(const QString &text, const QString &title, MessageStyle style) override;
    void setText(Control textBox, const QString &text) override;
    void setFocus(Control textBox) override;
    void selectEntry(Control dropDown, int index) override;
    void setCaption(Control label, const QString &caption) override;
    void press(Control button) override;
    void setVisible(Control button, bool visible) override;
    void setBackground(Control control, ColourNumber colour) override;
    void setOuterWidth(int twips) override;
    PrintOutcome printImage() override;
    void unload() override;
    std::optional<QString> saveAs(const QString &filter) override;

    // Scripts, consumed in order.
    void answerMessages(const QList<int> &answers) { m_messageAnswers += answers; }
    void answerSaveAs(const std::optional<QString> &path) { m_saveAsAnswers.append(path); }
    void setPrintOutcome(PrintOutcome outcome) { m_printOutcome = outcome; }

    // Every call in order, one line each, such as "msgbox 48 Invalid Entry: Frequency ...",
    // "focus txtFreq", "text txtA=29.17", "caption lblA=in", "press btnCalculate".
    [[nodiscard]] const QStringList &log() const { return m_log; }
    void clearLog() { m_log.clear(); }
    void setLogging(bool on) { m_logging = on; }
    [[nodiscard]] int printCount() const { return m_printCount; }

private:
    void record(const QString &line);

    QList<int> m_messageAnswers;
    QList<std::optional<QString>> m_saveAsAnswers;
    PrintOutcome m_printOutcome = PrintOutcome::Printed;
    QStringList m_log;
    int m_printCount = 0;
    bool m_logging = true;
};

// Shorthand for a message line as the fake logs it.
[[nodiscard]] QString messageLine(MessageStyle style, const QString &title, const QString &text);

} // namespace moxon::test
