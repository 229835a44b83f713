#pragma once

#include "checkmodule.h"
#include "checkreport.h"
#include "checkrunner.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QCloseEvent;
class QLabel;
class QTabWidget;

namespace moxon {

class AnalysisPanel;
class InstallationPanel;
class TolerancePanel;
class TrimPanel;
class TunePanel;
class PatternChart;
class SwrChart;

// The design check: a window of its own, beside the main window, that shows what nec2c makes
// of the design as exported: feed-point impedance, SWR, gain, front-to-back, bandwidth and
// beamwidth, the SWR curve and the two pattern cuts, where the antenna hangs, and its tuning.
// check() runs in the background and supersedes the check in flight; the window says that it
// is calculating meanwhile and shows a failure as a sentence of its own, never in a message
// box. What the user changes or asks for (the installation, a tuning, the tuned export) goes
// to the session through CheckCommands. Its context menu saves the figures and plots as PNG
// and exports the numbers as CSV.
class CheckWindow : public QWidget, public CheckModule
{
    Q_OBJECT

public:
    // Every engine run goes through the scheduler of `commands`, which must outlive the window.
    explicit CheckWindow(CheckCommands &commands, QWidget *parent = nullptr);

    // CheckView. A request's header names the design (frequency, wire size and unit,
    // polarization, axis) so that a screenshot explains itself.
    [[nodiscard]] bool isCheckShown() const override { return isVisible(); }
    void showInstallation(const Installation &installation, const LengthScale &scale) override;
    void check(const CheckRequest &request, CheckedDesign design) override;
    void showTuningStarted() override;
    void showTuningProgress(const TuneProgress &progress) override;
    void showTuningResult(const TuneResult &result, const TuneSetup &setup) override;
    void showTuningEnded(AnalysisEnd end, const QString &message) override;
    void showAnalysisStarted(BuildAnalysis analysis) override;
    void showAnalysisProgress(BuildAnalysis analysis, const AnalysisProgress &progress) override;
    void showMeasurement(const Measurement &measurement) override;
    void showTolerances(const ToleranceResult &result, const TuneSetup &setup) override;
    void showTrim(const TrimResult &result, const TuneSetup &setup) override;
    void showAnalysisEnded(BuildAnalysis analysis, AnalysisEnd end,
                           const QString &message) override;

    [[nodiscard]] QWidget *window() override { return this; }

    [[nodiscard]] bool isCalculating() const { return m_runner.isRunning(); }
    // What "保存图像…" and "导出数据…" write.
    [[nodiscard]] QImage image();
    [[nodiscard]] QByteArray csv() const;

protected:
    // A new locale shows the figures anew; a new language every text.
    void changeEvent(QEvent *event) override;
    // Nothing runs while the window is closed: a check in flight is ended.
    void closeEvent(QCloseEvent *event) override;

private:
    void showFigures(quint64 sequence, const DesignFigures &figures);
    void showSweep(quint64 sequence, const QList<SweepPoint> &sweep);
    void showBandwidth(quint64 sequence, const SweepOutcome &sweep);
    void showFailure(quint64 sequence, EngineFailure failure, const QString &message);
    void showValues();
    void retranslate();
    [[nodiscard]] QString title() const;
    [[nodiscard]] QString azimuthTitle() const;
    [[nodiscard]] AnalysisPanel *panel(BuildAnalysis analysis) const;
    // A status line made by `text`, which makes it again in a new language.
    void showStatus(std::function<QString()> text);
    void saveImage();
    void exportData();
    [[nodiscard]] QString askFile(const QString &caption, const QString &suffix,
                                  const QString &filter);

    CheckCommands &m_commands;
    CheckRunner m_runner;
    CheckRequest m_request;
    CheckedDesign m_design = CheckedDesign::Formula; // of m_request
    std::optional<DesignFigures> m_figures;          // of the current check, once they came
    QList<SweepPoint> m_sweep;
    std::optional<Bandwidth> m_bandwidth;
    QString m_lastFolder; // where the last file was saved

    QLabel *m_header = nullptr; // the window owns its widgets
    QLabel *m_status = nullptr;
    std::function<QString()> m_statusText; // what m_status shows, in the language in force
    QLabel *m_caution = nullptr;           // the model is outside the engine's accuracy guideline
    InstallationPanel *m_installation = nullptr;
    TunePanel *m_tune = nullptr;
    TolerancePanel *m_tolerances = nullptr;
    TrimPanel *m_trim = nullptr;
    QTabWidget *m_tabs = nullptr; // the figures, a tuning's result, the tolerances, the trim
    QLabel *m_impedance = nullptr;
    QLabel *m_swr = nullptr;
    QLabel *m_gain = nullptr;
    QLabel *m_frontToBack = nullptr;
    QLabel *m_bandwidthValue = nullptr;
    QLabel *m_beamwidth = nullptr;
    QLabel *m_takeoff = nullptr; // over ground only, with its caption
    QLabel *m_takeoffCaption = nullptr;
    std::vector<std::pair<QLabel *, const char *>> m_captions; // with their source texts
    QAction *m_saveImageAction = nullptr;
    QAction *m_exportAction = nullptr;
    SwrChart *m_swrChart = nullptr;
    PatternChart *m_azimuth = nullptr;
    PatternChart *m_elevation = nullptr;
};

} // namespace moxon
