#include "tunepanel.h"

#include "checkfigureformat.h"
#include "localenumbers.h"
#include "windowtexts.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace moxon {

TunePanel::TunePanel(QWidget *parent)
    : AnalysisPanel(QStringLiteral("tuning"), Placement::Row, parent)
{
    m_goal = new QComboBox(this);
    m_goal->setObjectName(QStringLiteral("goal"));
    for (std::size_t i = 0; i < tuneGoals().size(); ++i) {
        m_goal->addItem(QString());
    }
    m_goalCaption = new QLabel(this);
    m_goalCaption->setBuddy(m_goal);
    m_form->addWidget(m_goalCaption);
    m_form->addWidget(m_goal);
    m_export = new QPushButton(this);
    m_export->setObjectName(QStringLiteral("exportTuned"));
    addButton(m_export);

    connect(m_start, &QPushButton::clicked, this, [this] {
        Q_EMIT startRequested(tuneGoals()[std::size_t(std::max(0, m_goal->currentIndex()))].goal);
    });
    connect(m_export, &QPushButton::clicked, this, &TunePanel::exportRequested);
    retranslate();
    updateButtons();
}

void TunePanel::retranslate()
{
    for (std::size_t i = 0; i < tuneGoals().size(); ++i) {
        m_goal->setItemText(int(i), tuneGoalCaption(tuneGoals()[i]));
    }
    m_goalCaption->setText(tr("调谐目标"));
    m_start->setText(tr("调谐"));
    m_export->setText(tr("导出调谐模型…"));
    AnalysisPanel::retranslate();
}

QString TunePanel::runningText() const
{
    return tr("正在调谐");
}

QString TunePanel::cancelledText() const
{
    return tr("调谐已取消。");
}

void TunePanel::updateButtons()
{
    m_goal->setEnabled(!isRunning());
    m_export->setEnabled(hasResult() && !isRunning());
    AnalysisPanel::updateButtons();
}

void TunePanel::showProgress(const TuneProgress &step)
{
    if (!isRunning()) {
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

void TunePanel::showResult(const TuneResult &r, const TuneSetup &setup)
{
    showFinished(
        [goalMet = r.goalMet](const QString &runs) {
            return goalMet ? tr("调谐完成%1：已达目标。").arg(runs)
                           : tr("调谐完成%1：未达目标，下面是找到的最佳设计。").arg(runs);
        },
        r.engineRuns, r.seconds, [this, r, setup] { return resultLines(r, setup); });
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
    lines.append(tr("增益 %1 → %2")
                     .arg(format.gain(r.before.forwardGain), format.gain(r.after.forwardGain)));
    if (r.before.band && r.after.band) {
        lines.append(tr("波段内最差驻波比 %1 → %2")
                         .arg(format.swr(r.before.band->worst), format.swr(r.after.band->worst)));
    }
    return lines.join(u'\n');
}

} // namespace moxon
