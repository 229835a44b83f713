#include "checkwindow.h"

#include "checkcsv.h"
#include "checkexport.h"
#include "checkfigureformat.h"
#include "figuretable.h"
#include "installationpanel.h"
#include "localenumbers.h"
#include "pagearea.h"
#include "patternchart.h"
#include "smithchart.h"
#include "swrchart.h"
#include "tolerancepanel.h"
#include "trimpanel.h"
#include "tunepanel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace moxon {

namespace {

// The figures' tabs.
constexpr int kFiguresTab = 0;
constexpr int kTuningTab = 1;
constexpr int kToleranceTab = 2;
constexpr int kTrimTab = 3;
constexpr int kSmithTab = 4;

QLabel *lineLabel(const QString &objectName, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setWordWrap(true);
    return label;
}

} // namespace

CheckWindow::CheckWindow(CheckCommands &commands, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_commands(commands)
{
    setObjectName(QStringLiteral("CheckWindow"));
    m_header = lineLabel(QStringLiteral("header"), this);
    QFont headerFont = m_header->font();
    headerFont.setBold(true);
    m_header->setFont(headerFont);
    m_status = lineLabel(QStringLiteral("status"), this);
    m_caution = lineLabel(QStringLiteral("caution"), this);
    m_caution->hide();
    m_installationPanel = new InstallationPanel(this);
    connect(m_installationPanel, &InstallationPanel::edited, this,
            [this](const Installation &installation) { m_commands.setInstallation(installation); });

    m_figureTable = new FigureTable(this);
    makeAnalysisPanels();
    makeCharts();
    layOut();
    makeMenu();
    retranslate();
    resize(960, 720);
}

void CheckWindow::makeAnalysisPanels()
{
    m_tune = new TunePanel(this);
    connect(m_tune, &TunePanel::startRequested, this,
            [this](TuneGoal goal) { m_commands.startTuning(goal); });
    connect(m_tune, &TunePanel::exportRequested, this, [this] { m_commands.exportTunedModel(); });
    m_tolerances = new TolerancePanel(this);
    connect(m_tolerances, &TolerancePanel::startRequested, this,
            [this](std::optional<double> cutError) { m_commands.startTolerances(cutError); });
    m_trim = new TrimPanel(this);
    connect(m_trim, &TrimPanel::trimRequested, this,
            [this](const MeasuredAntenna &measured) { m_commands.startTrim(measured); });
    connect(m_trim, &TrimPanel::diagnosisRequested, this,
            [this](const MeasuredAntenna &measured) { m_commands.startDiagnosis(measured); });
    for (const AnalysisKind kind :
         {AnalysisKind::Tuning, AnalysisKind::Tolerances, AnalysisKind::Trim}) {
        connect(panel(kind), &AnalysisPanel::cancelRequested, this,
                [this, kind] { m_commands.cancelAnalysis(kind); });
    }
    // The trim's page shows the diagnosis too; only one of them runs at a time.
    connect(m_trim, &AnalysisPanel::cancelRequested, this,
            [this] { m_commands.cancelAnalysis(AnalysisKind::Diagnosis); });
}

void CheckWindow::layOut()
{
    // The figures, a tuning's result, the tolerances, the trim and the Smith chart's readout
    // beside the charts in tabs, so that nothing is stacked above the charts and pushes them
    // out of the window.
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("figureTabs"));
    // Every tab's name in view: the column is as wide as the bar.
    m_tabs->setUsesScrollButtons(false);
    for (QWidget *page :
         {static_cast<QWidget *>(m_figureTable), static_cast<QWidget *>(m_tune->resultView()),
          static_cast<QWidget *>(m_tolerances), static_cast<QWidget *>(m_trim)}) {
        m_tabs->addTab(new PageArea(page, this), QString());
    }
    m_tabs->addTab(new PageArea(m_smithReadout, this), QString());
    m_tabs->setTabEnabled(kTuningTab, false);
    // The Smith chart takes the SWR chart's place while its tab is open: it needs the room,
    // and a tab bar of its own would cost the window its smallest size.
    m_charts = new QStackedWidget(this);
    m_charts->addWidget(m_swrChart);
    m_charts->addWidget(m_smithChart);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        m_charts->setCurrentWidget(index == kSmithTab ? static_cast<QWidget *>(m_smithChart)
                                                      : static_cast<QWidget *>(m_swrChart));
    });
    auto *top = new QHBoxLayout;
    top->addWidget(m_tabs);
    top->addWidget(m_charts, 1);
    auto *patterns = new QHBoxLayout;
    patterns->addWidget(m_azimuth);
    patterns->addWidget(m_elevation);
    auto *outer = new QVBoxLayout(this);
    outer->setSpacing(4); // usable down to 640 x 480
    outer->setContentsMargins(6, 6, 6, 6);
    outer->addWidget(m_header);
    outer->addWidget(m_installationPanel);
    outer->addWidget(m_tune);
    outer->addWidget(m_status);
    outer->addWidget(m_caution);
    outer->addLayout(top, 1);
    outer->addLayout(patterns, 1);
}

