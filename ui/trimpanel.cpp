#include "trimpanel.h"

#include "checkfigureformat.h"
#include "localenumbers.h"
#include "windowtexts.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>

#include <cmath>

namespace moxon {

namespace {

// A change of each tail of a pair, as the builder makes it: "驱动单元两端各剪 12 mm".
QString tailLine(double change, bool driven, const TuneSetup &setup, const QLocale &locale)
{
    const QString signedAmount = dimensionChange(change, setup, locale, false);
    const QString amount = signedAmount.mid(1);
    const bool none = LocaleNumbers(locale).toDouble(amount.section(u' ', 0, 0)) == 0.0;
    if (none) {
        return driven ? TrimPanel::tr("驱动单元两端不动") : TrimPanel::tr("反射单元两端不动");
    }
    if (change < 0) {
        return driven ? TrimPanel::tr("驱动单元两端各剪 %1").arg(amount)
                      : TrimPanel::tr("反射单元两端各剪 %1").arg(amount);
    }
    return driven ? TrimPanel::tr("驱动单元两端各加 %1").arg(amount)
                  : TrimPanel::tr("反射单元两端各加 %1").arg(amount);
}

// Where the frame lets E change: "E 加长 12 mm（角点沿撑杆外移）".
QString frameLine(double change, const TuneSetup &setup, const QLocale &locale)
{
    const QString amount = dimensionChange(change, setup, locale, false).mid(1);
    return change > 0 ? TrimPanel::tr("E 加长 %1（角点沿撑杆外移）").arg(amount)
                      : TrimPanel::tr("E 缩短 %1（角点沿撑杆内移）").arg(amount);
}

} // namespace

TrimPanel::TrimPanel(QWidget *parent)
    : AnalysisPanel(QStringLiteral("trim"), Placement::Page, parent)
{
    m_open = new QPushButton(this);
    m_open->setObjectName(QStringLiteral("openMeasurement"));
    m_diagnose = new QPushButton(this);
    m_diagnose->setObjectName(QStringLiteral("diagnose"));
    addButton(m_diagnose);
    m_dip = new QLineEdit(this);
    m_dip->setObjectName(QStringLiteral("measuredDip"));
    m_target = new QLineEdit(this);
    m_target->setObjectName(QStringLiteral("target"));
    m_dipCaption = new QLabel(this);
    m_dipCaption->setBuddy(m_dip);
    m_targetCaption = new QLabel(this);
    m_targetCaption->setBuddy(m_target);
    m_source = new QLabel(this);
    m_source->setObjectName(QStringLiteral("measurementSource"));
    m_source->setWordWrap(true);
    m_atRadio = new QCheckBox(this);
    m_atRadio->setObjectName(QStringLiteral("measuredAtRadio"));
    m_atRadio->setEnabled(false);
    m_trimGap = new QCheckBox(this);
    m_trimGap->setObjectName(QStringLiteral("trimGap"));
    const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000.0000"));
    auto *grid = new QGridLayout;
    grid->addWidget(m_dipCaption, 0, 0);
    grid->addWidget(m_dip, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("MHz"), this), 0, 2);
    grid->addWidget(m_open, 0, 3);
    grid->addWidget(m_source, 1, 1, 1, 4);
    grid->addWidget(m_targetCaption, 2, 0);
    grid->addWidget(m_target, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("MHz"), this), 2, 2);
    grid->addWidget(m_atRadio, 3, 0, 1, 5);
    grid->addWidget(m_trimGap, 4, 0, 1, 5);
    grid->setColumnStretch(4, 1);
    m_source->hide();
    for (QLineEdit *field : {m_dip, m_target}) {
        field->setMaximumWidth(fieldWidth);
        connect(field, &QLineEdit::returnPressed, this, &TrimPanel::requestTrim);
    }
    m_form->addLayout(grid);

    connect(m_open, &QPushButton::clicked, this, &TrimPanel::chooseFile);
    connect(m_start, &QPushButton::clicked, this, &TrimPanel::requestTrim);
    connect(m_diagnose, &QPushButton::clicked, this, &TrimPanel::requestDiagnosis);
    // A dip typed over the file's is the user's own: the file no longer applies.
    connect(m_dip, &QLineEdit::textEdited, this, [this] {
        m_file.clear();
        m_source->clear();
        m_source->hide();
        updateButtons();
    });
    retranslate();
}

