#pragma once

#include "checkmodule.h"
#include "checkreport.h"
#include "radiofigures.h"
#include "savelocation.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QAction;
class QCloseEvent;
class QLabel;
class QStackedWidget;
class QTabWidget;

namespace moxon {

class AnalysisPanel;
class FigureTable;
class InstallationPanel;
class TolerancePanel;
class TrimPanel;
class TunePanel;
class PatternChart;
class SmithChart;
class SwrChart;

// The design check: a window of its own, beside the main window, that shows what nec2c makes
// of the design as exported: feed-point impedance, SWR, gain, front-to-back, bandwidth and
// beamwidth, the SWR curve and the Smith chart, the two pattern cuts, where the antenna hangs
// and what the radio sees through its feed line, its tuning, the tolerances of its cuts and
// its trim. The session runs every analysis and tells the window
// through CheckView; while the check runs the window says that it is calculating, and it shows
// a failure as a sentence of its own, never in a message box. What the user changes or asks
// for (the installation, an analysis, the tuned export) goes to the session through
// CheckCommands. Its context menu saves the figures and plots as PNG and exports the numbers
// as CSV.
class CheckWindow : public QWidget, public CheckModule
{
    Q_OBJECT

public:
    // `commands` must outlive the window.
    explicit CheckWindow(CheckCommands &commands, QWidget *parent = nullptr);

    // CheckView. A request's header names the design (frequency, wire size and unit,
    // polarization, axis) so that a screenshot explains itself.
    [[nodiscard]] bool isCheckShown() const override { return isVisible(); }
    void showInstallation(const Installation &installation, const LengthScale &scale) override;
    void showCheckedDesign(const CheckRequest &request, CheckedDesign design) override;
    void showAnalysisStarted(AnalysisKind kind) override;
    void showAnalysisProgress(const CheckProgress &progress) override;
    void showAnalysisProgress(const TuneProgress &progress) override;
    void showAnalysisProgress(AnalysisKind kind, const AnalysisProgress &progress) override;
    void showMeasurement(const Measurement &measurement) override;
    void showAnalysisResult(const SweepOutcome &sweep) override;
    void showAnalysisResult(const TuneResult &result, const TuneSetup &setup) override;
    void showAnalysisResult(const ToleranceResult &result, const TuneSetup &setup) override;
    void showAnalysisResult(const TrimResult &result, const TuneSetup &setup) override;
    void showAnalysisResult(const DiagnosisResult &result, const TuneSetup &setup) override;
    void showAnalysisEnded(AnalysisKind kind, AnalysisEnd end, const QString &message) override;

    [[nodiscard]] QWidget *window() override { return this; }

    // Whether the check runs, as the session last told.
    [[nodiscard]] bool isCalculating() const { return m_checking; }
    // What "保存图像…" and "导出数据…" write.
    [[nodiscard]] QImage image();
    [[nodiscard]] QByteArray csv() const;

protected:
    // A new locale shows the figures anew; a new language every text.
    void changeEvent(QEvent *event) override;
    // Nothing runs while the window is closed: a check in flight is ended.
    void closeEvent(QCloseEvent *event) override;

private:
    // The parts of the window, each made with its connections to the session.
    void makeAnalysisPanels();
    void makeCharts();
    void makeMenu();
    // The menu's commands enabled for what the check has so far, and named anew.
    void updateMenu();
    void retranslateMenu();
    void layOut();

    void showFigures(const DesignFigures &figures);
    void showSweep(const QList<SweepPoint> &sweep);
    // What the radio sees through the installation's feed line, worked out anew from the
    // figures and the curve the check has so far, in the table and both charts.
    void showRadio();
    // The model's curve as drawn: the fit's dense curve, else the sweep's points.
    [[nodiscard]] QList<SweepPoint> shownCurve() const;
    // The measurement and the trim's prediction leave both charts.
    void clearTrimCurves();
    // What the Smith chart's tab says while the pointer is not over the chart.
    [[nodiscard]] static QString smithHint();
    void showCheckEnded(AnalysisEnd end, const QString &message);
    // Tells the figures, the title and the menu what the check has so far.
    void showValues();
    void retranslate();
    [[nodiscard]] QString title() const;
    [[nodiscard]] QString azimuthTitle() const;
    [[nodiscard]] AnalysisPanel *panel(AnalysisKind kind) const;
    // The check's status line made by `text`, which makes it again in a new language.
    void showStatus(std::function<QString()> text);
    // The name the context menu offers for its files: "moxon-check-146MHz".
    [[nodiscard]] QString fileStem() const;
    void saveImage();
    void exportData();
    // The build sheet of the shown design with what the window computed of it: printed on the
    // default printer, or saved as PDF.
    [[nodiscard]] SheetPredictions sheetPredictions() const;
    void printBuildSheet();
    void saveBuildSheet();

    CheckCommands &m_commands;
    CheckRequest m_request;
    CheckedDesign m_design = CheckedDesign::Formula; // of m_request
    bool m_checking = false;
    std::optional<DesignFigures> m_figures; // of the current check, once they came
    QList<SweepPoint> m_sweep;
    std::optional<ToleranceResult> m_toleranceResult; // the last computed, of the design it names
    QList<SweepPoint> m_curve; // the fit's dense curve; empty without one
    std::optional<Bandwidth> m_bandwidth;
    Installation m_installation;         // in force, as the session last showed it
    std::optional<RadioFigures> m_radio; // through its feed line, once the figures came
    SaveLocation m_saveLocation;         // where the context menu's files go

    QLabel *m_header = nullptr; // the window owns its widgets
    QLabel *m_status = nullptr;
    std::function<QString()> m_statusText; // what m_status shows, in the language in force
    QLabel *m_caution = nullptr;           // the model is outside the engine's accuracy guideline
    InstallationPanel *m_installationPanel = nullptr;
    TunePanel *m_tune = nullptr;
    TolerancePanel *m_tolerances = nullptr;
    TrimPanel *m_trim = nullptr;
    QTabWidget *m_tabs = nullptr; // the figures, a tuning's result, the tolerances, the trim,
                                  // the Smith chart
    FigureTable *m_figureTable = nullptr;
    QAction *m_saveImageAction = nullptr;
    QAction *m_exportAction = nullptr;
    QAction *m_printSheetAction = nullptr;
    QAction *m_saveSheetAction = nullptr;
    SwrChart *m_swrChart = nullptr;
    SmithChart *m_smithChart = nullptr;
    QStackedWidget *m_charts = nullptr; // the SWR chart, or the Smith chart with its tab open
    QLabel *m_smithReadout = nullptr;   // what lies under the pointer in the Smith chart
    PatternChart *m_azimuth = nullptr;
    PatternChart *m_elevation = nullptr;
};

} // namespace moxon
