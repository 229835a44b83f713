#pragma once

#include "checkreport.h"
#include "checkrunner.h"
#include "designcheck.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QCloseEvent;
class QLabel;

namespace moxon {

class InstallationPanel;
class TunePanel;
class PatternChart;
class SwrChart;

// The design check: a window of its own, beside the main window, that shows what nec2c makes
// of the design as exported: feed-point impedance, SWR, gain, front-to-back, bandwidth and
// beamwidth, the SWR curve and the two pattern cuts. check() runs in the background and
// supersedes the check in flight; the window says that it is calculating meanwhile and shows
// a failure as a sentence of its own, never in a message box. Its context menu saves the
// figures and plots as PNG and exports the numbers as CSV.
class DesignCheckWindow : public QWidget, public DesignCheck
{
    Q_OBJECT

public:
    explicit DesignCheckWindow(QWidget *parent = nullptr, CheckOptions options = {});

    // Checks `request`; its header names the design (frequency, wire size and unit,
    // polarization, axis) so that a screenshot explains itself.
    void check(const CheckRequest &request) override;
    [[nodiscard]] QWidget *window() override { return this; }
    [[nodiscard]] Installation installation() const override;
    void onInstallationChanged(std::function<void()> changed) override;
    void setTuning(std::optional<TuneSetup> setup,
                   std::function<void(const TuneDimensions &)> exportTuned) override;

    [[nodiscard]] bool isCalculating() const { return m_runner.isRunning(); }
    // What "保存图像…" and "导出数据…" write.
    [[nodiscard]] QImage image();
    [[nodiscard]] QByteArray csv() const;

protected:
    void changeEvent(QEvent *event) override;
    // Nothing runs while the window is closed: a check in flight is ended.
    void closeEvent(QCloseEvent *event) override;

private:
    // Runs the check of `request`: the design's own, or the tuned design's.
    void runCheck(const CheckRequest &request);
    void showTuned(const TuneResult &result);
    void showFigures(quint64 sequence, const DesignFigures &figures);
    void showSweep(quint64 sequence, const QList<SweepPoint> &sweep);
    void showBandwidth(quint64 sequence, const QList<SweepPoint> &sweep,
                       const Bandwidth &bandwidth);
    void showFailure(quint64 sequence, EngineFailure failure, const QString &message);
    void showValues();
    void saveImage();
    void exportData();
    [[nodiscard]] QString askFile(const QString &caption, const QString &suffix,
                                  const QString &filter);

    CheckRunner m_runner;
    CheckRequest m_request;
    std::optional<DesignFigures> m_figures; // of the current check, once they came
    QList<SweepPoint> m_sweep;
    std::optional<Bandwidth> m_bandwidth;
    QString m_lastFolder; // where the last file was saved

    QLabel *m_header = nullptr; // the window owns its widgets
    QLabel *m_status = nullptr;
    QLabel *m_caution = nullptr; // the model is outside the engine's accuracy guideline
    InstallationPanel *m_installation = nullptr;
    std::function<void()> m_installationChanged;
    TunePanel *m_tune = nullptr;
    std::optional<TuneSetup> m_tuneSetup;
    QLabel *m_impedance = nullptr;
    QLabel *m_swr = nullptr;
    QLabel *m_gain = nullptr;
    QLabel *m_frontToBack = nullptr;
    QLabel *m_bandwidthValue = nullptr;
    QLabel *m_beamwidth = nullptr;
    QLabel *m_takeoff = nullptr; // over ground only, with its caption
    QLabel *m_takeoffCaption = nullptr;
    SwrChart *m_swrChart = nullptr;
    PatternChart *m_azimuth = nullptr;
    PatternChart *m_elevation = nullptr;
};

} // namespace moxon
