#include "analysispanel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace moxon {

AnalysisPanel::AnalysisPanel(const QString &name, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    m_start = new QPushButton(this);
    m_start->setObjectName(name + QStringLiteral("Start"));
    m_stop = new QPushButton(this);
    m_stop->setObjectName(name + QStringLiteral("Cancel"));
    m_status = new QLabel(this);
    m_status->setObjectName(name + QStringLiteral("Status"));
    m_status->setWordWrap(true);
    m_result = new QLabel(this);
    m_result->setObjectName(name + QStringLiteral("Result"));
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_result->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_form = new QVBoxLayout;
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_start);
    buttons->addWidget(m_stop);
    buttons->addStretch(1);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addLayout(m_form);
    outer->addLayout(buttons);
    outer->addWidget(m_status);
    outer->addWidget(m_result);
    outer->addStretch(1);

    connect(m_stop, &QPushButton::clicked, this, &AnalysisPanel::cancelRequested);
    // Esc stops the analysis of the page in view; the tuning's own Esc is the window's.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_running) {
            Q_EMIT cancelRequested();
        }
    });
    updateButtons();
}

void AnalysisPanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange || event->type() == QEvent::LocaleChange) {
        retranslate();
    }
}

void AnalysisPanel::retranslate()
{
    m_stop->setText(tr("取消"));
    if (m_statusText) {
        m_status->setText(m_statusText());
    }
    if (m_resultText) {
        m_result->setText(m_resultText());
    }
}

void AnalysisPanel::showStatus(std::function<QString()> text)
{
    m_statusText = std::move(text);
    m_status->setText(m_statusText());
}

void AnalysisPanel::showResultLines(std::function<QString()> lines)
{
    m_resultText = std::move(lines);
    m_result->setText(m_resultText ? m_resultText() : QString());
}

void AnalysisPanel::setAvailable(bool available)
{
    m_available = available;
    updateButtons();
}

void AnalysisPanel::showStarted()
{
    m_running = true;
    showResultLines({});
    clearResult();
    showStatus([this] { return runningText() + QStringLiteral("…"); });
    updateButtons();
}

void AnalysisPanel::showProgress(const AnalysisProgress &progress)
{
    if (!m_running) {
        return;
    }
    showStatus([this, progress] {
        return tr("%1：nec2c 已运行 %2 次（第 %3 轮）")
            .arg(runningText())
            .arg(progress.engineRuns)
            .arg(progress.round);
    });
}

void AnalysisPanel::finish()
{
    m_running = false;
    updateButtons();
}

void AnalysisPanel::showEnded(AnalysisEnd end, const QString &message)
{
    const bool wasRunning = m_running;
    m_running = false;
    showResultLines({});
    clearResult();
    switch (end) {
    case AnalysisEnd::Cancelled:
        showStatus([] { return tr("已取消。"); });
        break;
    case AnalysisEnd::Failed:
        showStatus([message] { return message; });
        break;
    case AnalysisEnd::Voided:
        // A new design or installation: a run in flight was ended, a result forgotten.
        showStatus([wasRunning] { return wasRunning ? tr("已取消。") : QString(); });
        break;
    }
    updateButtons();
}

void AnalysisPanel::updateButtons()
{
    m_start->setEnabled(canStart());
    m_stop->setVisible(m_running);
}

} // namespace moxon
