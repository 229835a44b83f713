#pragma once

#include "checkview.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QBoxLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;

namespace moxon {

// What the check window shows of an analysis the user starts (a tuning, the tolerances, the
// trim): what it asks of the user, its start and "取消" (or Esc), the progress while nec2c
// runs, then its result as lines of text. It shows what the session tells it and passes on
// what the user asks; the analysis itself belongs to the session.
class AnalysisPanel : public QWidget
{
    Q_OBJECT

public:
    // Whether there is a design to analyse.
    void setAvailable(bool available);
    void showStarted();
    void showProgress(const AnalysisProgress &progress);
    void showEnded(AnalysisEnd end, const QString &message);

    [[nodiscard]] bool isRunning() const { return m_running; }
    // The result's lines; in a row, a view the window places, shown while there is a result.
    [[nodiscard]] QLabel *resultView() const { return m_result; }

Q_SIGNALS:
    void cancelRequested();

protected:
    // Where a panel sits: a page of its own, the result under its buttons and its Esc active
    // while the focus is in it; or a row of the window, what it asks, its buttons and its
    // status side by side, its Esc active anywhere in the window.
    enum class Placement
    {
        Page,
        Row,
    };

    // `name` names the panel and, after it, its widgets: "trimStart", "trimStatus", ...
    AnalysisPanel(const QString &name, Placement placement, QWidget *parent);

    void changeEvent(QEvent *event) override;
    // The texts anew in a new language or locale; a subclass does its own, then calls this.
    virtual void retranslate();
    // What the status line says while the analysis runs: "正在计算公差".
    [[nodiscard]] virtual QString runningText() const = 0;
    // What it says once the user cancelled it.
    [[nodiscard]] virtual QString cancelledText() const;
    // A run starts or ends without a result: what the subclass shows of one goes.
    virtual void clearResult() {}
    // Which buttons may be pressed; a subclass with buttons of its own sets them, then calls this.
    virtual void updateButtons();

    // A button of the subclass's own, after the start and "取消".
    void addButton(QPushButton *button);
    // The status line made by `text`, which makes it again in a new language or locale.
    void showStatus(std::function<QString()> text);
    // The result: its status line, made by `done` from what the engine's runs took ("公差已算完
    // （nec2c 运行 12 次，3.4 秒）。"), and its lines, each made again in a new language or
    // locale; the start may be pressed again.
    void showFinished(std::function<QString(const QString &runs)> done, int engineRuns,
                      double seconds, std::function<QString()> lines);
    [[nodiscard]] bool canStart() const { return m_available && !m_running; }
    [[nodiscard]] bool hasResult() const { return bool(m_resultText); }

    QBoxLayout *m_form = nullptr; // what the subclass asks of the user, before the buttons
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;

private:
    void showResultLines(std::function<QString()> lines);
    // On a page that scrolls, the status line and the result under it scrolled into view once
    // they come: a long run's result is what the user waited for, and may lie below the fold.
    void bringResultIntoView();
    // The buttons for a run that ended, the keyboard back on the button that started it.
    void updateButtonsAfterRun();

    const Placement m_placement;
    bool m_available = false;
    bool m_running = false;
    QHBoxLayout *m_buttons = nullptr; // the panel owns its widgets
    QLabel *m_status = nullptr;
    QLabel *m_result = nullptr;
    QPointer<QPushButton> m_pressed; // started the run in flight, with the keyboard on it
    std::function<QString()> m_statusText;
    std::function<QString()> m_resultText;
};

} // namespace moxon
