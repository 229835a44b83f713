#include "analysispanel.h"

#include "localenumbers.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace moxon {

AnalysisPanel::AnalysisPanel(const QString &name, Placement placement, QWidget *parent)
    : QWidget(parent)
    , m_placement(placement)
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

    m_buttons = new QHBoxLayout;
    m_buttons->addWidget(m_start);
    m_buttons->addWidget(m_stop);
    // Esc stops the analysis of the page in view, or of the row anywhere in the window.
    const bool page = placement == Placement::Page;
    auto *escape =
        new QShortcut(QKeySequence(Qt::Key_Escape), page || parent == nullptr ? this : parent);
    if (page) {
        m_buttons->addStretch(1);
        m_form = new QVBoxLayout;
        auto *outer = new QVBoxLayout(this);
        outer->setContentsMargins(4, 4, 4, 4);
        outer->addLayout(m_form);
        outer->addLayout(m_buttons);
        outer->addWidget(m_status);
        outer->addWidget(m_result);
        outer->addStretch(1);
        escape->setContext(Qt::WidgetWithChildrenShortcut);
    } else {
        m_form = new QHBoxLayout;
        auto *outer = new QHBoxLayout(this);
        outer->setContentsMargins(0, 0, 0, 0);
        outer->addLayout(m_form);
        outer->addLayout(m_buttons);
        outer->addWidget(m_status, 1);
        // The result goes where the window shows it (a tab beside the figures), not in the row.
        m_result->setContentsMargins(4, 4, 4, 4);
    }
    connect(m_stop, &QPushButton::clicked, this, &AnalysisPanel::cancelRequested);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_running) {
            Q_EMIT cancelRequested();
        }
    });
    AnalysisPanel::updateButtons();
}

void AnalysisPanel::addButton(QPushButton *button)
{
    // Before the page's closing stretch.
    m_buttons->insertWidget(m_buttons->count() - (m_placement == Placement::Page ? 1 : 0), button);
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

QString AnalysisPanel::cancelledText() const
{
    return tr("已取消。");
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
    // The keyboard stays where the user pressed: on "取消" while the run lasts, then on the
    // button that started it, rather than wherever Qt moves it from a button it disables.
    auto *pressed = qobject_cast<QPushButton *>(QApplication::focusWidget());
    m_pressed = pressed != nullptr && isAncestorOf(pressed) ? pressed : nullptr;
    updateButtons();
    if (m_pressed != nullptr) {
        m_stop->setFocus(Qt::OtherFocusReason);
    }
}

void AnalysisPanel::updateButtonsAfterRun()
{
    const bool keyboardHere = m_stop->hasFocus();
    updateButtons();
    if (keyboardHere && m_pressed != nullptr && m_pressed->isEnabled()) {
        m_pressed->setFocus(Qt::OtherFocusReason);
    }
    m_pressed = nullptr;
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

void AnalysisPanel::showFinished(std::function<QString(const QString &runs)> done, int engineRuns,
                                 double seconds, std::function<QString()> lines)
{
    m_running = false;
    showStatus([this, done = std::move(done), engineRuns, seconds] {
        return done(tr("（nec2c 运行 %1 次，%2 秒）")
                        .arg(engineRuns)
                        .arg(LocaleNumbers(locale()).toMask(seconds, 1)));
    });
    showResultLines(std::move(lines));
    updateButtonsAfterRun();
    bringResultIntoView();
}

void AnalysisPanel::bringResultIntoView()
{
    QScrollArea *area = nullptr;
    for (QWidget *up = parentWidget(); up != nullptr && area == nullptr; up = up->parentWidget()) {
        area = qobject_cast<QScrollArea *>(up);
    }
    if (area == nullptr || m_placement != Placement::Page) {
        return;
    }
    // Once the window has shown the page: the area then takes the result's height, and its
    // scroll bar's range grows with it.
    QTimer::singleShot(0, this, [this, area] {
        QEvent relayout(QEvent::LayoutRequest);
        QCoreApplication::sendEvent(area, &relayout);
        const QWidget *page = area->widget();
        const int top = m_status->mapTo(page, QPoint()).y() - 4;
        const int bottom = m_result->mapTo(page, QPoint(0, m_result->height())).y();
        const int view = area->viewport()->height();
        QScrollBar *bar = area->verticalScrollBar();
        // As little as shows the whole result, but never past the status line above it.
        if (bottom - bar->value() > view) {
            bar->setValue(std::min(top, bottom - view));
        } else if (top < bar->value()) {
            bar->setValue(top);
        }
    });
}

void AnalysisPanel::showEnded(AnalysisEnd end, const QString &message)
{
    const bool wasRunning = m_running;
    m_running = false;
    showResultLines({});
    clearResult();
    switch (end) {
    case AnalysisEnd::Cancelled:
        showStatus([this] { return cancelledText(); });
        break;
    case AnalysisEnd::Failed:
        showStatus([message] { return message; });
        break;
    case AnalysisEnd::Voided:
        // A new design or installation: a run in flight was ended, a result forgotten.
        showStatus([this, wasRunning] { return wasRunning ? cancelledText() : QString(); });
        break;
    }
    updateButtonsAfterRun();
}

void AnalysisPanel::updateButtons()
{
    m_start->setEnabled(canStart());
    m_stop->setVisible(m_running);
}

} // namespace moxon