void CheckWindow::showCheckedDesign(const CheckRequest &request, CheckedDesign design)
{
    if (design == CheckedDesign::Tuned) {
        // The formula design's curves stay behind the tuned design's, faint.
        m_swrChart->keepAsReference();
        m_azimuth->keepAsReference();
        m_elevation->keepAsReference();
    } else {
        m_swrChart->clearReference();
        m_azimuth->clearReference();
        m_elevation->clearReference();
    }
    for (AnalysisPanel *analysis : {panel(AnalysisKind::Tuning), panel(AnalysisKind::Tolerances),
                                    panel(AnalysisKind::Trim)}) {
        analysis->setAvailable(request.refusal.isEmpty());
    }
    m_trim->setDesignFrequency(request.frequencyMhz);
    m_swrChart->setSweepMode(request.sweep);
    m_request = request;
    m_design = design;
    if (design == CheckedDesign::Tuned) {
        m_request.header += tr("（调谐后）");
    }
    m_figures.reset();
    m_sweep.clear();
    m_curve.clear();
    m_bandwidth.reset();
    m_smithChart->setDesign(request.frequencyMhz);
    m_header->setText(m_request.header);
    m_caution->setText(request.caution);
    m_caution->setVisible(!request.caution.isEmpty());
    m_figureTable->setOverGround(request.installation.overGround());
    m_figureTable->setInsulated(request.installation.insulation.has_value());
    m_swrChart->setDesign(request.frequencyMhz);
    m_azimuth->clearPattern();
    m_elevation->clearPattern();
    showRadio();
    showValues();
}

void CheckWindow::showInstallation(const Installation &installation, const LengthScale &scale)
{
    m_installationPanel->showInstallation(installation, scale);
    m_tolerances->setScale(scale);
    m_installation = installation;
    m_trim->setFeedLine(installation.feedLine.has_value());
    showRadio();
    showValues();
}

AnalysisPanel *CheckWindow::panel(AnalysisKind kind) const
{
    // The check has the window itself.
    return kind == AnalysisKind::Tuning       ? static_cast<AnalysisPanel *>(m_tune)
           : kind == AnalysisKind::Tolerances ? static_cast<AnalysisPanel *>(m_tolerances)
                                              : m_trim;
}

void CheckWindow::showAnalysisStarted(AnalysisKind kind)
{
    if (kind == AnalysisKind::Check) {
        m_checking = true;
        showStatus([] { return tr("正在用 nec2c 计算…"); });
        showValues();
        return;
    }
    if (kind == AnalysisKind::Trim || kind == AnalysisKind::Diagnosis) {
        clearTrimCurves();
        m_trim->setDiagnosing(kind == AnalysisKind::Diagnosis);
    }
    // The tuning's page opens with its result.
    if (kind != AnalysisKind::Tuning) {
        m_tabs->setCurrentIndex(kind == AnalysisKind::Tolerances ? kToleranceTab : kTrimTab);
    }
    panel(kind)->showStarted();
}

void CheckWindow::showAnalysisProgress(const CheckProgress &progress)
{
    if (const auto *figures = std::get_if<DesignFigures>(&progress)) {
        showFigures(*figures);
    } else {
        showSweep(std::get<QList<SweepPoint>>(progress));
    }
}

void CheckWindow::showAnalysisProgress(const TuneProgress &progress)
{
    m_tune->showProgress(progress);
}

void CheckWindow::showAnalysisProgress(AnalysisKind kind, const AnalysisProgress &progress)
{
    panel(kind)->showProgress(progress);
}

void CheckWindow::showAnalysisResult(const TuneResult &result, const TuneSetup &setup)
{
    m_tune->showResult(result, setup);
    m_tabs->setTabEnabled(kTuningTab, true);
    m_tabs->setCurrentIndex(kTuningTab);
}

void CheckWindow::showAnalysisResult(const ToleranceResult &result, const TuneSetup &setup)
{
    m_tolerances->showResult(result, setup);
    m_toleranceResult = result;
    m_tabs->setCurrentIndex(kToleranceTab);
}

void CheckWindow::showAnalysisResult(const TrimResult &result, const TuneSetup &setup)
{
    m_trim->showResult(result, setup);
    const QList<SweepPoint> &predicted =
        result.fieldTrim ? result.fieldTrim->antenna.curve : result.rebuild.curve;
    m_swrChart->setPredicted(predicted);
    m_smithChart->setCurve(SmithTrace::Predicted, predicted);
    m_tabs->setCurrentIndex(kTrimTab);
}

void CheckWindow::showAnalysisResult(const DiagnosisResult &result, const TuneSetup &setup)
{
    m_trim->showDiagnosis(result, setup);
    // Both curves are where the file was measured: at the radio, through the line, or at the
    // feed point. The SWR chart's range takes the measured dip and the target.
    const QList<SweepPoint> &measured = result.measuredCurve;
    const auto dip =
        std::min_element(measured.cbegin(), measured.cend(),
                         [](const SweepPoint &a, const SweepPoint &b) { return a.swr < b.swr; });
    m_swrChart->setMeasured(measured, dip == measured.cend() ? result.targetMhz : dip->frequencyMhz,
                            result.targetMhz);
    m_swrChart->setFitted(result.fittedCurve);
    m_smithChart->setCurve(result.measuredAtRadio ? SmithTrace::MeasuredRaw : SmithTrace::Measured,
                           measured);
    m_smithChart->setCurve(SmithTrace::Fitted, result.fittedCurve);
    m_tabs->setCurrentIndex(kTrimTab);
}