void TrimPanel::setFeedLine(bool feedLine)
{
    m_atRadio->setEnabled(feedLine);
    if (!feedLine) {
        m_atRadio->setChecked(false);
    }
}

MeasuredAntenna TrimPanel::measuredFile(const QString &path, double targetMhz) const
{
    return MeasuredAntenna{path, 0, targetMhz, m_atRadio->isChecked(), m_trimGap->isChecked()};
}

QString TrimPanel::sourceText() const
{
    if (!m_measurement->atRadio) {
        return tr("来自 %1").arg(m_measurement->source);
    }
    const LocaleNumbers numbers(locale());
    return m_measurement->rawDipMhz
               ? tr("来自 %1，在电台端测得（谐振点 %2 MHz），已经馈线换算到馈点")
                     .arg(m_measurement->source, numbers.toMask(*m_measurement->rawDipMhz, 4))
               : tr("来自 %1，在电台端测得（范围内无谐振点），已经馈线换算到馈点")
                     .arg(m_measurement->source);
}

void TrimPanel::setDesignFrequency(double mhz)
{
    m_designMhz = mhz;
    m_target->setPlaceholderText(mhz > 0 ? LocaleNumbers(locale()).toShort(mhz, 6) : QString());
}

QString TrimPanel::runningText() const
{
    return m_diagnosing ? tr("正在诊断") : tr("正在计算修剪");
}

void TrimPanel::updateButtons()
{
    m_diagnose->setEnabled(canDiagnose());
    AnalysisPanel::updateButtons();
}

void TrimPanel::retranslate()
{
    m_open->setText(tr("实测…"));
    m_open->setToolTip(
        tr("打开天线分析仪保存的单端口 Touchstone 文件（.s1p），按其驻波比最低点计算修剪"));
    m_start->setText(tr("计算修剪"));
    m_diagnose->setText(tr("诊断"));
    m_diagnose->setToolTip(
        tr("按打开的实测文件的阻抗曲线拟合模型，找出哪一段尺寸有偏差以及偏差多少"));
    m_dipCaption->setText(tr("实测谐振点"));
    m_targetCaption->setText(tr("目标频率"));
    m_atRadio->setText(tr("文件在电台端（经馈线）测得"));
    m_atRadio->setToolTip(tr("先按安装中的馈线把文件换算回馈点，再找谐振点；需先选定馈线"));
    m_trimGap->setText(tr("框架可调：现场修剪也改间隙 C"));
    m_trimGap->setToolTip(tr("单元角点可沿撑杆移动时，修剪连同 E（即间隙 C）一起调整，"
                             "框架本身尺寸有偏差时也能找回前后比；仅凭谐振点修剪时不用"));
    setDesignFrequency(m_designMhz);
    if (m_measurement && !m_measurement->source.isEmpty()) {
        m_source->setText(sourceText());
    }
    AnalysisPanel::retranslate();
}

void TrimPanel::clearResult()
{
    m_measurement.reset();
}

void TrimPanel::chooseFile()
{
    if (m_lastFolder.isEmpty()) {
        m_lastFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    }
    const QString path =
        QFileDialog::getOpenFileName(this, tr("打开实测文件"), m_lastFolder,
                                     tr("Touchstone 单端口文件 (*.s1p *.S1P);;所有文件 (*)"));
    if (!path.isEmpty()) {
        m_lastFolder = QFileInfo(path).absolutePath();
        trimFile(path);
    }
}

std::optional<double> TrimPanel::target()
{
    const QString text = m_target->text().trimmed();
    if (text.isEmpty()) {
        return 0.0;
    }
    const std::optional<double> mhz = LocaleNumbers(locale()).toDouble(text);
    if (!mhz || *mhz <= 0) {
        showStatus([] { return tr("目标频率须为正数（MHz），留空则取设计频率。"); });
        m_target->setFocus();
        m_target->selectAll();
        return std::nullopt;
    }
    return mhz;
}

