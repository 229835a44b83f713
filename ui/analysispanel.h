#pragma once

#include "checkview.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace moxon {

// A page of the check window for an analysis of the antenna as built (the tolerances, the
// trim): what it asks of the user above, its start and "取消" (or Esc), the progress while
// nec2c runs, then its result as lines of text below. It shows what the session tells it and
// passes on what the user asks; the analysis itself belongs to the session.
class AnalysisPanel : public QWidget
{
    Q_OBJECT

public:
    // `name` names the panel and, after it, its widgets: "trimStart", "trimStatus", ...
    explicit AnalysisPanel(const QString &name, QWidget *parent = nullptr);

    // Whether there is a design to analyse.
    void setAvailable(bool available);
    void showStarted();
    void showProgress(const AnalysisProgress &progress);
    void showEnded(AnalysisEnd end, const QString &message);

    [[nodiscard]] bool isRunning() const { return m_running; }

Q_SIGNALS:
    void cancelRequested();

protected:
    void changeEvent(QEvent *event) override;
    // The texts anew in a new language or locale; a subclass does its own, then calls this.
    virtual void retranslate();
    // What the status line says while the analysis runs: "正在计算公差".
    [[nodiscard]] virtual QString runningText() const = 0;
    // A run starts or ends without a result: what the subclass shows of one goes.
    virtual void clearResult() {}

    // The status line and the result, made by `text`, which makes them again in a new
    // language or locale.
    void showStatus(std::function<QString()> text);
    void showResultLines(std::function<QString()> lines);
    // The result shown: the start is enabled again.
    void finish();
    // Whether the start may be pressed.
    [[nodiscard]] bool canStart() const { return m_available && !m_running; }

    QVBoxLayout *m_form = nullptr; // what the subclass asks of the user, above the buttons
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;

private:
    void updateButtons();

    bool m_available = false;
    bool m_running = false;
    QLabel *m_status = nullptr; // the panel owns its widgets
    QLabel *m_result = nullptr;
    std::function<QString()> m_statusText;
    std::function<QString()> m_resultText;
};

} // namespace moxon
