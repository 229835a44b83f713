#include "tolerancepanel.h"

#include "checkfigureformat.h"
#include "localenumbers.h"
#include "windowtexts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace moxon {

namespace {

QString noneText()
{
    return QStringLiteral("—");
}

// A length of the builder's step without its sign: "3.9 cm".
QString cutLength(double length, const TuneSetup &setup, const QLocale &locale)
{
    return dimensionChange(length, setup, locale, false).mid(1);
}

} // namespace

TolerancePanel::TolerancePanel(QWidget *parent)
    : AnalysisPanel(QStringLiteral("tolerances"), Placement::Page, parent)
{
    m_cutCaption = new QLabel(this);
    m_cutError = new QLineEdit(this);
    m_cutError->setObjectName(QStringLiteral("cutError"));
    m_cutCaption->setBuddy(m_cutError);
    m_cutUnit = new QLabel(this);
    auto *row = new QHBoxLayout;
    row->addWidget(m_cutCaption);
    row->addWidget(m_cutError);
    row->addWidget(m_cutUnit);
    row->addStretch(1);
    m_form->addLayout(row);

    m_table = new QGridLayout;
    m_table->setHorizontalSpacing(10);
    for (std::size_t column = 0; column < m_headers.size(); ++column) {
        m_headers[column] = new QLabel(this);
        m_headers[column]->setAlignment(Qt::AlignRight | Qt::AlignBottom);
        m_table->addWidget(m_headers[column], 0, int(column) + 1);
    }
    for (std::size_t row = 0; row < m_cells.size(); ++row) {
        auto *letter = new QLabel(QString(QChar(u'A' + int(row))), this);
        m_table->addWidget(letter, int(row) + 1, 0);
        for (std::size_t column = 0; column < m_cells[row].size(); ++column) {
            auto *cell = new QLabel(this);
            cell->setObjectName(
                QStringLiteral("tolerance%1%2").arg(QChar(u'A' + int(row))).arg(column));
            cell->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_cells[row][column] = cell;
            m_table->addWidget(cell, int(row) + 1, int(column) + 1);
        }
    }
    // The table goes between the buttons' row and the result's lines.
    auto *outer = static_cast<QVBoxLayout *>(layout());
    outer->insertLayout(outer->count() - 2, m_table);

    connect(m_start, &QPushButton::clicked, this, &TolerancePanel::requestStart);
    connect(m_cutError, &QLineEdit::returnPressed, this, &TolerancePanel::requestStart);
    clearResult();
    retranslate();
}

void TolerancePanel::setScale(const LengthScale &scale)
{
    m_scale = scale;
    m_cutUnit->setText(scale.cutUnit);
    retranslate();
}

QString TolerancePanel::runningText() const
{
    return tr("正在计算公差");
}

void TolerancePanel::retranslate()
{
    m_start->setText(tr("计算公差"));
    m_cutCaption->setText(tr("剪切误差 ±"));
    m_cutError->setPlaceholderText(
        tr("A 的 %1 %").arg(locale().toString(kDefaultCutErrorOfA * 100)));
    m_cutError->setFixedWidth(
        fontMetrics().horizontalAdvance(m_cutError->placeholderText() + QStringLiteral("00")) + 8);
    m_cutError->setToolTip(tr("每处剪切可能偏差多少，用于估计成品率；留空则取 A 的 %1 %。")
                               .arg(locale().toString(kDefaultCutErrorOfA * 100)));
    const QString step = m_shown ? m_shown->first.stepUnit : m_scale.cutUnit;
    m_headers[0]->setText(tr("谐振点\nkHz/%1").arg(step));
    m_headers[1]->setText(tr("前后比\ndB/%1").arg(step));
    m_headers[2]->setText(tr("可短"));
    m_headers[3]->setText(tr("可长"));
    if (m_shown) {
        showTable(m_shown->first, m_shown->second);
    }
    AnalysisPanel::retranslate();
}

