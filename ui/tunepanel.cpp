#include "tunepanel.h"

#include "checkfigureformat.h"
#include "localenumbers.h"
#include "windowtexts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QThread>

namespace moxon {

TunePanel::TunePanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("tuning"));
    m_goal = new QComboBox(this);
    m_goal->setObjectName(QStringLiteral("goal"));
    for (const TuneGoalInfo &goal : tuneGoals()) {
        m_goal->addItem(goal.caption.toString());
    }
    m_start = new QPushButton(QStringLiteral("调谐"), this);
    m_start->setObjectName(QStringLiteral("tune"));
    m_stop = new QPushButton(QStringLiteral("取消"), this);
    m_stop->setObjectName(QStringLiteral("cancelTuning"));
    m_export = new QPushButton(QStringLiteral("导出调谐模型…"), this);
    m_export->setObjectName(QStringLiteral("exportTuned"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("tuneStatus"));
    m_status->setWordWrap(true);
    m_dimensions = new QLabel(this);
    m_dimensions->setObjectName(QStringLiteral("tunedDimensions"));
    m_dimensions->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("调谐目标"), this));
    row->addWidget(m_goal);
    row->addWidget(m_start);
    row->addWidget(m_stop);
    row->addWidget(m_export);
    row->addWidget(m_status, 1);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addLayout(row);
    outer->addWidget(m_dimensions);
    m_dimensions->hide();

    connect(m_start, &QPushButton::clicked, this, &TunePanel::start);
    connect(m_stop, &QPushButton::clicked, this, &TunePanel::cancel);
    connect(m_export, &QPushButton::clicked, this, [this] {
        if (m_result && m_exportTuned) {
            m_exportTuned(m_result->tuned);
        }
    });
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), parent ? parent : this);
    connect(escape, &QShortcut::activated, this, &TunePanel::cancel);
    updateButtons();
}

TunePanel::~TunePanel()
{
    endThread();
}

void TunePanel::setSetup(std::optional<TuneSetup> setup,
                         std::function<void(const TuneDimensions &)> exportTuned)
{
    m_setup = std::move(setup);
    m_exportTuned = std::move(exportTuned);
    updateButtons();
}

void TunePanel::reset()
{
    endThread();
    m_result.reset();
    m_status->clear();
    m_dimensions->hide();
    updateButtons();
}

void TunePanel::cancel()
{
    if (!isTuning()) {
        return;
    }
    endThread();
    m_status->setText(QStringLiteral("调谐已取消。"));
    updateButtons();
}

void TunePanel::start()
{
    if (!m_setup || isTuning()) {
        return;
    }
    m_result.reset();
    m_dimensions->hide();
    const quint64 id = ++m_id;
    const TuneGoal goal = tuneGoals()[std::size_t(std::max(0, m_goal->currentIndex()))].goal;
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    m_cancel = cancelled;
    const TuneSetup setup = *m_setup;
    // The thread reports through queued calls; the panel waits for it before it goes away.
    m_thread = QThread::create([this, id, goal, setup, cancelled] {
        const TuneResult result =
            tune(goal, setup.formula, setup.decimals,
                 nec2cTuneEngine(setup.requestFor, {}, [cancelled] { return cancelled->load(); }),
                 [this, id, cancelled](const TuneProgress &step) {
                     QMetaObject::invokeMethod(
                         this, [this, id, step] { progress(id, step); }, Qt::QueuedConnection);
                     return !cancelled->load();
                 });
        QMetaObject::invokeMethod(
            this, [this, id, result] { finished(id, result); }, Qt::QueuedConnection);
    });
    m_thread->start();
    m_status->setText(QStringLiteral("正在调谐…"));
    updateButtons();
}

void TunePanel::progress(quint64 id, const TuneProgress &step)
{
    if (id != m_id || !isTuning()) {
        return;
    }
    const CheckFigureFormat format(locale());
    m_status->setText(QStringLiteral("正在调谐：nec2c 已运行 %1 次，目前最佳：驻波比 %2，前后比 %3")
                          .arg(step.engineRuns)
                          .arg(format.swr(step.bestFigures.swr),
                               format.frontToBack(step.bestFigures.frontToBack)));
}

void TunePanel::finished(quint64 id, const TuneResult &result)
{
    if (id != m_id) {
        return;
    }
    endThread();
    if (result.cancelled) {
        m_status->setText(QStringLiteral("调谐已取消。"));
    } else if (!result.failure.isEmpty()) {
        m_status->setText(result.failure);
    } else {
        m_result = result;
        showResult();
        Q_EMIT tuned(result);
    }
    updateButtons();
}

void TunePanel::showResult()
{
    const TuneResult &r = *m_result;
    const LocaleNumbers numbers(locale());
    const CheckFigureFormat format(locale());
    const QString done = QStringLiteral("（nec2c 运行 %1 次，%2 秒）")
                             .arg(r.engineRuns)
                             .arg(numbers.toMask(r.seconds, 1));
    m_status->setText(
        r.goalMet ? QStringLiteral("调谐完成%1：已达目标。").arg(done)
                  : QStringLiteral("调谐完成%1：未达目标，下面是找到的最佳设计。").arg(done));
    QStringList lines;
    const std::array rows = {
        std::tuple(u'A', r.formula.a, r.tuned.a), std::tuple(u'B', r.formula.b, r.tuned.b),
        std::tuple(u'C', r.formula.c(), r.tuned.c()), std::tuple(u'D', r.formula.d, r.tuned.d),
        std::tuple(u'E', r.formula.e, r.tuned.e)};
    for (const auto &[letter, before, after] : rows) {
        lines.append(QStringLiteral("%1 %2 → %3 %4（%5）")
                         .arg(QChar(letter))
                         .arg(numbers.toMask(before, m_setup->decimals),
                              numbers.toMask(after, m_setup->decimals), m_setup->unit,
                              dimensionChange(after - before, *m_setup, locale(), false)));
    }
    const auto figures = [&format](const DesignFigures &f) {
        return QStringLiteral("驻波比 %1，前后比 %2，增益 %3")
            .arg(format.swr(f.swr), format.frontToBack(f.frontToBack), format.gain(f.forwardGain));
    };
    lines.append(QStringLiteral("调谐前：") + figures(r.before));
    lines.append(QStringLiteral("调谐后：") + figures(r.after));
    m_dimensions->setText(lines.join(u'\n'));
    m_dimensions->show();
}

void TunePanel::endThread()
{
    if (m_thread == nullptr) {
        return;
    }
    m_cancel->store(true);
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    ++m_id; // what the thread queued before it ended no longer counts
}

void TunePanel::updateButtons()
{
    m_start->setEnabled(m_setup.has_value() && !isTuning());
    m_goal->setEnabled(!isTuning());
    m_stop->setVisible(isTuning());
    m_export->setEnabled(m_result.has_value() && !isTuning());
}

} // namespace moxon
