#include "tunepanel.h"

#include "checkfigureformat.h"
#include "localenumbers.h"
#include "windowtexts.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

namespace moxon {

TunePanel::TunePanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("tuning"));
    m_goal = new QComboBox(this);
    m_goal->setObjectName(QStringLiteral("goal"));
    for (std::size_t i = 0; i < tuneGoals().size(); ++i) {
        m_goal->addItem(QString());
    }
    m_start = new QPushButton(this);
    m_start->setObjectName(QStringLiteral("tune"));
    m_stop = new QPushButton(this);
    m_stop->setObjectName(QStringLiteral("cancelTuning"));
    m_export = new QPushButton(this);
    m_export->setObjectName(QStringLiteral("exportTuned"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("tuneStatus"));
    m_status->setWordWrap(true);
    m_dimensions = new QLabel(this);
    m_dimensions->setObjectName(QStringLiteral("tunedDimensions"));
    m_dimensions->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *row = new QHBoxLayout;
    m_goalCaption = new QLabel(this);
    m_goalCaption->setBuddy(m_goal);
    row->addWidget(m_goalCaption);
    row->addWidget(m_goal);
    row->addWidget(m_start);
    row->addWidget(m_stop);
    row->addWidget(m_export);
    row->addWidget(m_status, 1);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addLayout(row);
    // The result goes where the window shows it (a tab beside the figures), not under the row.
    m_dimensions->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_dimensions->setContentsMargins(4, 4, 4, 4);

    connect(m_start, &QPushButton::clicked, this, [this] {
        Q_EMIT startRequested(tuneGoals()[std::size_t(std::max(0, m_goal->currentIndex()))].goal);
    });
    connect(m_stop, &QPushButton::clicked, this, &TunePanel::cancelRequested);
    connect(m_export, &QPushButton::clicked, this, &TunePanel::exportRequested);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), parent ? parent : this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_tuning) {
            Q_EMIT cancelRequested();
        }
    });
    retranslate();
    updateButtons();
}

void TunePanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange || event->type() == QEvent::LocaleChange) {
        retranslate();
    }
}

void TunePanel::retranslate()
{
    for (std::size_t i = 0; i < tuneGoals().size(); ++i) {
        m_goal->setItemText(int(i), tuneGoalCaption(tuneGoals()[i]));
    }
    m_goalCaption->setText(tr("调谐目标"));
    m_start->setText(tr("调谐"));
    m_stop->setText(tr("取消"));
    m_export->setText(tr("导出调谐模型…"));
    if (m_statusText) {
        m_status->setText(m_statusText());
    }
    if (m_dimensionsText) {
        m_dimensions->setText(m_dimensionsText());
    }
}

void TunePanel::showStatus(std::function<QString()> text)
{
    m_statusText = std::move(text);
    m_status->setText(m_statusText());
}

void TunePanel::setTunable(bool tunable)
{
    m_tunable = tunable;
    updateButtons();
}

void TunePanel::showStarted()
{
    m_tuning = true;
    m_haveResult = false;
    m_dimensionsText = {};
    m_dimensions->clear();
    showStatus([] { return tr("正在调谐…"); });
    updateButtons();
}

void TunePanel::showProgress(const TuneProgress &step)
{
    if (!m_tuning) {
        return;
    }
    showStatus([this, step] {
        const CheckFigureFormat format(locale());
        return tr("正在调谐：nec2c 已运行 %1 次，目前最佳：驻波比 %2，前后比 %3")
            .arg(step.engineRuns)
            .arg(format.swr(step.bestFigures.swr),
                 format.frontToBack(step.bestFigures.frontToBack));
    });
}

void TunePanel::showEnded(AnalysisEnd end, const QString &message)
{
    const bool wasTuning = m_tuning;
    m_tuning = false;
    m_haveResult = false;
    m_dimensionsText = {};
    m_dimensions->clear();
    switch (end) {
    case AnalysisEnd::Cancelled:
        showStatus([] { return tr("调谐已取消。"); });
        break;
    case AnalysisEnd::Failed:
        showStatus([message] { return message; });
        break;
    case AnalysisEnd::Voided:
        // A new design or installation: a tuning in flight was ended, a result forgotten.
        showStatus([wasTuning] { return wasTuning ? tr("调谐已取消。") : QString(); });
        break;
    }
    updateButtons();
}

void TunePanel::showResult(const TuneResult &r, const TuneSetup &setup)
{
    m_tuning = false;
    m_haveResult = true;
    showStatus([this, r] {
        const QString done = tr("（nec2c 运行 %1 次，%2 秒）")
                                 .arg(r.engineRuns)
                                 .arg(LocaleNumbers(locale()).toMask(r.seconds, 1));
        return r.goalMet ? tr("调谐完成%1：已达目标。").arg(done)
                         : tr("调谐完成%1：未达目标，下面是找到的最佳设计。").arg(done);
    });
    m_dimensionsText = [this, r, setup] {
        return resultLines(r, setup);
    };
    m_dimensions->setText(m_dimensionsText());
    updateButtons();
}

QString TunePanel::resultLines(const TuneResult &r, const TuneSetup &setup) const
{
    const LocaleNumbers numbers(locale());
    const CheckFigureFormat format(locale());
    QStringList lines;
    const std::array rows = {
        std::tuple(u'A', r.formula.a, r.tuned.a), std::tuple(u'B', r.formula.b, r.tuned.b),
        std::tuple(u'C', r.formula.c(), r.tuned.c()), std::tuple(u'D', r.formula.d, r.tuned.d),
        std::tuple(u'E', r.formula.e, r.tuned.e)};
    for (const auto &[letter, before, after] : rows) {
        lines.append(tr("%1 %2 → %3 %4（%5）")
                         .arg(QChar(letter))
                         .arg(numbers.toMask(before, setup.decimals),
                              numbers.toMask(after, setup.decimals), setup.unit,
                              dimensionChange(after - before, setup, locale(), false)));
    }
    // Each figure before and after on a line of its own: a narrow column beside the chart.
    lines.append(QString());
    lines.append(tr("驻波比 %1 → %2").arg(format.swr(r.before.swr), format.swr(r.after.swr)));
    lines.append(tr("前后比 %1 → %2")
                     .arg(format.frontToBack(r.before.frontToBack),
                          format.frontToBack(r.after.frontToBack)));
    lines.append(
        tr("增益 %1 → %2").arg(format.gain(r.before.forwardGain), format.gain(r.after.forwardGain)));
    if (r.before.band && r.after.band) {
        lines.append(tr("波段内最差驻波比 %1 → %2")
                         .arg(format.swr(r.before.band->worst), format.swr(r.after.band->worst)));
    }
    return lines.join(u'\n');
}

void TunePanel::updateButtons()
{
    m_start->setEnabled(m_tunable && !m_tuning);
    m_goal->setEnabled(!m_tuning);
    m_stop->setVisible(m_tuning);
    m_export->setEnabled(m_haveResult && !m_tuning);
}

} // namespace moxon
