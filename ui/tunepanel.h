#pragma once

#include "checkview.h"

#include <QWidget>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace moxon {

// Tuning in the check window: the goal, "调谐" to start and "取消" (or Esc) to stop, the
// progress while nec2c runs, then the formula's and the tuned dimensions side by side with
// each change and the figures before and after, and "导出调谐模型…". It shows what the
// session tells it and passes on what the user asks; the tuning itself belongs to the session.
class TunePanel : public QWidget
{
    Q_OBJECT

public:
    explicit TunePanel(QWidget *parent = nullptr);

    // Whether there is a design to tune.
    void setTunable(bool tunable);
    void showStarted();
    void showProgress(const TuneProgress &progress);
    void showResult(const TuneResult &result, const TuneSetup &setup);
    void showEnded(AnalysisEnd end, const QString &message);

    [[nodiscard]] bool isTuning() const { return m_tuning; }
    // The formula's and the tuned dimensions with each change, and the figures before and
    // after: a view the window places; shown while there is a result.
    [[nodiscard]] QLabel *resultView() const { return m_dimensions; }

Q_SIGNALS:
    void startRequested(moxon::TuneGoal goal);
    void cancelRequested();
    void exportRequested();

protected:
    // The texts anew in a new language or locale.
    void changeEvent(QEvent *event) override;

private:
    void updateButtons();
    void retranslate();
    // A status line made by `text`, which makes it again in a new language.
    void showStatus(std::function<QString()> text);
    [[nodiscard]] QString resultLines(const TuneResult &r, const TuneSetup &setup) const;

    bool m_tunable = false;
    bool m_tuning = false;
    bool m_haveResult = false;

    QComboBox *m_goal = nullptr; // the panel owns its widgets
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_export = nullptr;
    QLabel *m_goalCaption = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_dimensions = nullptr;
    // What the status and the dimensions show, in the language and locale in force.
    std::function<QString()> m_statusText;
    std::function<QString()> m_dimensionsText;
};

} // namespace moxon