void TrimPanel::trimFile(const QString &path)
{
    if (!canStart()) {
        return;
    }
    if (const std::optional<double> mhz = target()) {
        m_file = path;
        updateButtons();
        Q_EMIT trimRequested(measuredFile(path, *mhz));
    }
}

// The diagnosis fits the file's impedance curve; a typed dip has none. It may start while the
// trim that opening the file started still runs: the session lets it take the trim's place.
bool TrimPanel::canDiagnose() const
{
    return !m_file.isEmpty() && (canStart() || (isRunning() && !m_diagnosing));
}

void TrimPanel::requestDiagnosis()
{
    if (!canDiagnose()) {
        return;
    }
    if (const std::optional<double> mhz = target()) {
        Q_EMIT diagnosisRequested(measuredFile(m_file, *mhz));
    }
}

void TrimPanel::requestTrim()
{
    if (!canStart()) {
        return;
    }
    const std::optional<double> mhz = target();
    if (!mhz) {
        return;
    }
    if (!m_file.isEmpty()) {
        Q_EMIT trimRequested(measuredFile(m_file, *mhz));
        return;
    }
    const std::optional<double> dip = LocaleNumbers(locale()).toDouble(m_dip->text().trimmed());
    if (!dip || *dip <= 0) {
        showStatus([] { return tr("请输入实测谐振点频率（MHz），或用“实测…”打开分析仪的文件。"); });
        m_dip->setFocus();
        m_dip->selectAll();
        return;
    }
    Q_EMIT trimRequested(MeasuredAntenna{QString(), *dip, *mhz});
}

void TrimPanel::showMeasurement(const Measurement &measurement)
{
    m_measurement = measurement;
    if (!measurement.source.isEmpty()) {
        m_dip->setText(LocaleNumbers(locale()).toShort(measurement.dipMhz, 4));
        m_source->setText(sourceText());
        m_source->show();
    }
}

void TrimPanel::showResult(const TrimResult &result, const TuneSetup &setup)
{
    showFinished([](const QString &runs) { return tr("修剪已算完%1。").arg(runs); },
                 result.engineRuns, result.seconds,
                 [this, result, setup] { return resultLines(result, setup); });
}

QString TrimPanel::dipAloneText(const TrimResult &r) const
{
    const std::optional<double> longTails = r.fieldTrim->longTailsFrontToBack;
    const QString held =
        longTails
            ? tr("此修剪对两者都能保持前后比\n（两端偏长时为 %1）。")
                  .arg(CheckFigureFormat(locale()).frontToBack(*longTails))
            : tr("两端偏长到在此谐振会使间隙 C 或某一端\n短于原来的一半，此修剪只按整体偏长选出。");
    return tr("仅凭谐振点无法区分整体偏长的天线\n与两端偏长的天线；%1\n"
              "用含整条阻抗曲线的实测文件“诊断”可区分两者。")
        .arg(held);
}

// "预测谐振点 14.1497 MHz\n14.150 MHz 处驻波比 1.07，前后比 30.16 dB"
QString TrimPanel::predictedText(const TrimmedAntenna &antenna, double targetMhz) const
{
    const CheckFigureFormat format(locale());
    return tr("预测谐振点 %1\n%2 处驻波比 %3，前后比 %4")
        .arg(LocaleNumbers(locale()).toMask(antenna.predictedDipMhz, 4) + QStringLiteral(" MHz"),
             format.frequency(targetMhz), format.swr(antenna.figures.swr),
             format.frontToBack(antenna.figures.frontToBack));
}

