#pragma once

#include "analysispanel.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace moxon {

// Tuning in the check window, a row under its header: the goal, "调谐" to start and "取消" (or
// Esc anywhere in the window) to stop, "导出调谐模型…", and the progress while nec2c runs;
// then the formula's and the tuned dimensions side by side with each change and the figures
// before and after, in the result view the window places.
class TunePanel : public AnalysisPanel
{
    Q_OBJECT

public:
    explicit TunePanel(QWidget *parent = nullptr);

    void showProgress(const TuneProgress &progress);
    void showResult(const TuneResult &result, const TuneSetup &setup);

Q_SIGNALS:
    void startRequested(moxon::TuneGoal goal);
    void exportRequested();

protected:
    void retranslate() override;
    [[nodiscard]] QString runningText() const override;
    [[nodiscard]] QString cancelledText() const override;
    void updateButtons() override;

private:
    [[nodiscard]] QString resultLines(const TuneResult &r, const TuneSetup &setup) const;

    QComboBox *m_goal = nullptr; // the panel owns its widgets
    QPushButton *m_export = nullptr;
    QLabel *m_goalCaption = nullptr;
};

} // namespace moxon