void TolerancePanel::requestStart()
{
    if (!canStart()) {
        return;
    }
    const QString text = m_cutError->text().trimmed();
    if (text.isEmpty()) {
        Q_EMIT startRequested(std::nullopt);
        return;
    }
    const std::optional<double> value = LocaleNumbers(locale()).toDouble(text);
    if (!value || *value < 0) {
        showStatus([] { return tr("剪切误差须为 0 或正数。"); });
        m_cutError->setFocus();
        m_cutError->selectAll();
        return;
    }
    // Typed in the builder's step, asked for in the display unit.
    Q_EMIT startRequested(*value * m_scale.cutStep);
}

void TolerancePanel::showResult(const ToleranceResult &result, const TuneSetup &setup)
{
    m_shown = std::pair(result, setup);
    showTable(result, setup);
    showFinished([](const QString &runs) { return tr("公差已算完%1。").arg(runs); },
                 result.engineRuns, result.seconds,
                 [this, result, setup] { return resultLines(result, setup); });
}

QString TolerancePanel::resultLines(const ToleranceResult &result, const TuneSetup &setup) const
{
    const LocaleNumbers numbers(locale());
    const CheckFigureFormat format(locale());
    QStringList lines;
    lines.append(
        tr("限度：驻波比 ≤ %1，前后比 ≥ %2")
            .arg(numbers.toShort(kToleranceSwr, 1),
                 format.frontToBack(result.figures.frontToBack - kToleranceFrontToBackDrop)));
    if (result.cuts.front().minusLimit == ToleranceLimit::Design) {
        lines.append(tr("设计本身已超出限度，各尺寸都没有公差。"));
    }
    lines.append(tr("每处剪切误差 ±%1 时，%2 次模拟中")
                     .arg(cutLength(result.cutError, setup, locale()))
                     .arg(result.builds));
    lines.append(
        tr("成品率 %1 %，谐振点标准差 %2 kHz")
            .arg(numbers.toMask(result.yield * 100, 1), numbers.toMask(result.dipSpreadKhz, 1)));
    return lines.join(u'\n');
}

void TolerancePanel::showTable(const ToleranceResult &result, const TuneSetup &setup)
{
    const QLocale here = locale();
    const LocaleNumbers numbers(here);
    const auto signedValue = [&](double value, int decimals) {
        const QString text = numbers.toMask(std::fabs(value), decimals);
        const bool zero = text == numbers.toMask(0, decimals);
        return (zero ? QString() : value < 0 ? QStringLiteral("−") : QStringLiteral("+")) + text;
    };
    const auto tolerance = [&](const std::optional<double> &value, ToleranceLimit limit) {
        if (!value) {
            return noneText();
        }
        const QString length = cutLength(*value, setup, here);
        return limit == ToleranceLimit::SearchEnd ? QStringLiteral("≥ ") + length : length;
    };
    const auto reason = [](ToleranceLimit limit) {
        switch (limit) {
        case ToleranceLimit::Swr:
            return tr("驻波比先超过限度");
        case ToleranceLimit::FrontToBack:
            return tr("前后比先降过限度");
        case ToleranceLimit::SearchEnd:
            return tr("搜索范围内都在限度内");
        case ToleranceLimit::Design:
            break;
        }
        return tr("设计本身已超出限度");
    };
    for (std::size_t row = 0; row < result.cuts.size(); ++row) {
        const DimensionTolerance &cut = result.cuts[row];
        m_cells[row][0]->setText(signedValue(cut.dipKhzPerStep, 1));
        m_cells[row][1]->setText(signedValue(cut.frontToBackDbPerStep, 2));
        m_cells[row][2]->setText(tolerance(cut.minus, cut.minusLimit));
        m_cells[row][3]->setText(tolerance(cut.plus, cut.plusLimit));
        m_cells[row][2]->setToolTip(reason(cut.minusLimit));
        m_cells[row][3]->setToolTip(reason(cut.plusLimit));
    }
}

void TolerancePanel::clearResult()
{
    m_shown.reset();
    for (auto &row : m_cells) {
        for (QLabel *cell : row) {
            cell->setText(noneText());
            cell->setToolTip({});
        }
    }
}

} // namespace moxon