void CheckWindow::showAnalysisEnded(AnalysisKind kind, AnalysisEnd end, const QString &message)
{
    if (kind == AnalysisKind::Check) {
        showCheckEnded(end, message);
        return;
    }
    if (kind == AnalysisKind::Tuning) {
        if (m_tabs->currentIndex() == kTuningTab) {
            m_tabs->setCurrentIndex(kFiguresTab);
        }
        m_tabs->setTabEnabled(kTuningTab, false);
    } else if (kind == AnalysisKind::Trim || kind == AnalysisKind::Diagnosis) {
        clearTrimCurves();
    }
    panel(kind)->showEnded(end, message);
}

void CheckWindow::showCheckEnded(AnalysisEnd end, const QString &message)
{
    m_checking = false;
    if (end != AnalysisEnd::Failed) {
        showStatus([] { return tr("检查已停止。"); });
        showValues();
        return;
    }
    m_figures.reset();
    m_sweep.clear();
    m_curve.clear();
    m_bandwidth.reset();
    m_swrChart->clearCurve();
    m_smithChart->clearCurve(SmithTrace::Model);
    showRadio();
    m_azimuth->clearPattern();
    m_elevation->clearPattern();
    m_caution->hide();
    showStatus([message] { return message; });
    showValues();
}

void CheckWindow::showFigures(const DesignFigures &figures)
{
    m_figures = figures;
    if (figures.azimuth.isEmpty()) {
        m_azimuth->clearPattern();
    } else {
        m_azimuth->setAzimuth(figures.azimuth, figures.forwardPhi, figures.forwardGain);
    }
    m_azimuth->setTitle(azimuthTitle());
    m_elevation->setElevation(figures.elevation, figures.elevationPhi, figures.forwardPhi,
                              figures.forwardGain, figures.takeoff.has_value());
    showStatus([] { return tr("正在用 nec2c 计算驻波比曲线…"); });
    showRadio();
    showValues();
}

void CheckWindow::showValues()
{
    m_figureTable->showFigures(m_figures, m_bandwidth, m_request.frequencyMhz, m_checking);
    setWindowTitle(title());
    updateMenu();
}

QImage CheckWindow::image()
{
    return grab().toImage();
}

QByteArray CheckWindow::csv() const
{
    return checkCsv(m_sweep, m_figures.value_or(DesignFigures{}), m_request.installation);
}

void CheckWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LocaleChange) {
        m_azimuth->setTitle(azimuthTitle());
        setWindowTitle(title());
    } else if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

void CheckWindow::retranslate()
{
    setWindowTitle(title());
    m_azimuth->setTitle(azimuthTitle());
    m_azimuth->setAccessibleName(tr("方位方向图"));
    m_elevation->setTitle(tr("仰角方向图（波束所在垂直面，前方朝右）"));
    m_elevation->setAccessibleName(tr("仰角方向图"));
    retranslateMenu();
    m_tabs->setTabText(kFiguresTab, tr("数值"));
    m_tabs->setTabText(kTuningTab, tr("调谐结果"));
    m_tabs->setTabText(kToleranceTab, tr("公差"));
    m_tabs->setTabText(kTrimTab, tr("实测"));
    m_tabs->setTabText(kSmithTab, tr("史密斯圆图"));
    m_smithReadout->setText(smithHint());
    // The header the session made for the check in the language it had then.
    if (const QString header = m_commands.shownDesignHeader();
        !header.isEmpty() && !m_request.header.isEmpty()) {
        m_request.header = header;
        if (m_design == CheckedDesign::Tuned) {
            m_request.header += tr("（调谐后）");
        }
        m_header->setText(m_request.header);
    }
    if (m_statusText) {
        m_status->setText(m_statusText());
    }
}

QString CheckWindow::title() const
{
    if (m_request.frequencyMhz > 0) {
        return tr("设计检查 — %1")
            .arg(CheckFigureFormat(locale()).frequency(m_request.frequencyMhz));
    }
    return tr("设计检查");
}

QString CheckWindow::azimuthTitle() const
{
    if (m_figures && m_figures->takeoff) {
        return tr("方位方向图（仰角 %1，前方朝上）")
            .arg(CheckFigureFormat(locale()).angle(*m_figures->takeoff));
    }
    return tr("方位方向图（水平面，前方朝上）");
}

void CheckWindow::showStatus(std::function<QString()> text)
{
    m_statusText = std::move(text);
    m_status->setText(m_statusText());
}

void CheckWindow::closeEvent(QCloseEvent *event)
{
    // Nothing runs while the window is closed.
    for (const AnalysisKind kind : kAnalysisKinds) {
        m_commands.cancelAnalysis(kind);
    }
    QWidget::closeEvent(event);
}

} // namespace moxon