// The field trim of `r`, which has one: each pair of tails' change, E's where the frame moves,
// the dimensions before and after, and what it predicts.
QString TrimPanel::fieldTrimLines(const TrimResult &r, const TuneSetup &setup) const
{
    const LocaleNumbers numbers(locale());
    const FieldTrim &trim = *r.fieldTrim;
    const bool frameMoves = trim.gapChange != 0;
    QStringList lines{tailLine(trim.drivenTailChange, true, setup, locale()),
                      tailLine(trim.reflectorTailChange, false, setup, locale())};
    if (frameMoves) {
        lines.append(frameLine(trim.gapChange, setup, locale()));
    }
    const TuneDimensions &after = trim.antenna.dimensions;
    QList<std::tuple<char16_t, double, double>> rows{
        {u'B', r.built.b, after.b}, {u'C', r.built.c(), after.c()}, {u'D', r.built.d, after.d}};
    if (frameMoves) {
        rows.append({u'E', r.built.e, after.e});
    }
    for (const auto &[letter, before, now] : std::as_const(rows)) {
        lines.append(tr("%1 %2 → %3 %4")
                         .arg(QChar(letter))
                         .arg(numbers.toMask(before, setup.decimals),
                              numbers.toMask(now, setup.decimals), setup.unit));
    }
    lines.append(predictedText(trim.antenna, r.targetMhz));
    return lines.join(u'\n');
}

QString TrimPanel::resultLines(const TrimResult &r, const TuneSetup &setup) const
{
    const LocaleNumbers numbers(locale());
    const CheckFigureFormat format(locale());
    const auto mhz = [&](double value) {
        return numbers.toMask(value, 4) + QStringLiteral(" MHz");
    };
    const auto length = [&](double value) {
        return numbers.toMask(value, setup.decimals);
    };
    QStringList lines;
    lines.append(tr("实测谐振点 %1").arg(mhz(r.measuredDipMhz)));
    if (m_measurement && m_measurement->dipSwr > 0) {
        lines.append(tr("（该处驻波比 %1）").arg(format.swr(m_measurement->dipSwr)));
    }
    lines.append(tr("模型谐振点 %1").arg(mhz(r.modelDipMhz)));
    const double percent = (r.scale - 1) * 100;
    lines.append(percent >= 0 ? tr("电尺度 %1（比模型长 %2 %）")
                                    .arg(numbers.toMask(r.scale, 4), numbers.toMask(percent, 2))
                              : tr("电尺度 %1（比模型短 %2 %）")
                                    .arg(numbers.toMask(r.scale, 4), numbers.toMask(-percent, 2)));
    lines.append(QString());
    const bool frameMoves = r.fieldTrim && r.fieldTrim->gapChange != 0;
    lines.append(frameMoves ? tr("现场修剪（A 不变）") : tr("现场修剪（A、E 不变）"));
    if (r.fieldTrim) {
        const FieldTrim &trim = *r.fieldTrim;
        lines.append(fieldTrimLines(r, setup));
        if (r.dipAlone) {
            lines.append(dipAloneText(r));
        }
        if (frameShortfall(r)) {
            const QString frontToBack = format.frontToBack(trim.antenna.figures.frontToBack);
            const QString rebuilt = format.frontToBack(r.rebuild.figures.frontToBack);
            const QString reached =
                r.designFrontToBack
                    ? tr("重做可达 %1，设计为 %2")
                          .arg(rebuilt, format.frontToBack(*r.designFrontToBack))
                    : tr("重做可达 %1").arg(rebuilt);
            lines.append(tr("只改两端时前后比仅 %1（%2）：框架本身的尺寸拖了后腿。\n"
                            "若单元角点可沿撑杆移动，勾选“框架可调”连同 E 一起修剪。")
                             .arg(frontToBack, reached));
        }
    } else {
        // The reason in full is the command line's; here what the builder does about it.
        lines.append(tr("只改两端的长度无法把谐振点移到目标，\n请按下面的尺寸重做。"));
    }
    lines.append(QString());
    lines.append(tr("重做（各尺寸按目标频率）"));
    const TuneDimensions &rebuilt = r.rebuild.dimensions;
    lines.append(QStringLiteral("A %1  B %2  C %3")
                     .arg(length(rebuilt.a), length(rebuilt.b), length(rebuilt.c())));
    lines.append(
        QStringLiteral("D %1  E %2 %3").arg(length(rebuilt.d), length(rebuilt.e), setup.unit));
    lines.append(predictedText(r.rebuild, r.targetMhz));
    return lines.join(u'\n');
}

} // namespace moxon
