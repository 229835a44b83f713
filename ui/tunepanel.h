#pragma once

#include "tuner.h"

#include <QPointer>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QThread;

namespace moxon {

// Tuning in the check window: the goal, "调谐" to start and "取消" (or Esc) to stop, the
// progress while nec2c runs, then the formula's and the tuned dimensions side by side with
// each change and the figures before and after, and "导出调谐模型…". The tuning runs on a
// thread of its own, so that both windows keep answering; a new design or installation
// (reset()) ends it.
class TunePanel : public QWidget
{
    Q_OBJECT

public:
    explicit TunePanel(QWidget *parent = nullptr);
    ~TunePanel() override;

    TunePanel(const TunePanel &) = delete;
    TunePanel &operator=(const TunePanel &) = delete;

    // The design to tune, and how its tuned model is exported; nothing to tune without one.
    void setSetup(std::optional<TuneSetup> setup,
                  std::function<void(const TuneDimensions &)> exportTuned);
    // Ends a tuning in flight and forgets the last result.
    void reset();
    void cancel();

    [[nodiscard]] bool isTuning() const { return m_thread != nullptr; }
    [[nodiscard]] const std::optional<TuneResult> &result() const { return m_result; }

Q_SIGNALS:
    // A tuning ended with a design to show: the window checks it.
    void tuned(const moxon::TuneResult &result);

private:
    void start();
    void progress(quint64 id, const moxon::TuneProgress &progress);
    void finished(quint64 id, const moxon::TuneResult &result);
    void showResult();
    void endThread();
    void updateButtons();

    std::optional<TuneSetup> m_setup;
    std::function<void(const TuneDimensions &)> m_exportTuned;
    std::optional<TuneResult> m_result;
    quint64 m_id = 0; // of the tuning whose reports count
    QThread *m_thread = nullptr;
    std::shared_ptr<std::atomic<bool>> m_cancel;

    QComboBox *m_goal = nullptr; // the panel owns its widgets
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_export = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_dimensions = nullptr;
};

} // namespace moxon
