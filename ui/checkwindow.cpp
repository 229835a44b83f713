#include "checkwindow.h"

#include "analysispanel.h"
#include "checkexport.h"
#include "checkfigureformat.h"
#include "installationpanel.h"
#include "localenumbers.h"
#include "machineformats.h"
#include "pagearea.h"
#include "patternchart.h"
#include "swrchart.h"
#include "tolerancepanel.h"
#include "trimpanel.h"
#include "tunepanel.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QVBoxLayout>

namespace moxon {

namespace {

// The figures' tabs.
constexpr int kTuningTab = 1;
constexpr int kToleranceTab = 2;
constexpr int kTrimTab = 3;

// What a value label shows without a value, and while its value is being calculated.
QString noValue()
{
    return QStringLiteral("—");
}

QString pending()
{
    return QStringLiteral("…");
}

QLabel *valueLabel(const QString &objectName, QWidget *parent)
{
    auto *label = new QLabel(noValue(), parent);
    label->setObjectName(objectName);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

CheckWindow::CheckWindow(CheckCommands &commands, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_commands(commands)
    , m_runner(commands.engineScheduler(), commands.engineOptions())
{
    setObjectName(QStringLiteral("CheckWindow"));

    m_header = new QLabel(this);
    m_header->setObjectName(QStringLiteral("header"));
    m_header->setWordWrap(true);
    QFont headerFont = m_header->font();
    headerFont.setBold(true);
    m_header->setFont(headerFont);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    m_caution = new QLabel(this);
    m_caution->setObjectName(QStringLiteral("caution"));
    m_caution->setWordWrap(true);
    m_caution->hide();

    m_installation = new InstallationPanel(this);
    connect(m_installation, &InstallationPanel::edited, this,
            [this](const Installation &installation) { m_commands.setInstallation(installation); });

    m_tune = new TunePanel(this);
    connect(m_tune, &TunePanel::startRequested, this,
            [this](TuneGoal goal) { m_commands.startTuning(goal); });
    connect(m_tune, &TunePanel::cancelRequested, this, [this] { m_commands.cancelTuning(); });
    connect(m_tune, &TunePanel::exportRequested, this, [this] { m_commands.exportTunedModel(); });

    auto *figures = new QGridLayout;
    figures->setColumnStretch(1, 1);
    figures->setVerticalSpacing(4);
    QLabel *caption = nullptr;
    const auto row = [&](const char *text, QLabel *value) {
        const int at = figures->rowCount();
        caption = new QLabel(this);
        caption->setBuddy(value);
        m_captions.emplace_back(caption, text);
        figures->addWidget(caption, at, 0, Qt::AlignLeft | Qt::AlignVCenter);
        figures->addWidget(value, at, 1, Qt::AlignVCenter);
        return value;
    };
    m_impedance = row(QT_TR_NOOP("馈点阻抗"), valueLabel(QStringLiteral("impedance"), this));
    m_swr = row(QT_TR_NOOP("驻波比"), valueLabel(QStringLiteral("swr"), this));
    m_takeoff = row(QT_TR_NOOP("主瓣仰角"), valueLabel(QStringLiteral("takeoff"), this));
    m_takeoffCaption = caption;
    m_gain = row(QT_TR_NOOP("增益"), valueLabel(QStringLiteral("gain"), this));
    m_frontToBack = row(QT_TR_NOOP("前后比"), valueLabel(QStringLiteral("frontToBack"), this));
    m_bandwidthValue = row(QT_TR_NOOP("带宽"), valueLabel(QStringLiteral("bandwidth"), this));
    m_beamwidth = row(QT_TR_NOOP("波束宽度"), valueLabel(QStringLiteral("beamwidth"), this));
    figures->setRowStretch(figures->rowCount(), 1);

    m_swrChart = new SwrChart(this);
    connect(m_swrChart, &SwrChart::sweepModeChosen, this,
            [this](SweepMode mode) { m_commands.setSweepMode(mode); });
    // Titles and names come with the other texts, from retranslate().
    m_azimuth = new PatternChart(PatternChart::Plane::Azimuth, {}, {}, this);
    m_elevation = new PatternChart(PatternChart::Plane::Elevation, {}, {}, this);

    m_tolerances = new TolerancePanel(this);
    connect(m_tolerances, &TolerancePanel::startRequested, this,
            [this](std::optional<double> cutError) { m_commands.startTolerances(cutError); });
    m_trim = new TrimPanel(this);
    connect(m_trim, &TrimPanel::trimRequested, this,
            [this](const MeasuredAntenna &measured) { m_commands.startTrim(measured); });
    for (const BuildAnalysis analysis : {BuildAnalysis::Tolerances, BuildAnalysis::Trim}) {
        connect(panel(analysis), &AnalysisPanel::cancelRequested, this,
                [this, analysis] { m_commands.cancelAnalysis(analysis); });
    }

    // The figures, a tuning's result, the tolerances and the trim beside them in tabs, so
    // that nothing is stacked above the charts and pushes them out of the window.
    auto *figuresPage = new QWidget(this);
    figuresPage->setLayout(figures);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("figureTabs"));
    // Every tab's name in view: the column is as wide as the bar.
    m_tabs->setUsesScrollButtons(false);
    for (QWidget *page : {figuresPage, static_cast<QWidget *>(m_tune->resultView()),
                          static_cast<QWidget *>(m_tolerances), static_cast<QWidget *>(m_trim)}) {
        m_tabs->addTab(new PageArea(page, this), QString());
    }
    m_tabs->setTabEnabled(kTuningTab, false);
    auto *top = new QHBoxLayout;
    top->addWidget(m_tabs);
    top->addWidget(m_swrChart, 1);
    auto *patterns = new QHBoxLayout;
    patterns->addWidget(m_azimuth);
    patterns->addWidget(m_elevation);
    auto *outer = new QVBoxLayout(this);
    outer->setSpacing(4); // usable down to 640 x 480
    outer->setContentsMargins(6, 6, 6, 6);
    outer->addWidget(m_header);
    outer->addWidget(m_installation);
    outer->addWidget(m_tune);
    outer->addWidget(m_status);
    outer->addWidget(m_caution);
    outer->addLayout(top, 1);
    outer->addLayout(patterns, 1);

    m_saveImageAction = new QAction(this);
    m_exportAction = new QAction(this);
    connect(m_saveImageAction, &QAction::triggered, this, &CheckWindow::saveImage);
    connect(m_exportAction, &QAction::triggered, this, &CheckWindow::exportData);
    addAction(m_saveImageAction);
    addAction(m_exportAction);
    // The chart's menu has its own sweep choice, then the window's.
    m_swrChart->addActions({m_saveImageAction, m_exportAction});
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(&m_runner, &CheckRunner::figuresReady, this, &CheckWindow::showFigures);
    connect(&m_runner, &CheckRunner::sweepUpdated, this, &CheckWindow::showSweep);
    connect(&m_runner, &CheckRunner::sweepFinished, this, &CheckWindow::showBandwidth);
    connect(&m_runner, &CheckRunner::failed, this, &CheckWindow::showFailure);

    retranslate();

    resize(960, 720);
}

void CheckWindow::check(const CheckRequest &request, CheckedDesign design)
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
    m_tune->setTunable(request.refusal.isEmpty());
    m_tolerances->setAvailable(request.refusal.isEmpty());
    m_trim->setAvailable(request.refusal.isEmpty());
    m_trim->setDesignFrequency(request.frequencyMhz);
    m_swrChart->setSweepMode(request.sweep);
    m_request = request;
    m_design = design;
    if (design == CheckedDesign::Tuned) {
        m_request.header += tr("（调谐后）");
    }
    m_figures.reset();
    m_sweep.clear();
    m_bandwidth.reset();
    m_header->setText(m_request.header);
    m_caution->setText(request.caution);
    m_caution->setVisible(!request.caution.isEmpty());
    const bool overGround = request.installation.overGround();
    m_takeoff->setVisible(overGround);
    m_takeoffCaption->setVisible(overGround);
    m_swrChart->setDesign(request.frequencyMhz);
    m_azimuth->clearPattern();
    m_elevation->clearPattern();
    showStatus([] { return tr("正在用 nec2c 计算…"); });
    // Started before the values are shown, so that they show the calculating placeholder.
    m_runner.start(request);
    showValues();
}

void CheckWindow::showInstallation(const Installation &installation, const LengthScale &scale)
{
    m_installation->showInstallation(installation, scale);
    m_tolerances->setScale(scale);
}

void CheckWindow::showTuningStarted()
{
    m_tune->showStarted();
}

void CheckWindow::showTuningProgress(const TuneProgress &progress)
{
    m_tune->showProgress(progress);
}

void CheckWindow::showTuningResult(const TuneResult &result, const TuneSetup &setup)
{
    m_tune->showResult(result, setup);
    m_tabs->setTabEnabled(kTuningTab, true);
    m_tabs->setCurrentIndex(kTuningTab);
}

AnalysisPanel *CheckWindow::panel(BuildAnalysis analysis) const
{
    if (analysis == BuildAnalysis::Tolerances) {
        return m_tolerances;
    }
    return m_trim;
}

void CheckWindow::showAnalysisStarted(BuildAnalysis analysis)
{
    panel(analysis)->showStarted();
    if (analysis == BuildAnalysis::Trim) {
        m_swrChart->clearTrim();
    }
    m_tabs->setCurrentIndex(analysis == BuildAnalysis::Tolerances ? kToleranceTab : kTrimTab);
}

void CheckWindow::showAnalysisProgress(BuildAnalysis analysis, const AnalysisProgress &progress)
{
    panel(analysis)->showProgress(progress);
}

void CheckWindow::showMeasurement(const Measurement &measurement)
{
    m_trim->showMeasurement(measurement);
    m_swrChart->setMeasured(measurement.curve, measurement.dipMhz, measurement.targetMhz);
}

void CheckWindow::showTolerances(const ToleranceResult &result, const TuneSetup &setup)
{
    m_tolerances->showResult(result, setup);
    m_tabs->setCurrentIndex(kToleranceTab);
}

void CheckWindow::showTrim(const TrimResult &result, const TuneSetup &setup)
{
    m_trim->showResult(result, setup);
    m_swrChart->setPredicted(result.fieldTrim ? result.fieldTrim->antenna.curve
                                              : result.rebuild.curve);
    m_tabs->setCurrentIndex(kTrimTab);
}

void CheckWindow::showAnalysisEnded(BuildAnalysis analysis, AnalysisEnd end, const QString &message)
{
    panel(analysis)->showEnded(end, message);
    if (analysis == BuildAnalysis::Trim) {
        m_swrChart->clearTrim();
    }
}

void CheckWindow::showTuningEnded(AnalysisEnd end, const QString &message)
{
    m_tune->showEnded(end, message);
    if (m_tabs->currentIndex() == kTuningTab) {
        m_tabs->setCurrentIndex(0);
    }
    m_tabs->setTabEnabled(kTuningTab, false);
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
        showValues();
    } else if (event->type() == QEvent::LanguageChange) {
        retranslate();
        showValues();
    }
}

void CheckWindow::retranslate()
{
    setWindowTitle(title());
    for (const auto &[label, text] : m_captions) {
        label->setText(tr(text));
    }
    m_azimuth->setTitle(azimuthTitle());
    m_azimuth->setAccessibleName(tr("方位方向图"));
    m_elevation->setTitle(tr("仰角方向图（波束所在垂直面，前方朝右）"));
    m_elevation->setAccessibleName(tr("仰角方向图"));
    m_saveImageAction->setText(tr("保存图像…"));
    m_exportAction->setText(tr("导出数据…"));
    m_tabs->setTabText(0, tr("数值"));
    m_tabs->setTabText(kTuningTab, tr("调谐结果"));
    m_tabs->setTabText(kToleranceTab, tr("公差"));
    m_tabs->setTabText(kTrimTab, tr("实测"));
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
    m_commands.cancelTuning();
    m_commands.cancelAnalysis(BuildAnalysis::Tolerances);
    m_commands.cancelAnalysis(BuildAnalysis::Trim);
    if (m_runner.isRunning()) {
        m_runner.cancel();
        showStatus([] { return tr("检查已停止。"); });
        showValues();
    }
    QWidget::closeEvent(event);
}

void CheckWindow::showFigures(quint64 sequence, const DesignFigures &figures)
{
    if (sequence != m_runner.sequence()) {
        return;
    }
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
    showValues();
}

void CheckWindow::showSweep(quint64 sequence, const QList<SweepPoint> &sweep)
{
    if (sequence != m_runner.sequence()) {
        return;
    }
    m_sweep = sweep;
    m_swrChart->setCurve(sweep);
}

void CheckWindow::showBandwidth(quint64 sequence, const SweepOutcome &sweep)
{
    if (sequence != m_runner.sequence()) {
        return;
    }
    m_sweep = sweep.points;
    m_swrChart->setOutcome(sweep);
    m_bandwidth = sweep.bandwidth;
    showStatus([sweep, this] {
        return sweep.fitAgreementOhm
                   ? tr("nec2c 已算完：设计频率与 %1 个扫频点，其余为有理拟合（两次拟合相差 %2 "
                        "Ω）。")
                         .arg(sweep.engineFrequenciesMhz.size() - 1)
                         .arg(LocaleNumbers(locale()).toShort(*sweep.fitAgreementOhm, 3))
                   : tr("nec2c 已算完：设计频率与 %1 个扫频点。").arg(sweep.points.size());
    });
    showValues();
}

void CheckWindow::showFailure(quint64 sequence, EngineFailure, const QString &message)
{
    if (sequence != m_runner.sequence()) {
        return;
    }
    m_figures.reset();
    m_sweep.clear();
    m_bandwidth.reset();
    m_swrChart->clearCurve();
    m_azimuth->clearPattern();
    m_elevation->clearPattern();
    m_caution->hide();
    showStatus([message] { return message; });
    showValues();
}

void CheckWindow::showValues()
{
    const CheckFigureFormat format(locale());
    if (!m_figures) {
        const QString value = isCalculating() ? pending() : noValue();
        for (QLabel *label : {m_impedance, m_swr, m_takeoff, m_gain, m_frontToBack,
                              m_bandwidthValue, m_beamwidth}) {
            label->setText(value);
        }
    } else {
        m_impedance->setText(format.impedance(m_figures->feed));
        m_swr->setText(format.swr(m_figures->swr));
        m_gain->setText(format.gain(m_figures->forwardGain));
        m_frontToBack->setText(format.frontToBack(m_figures->frontToBack));
        // Over ground the azimuth cut comes from a second run, at the take-off angle.
        m_beamwidth->setText(m_figures->azimuth.isEmpty() ? pending()
                                                          : format.beamwidth(m_figures->beamwidth));
        m_takeoff->setText(m_figures->takeoff ? format.angle(*m_figures->takeoff) : noValue());
        m_bandwidthValue->setText(
            m_bandwidth ? format.bandwidth(*m_bandwidth, m_request.frequencyMhz) : pending());
    }
    setWindowTitle(title());
    for (QAction *action : actions()) {
        action->setEnabled(m_figures.has_value());
    }
}

QString CheckWindow::askFile(const QString &caption, const QString &suffix, const QString &filter)
{
    if (m_lastFolder.isEmpty()) {
        m_lastFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    }
    const QString name = QStringLiteral("moxon-check-%1MHz.%2")
                             .arg(QString::number(m_request.frequencyMhz, 'g', 10), suffix);
    QString path =
        QFileDialog::getSaveFileName(this, caption, QDir(m_lastFolder).filePath(name), filter);
    if (path.isEmpty()) {
        return {};
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += u'.' + suffix;
    }
    m_lastFolder = QFileInfo(path).absolutePath();
    return path;
}

void CheckWindow::saveImage()
{
    const QString path =
        askFile(tr("保存图像"), QStringLiteral("png"), QStringLiteral("PNG (*.png)"));
    if (path.isEmpty()) {
        return;
    }
    const QString problem = savePng(path, image());
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Save Failed"),
                             QStringLiteral("The image could not be saved to %1: %2.")
                                 .arg(QDir::toNativeSeparators(path), problem));
    }
}

void CheckWindow::exportData()
{
    const QString path =
        askFile(tr("导出数据"), QStringLiteral("csv"), QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty()) {
        return;
    }
    const QString problem = saveBytes(path, csv());
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Export Failed"),
                             QStringLiteral("The data could not be exported to %1: %2.")
                                 .arg(QDir::toNativeSeparators(path), problem));
    }
}

} // namespace moxon
