#include "figuretable.h"

#include "checkfigureformat.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>

namespace moxon {

namespace {

// What a value label shows without a value, and while its value is being calculated.
QString noValue()
{
    return QStringLiteral("—");
}

QString pending()
{
    return QStringLiteral("…");
}

} // namespace

FigureTable::FigureTable(QWidget *parent)
    : QWidget(parent)
{
    auto *grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    grid->setVerticalSpacing(4);
    m_impedance = addRow(QT_TR_NOOP("馈点阻抗"), QStringLiteral("impedance"));
    m_swr = addRow(QT_TR_NOOP("驻波比"), QStringLiteral("swr"));
    m_takeoff = addRow(QT_TR_NOOP("主瓣仰角"), QStringLiteral("takeoff"));
    m_takeoffCaption = m_captions.back().first;
    m_gain = addRow(QT_TR_NOOP("增益"), QStringLiteral("gain"));
    m_frontToBack = addRow(QT_TR_NOOP("前后比"), QStringLiteral("frontToBack"));
    m_bandwidthValue = addRow(QT_TR_NOOP("带宽"), QStringLiteral("bandwidth"));
    m_beamwidth = addRow(QT_TR_NOOP("波束宽度"), QStringLiteral("beamwidth"));
    grid->setRowStretch(grid->rowCount(), 1);
    for (const auto &[label, text] : m_captions) {
        label->setText(tr(text));
    }
    showValues();
}

QLabel *FigureTable::addRow(const char *caption, const QString &name)
{
    auto *grid = static_cast<QGridLayout *>(layout());
    auto *value = new QLabel(noValue(), this);
    value->setObjectName(name);
    QFont font = value->font();
    font.setBold(true);
    value->setFont(font);
    auto *label = new QLabel(this);
    label->setBuddy(value);
    m_captions.emplace_back(label, caption);
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(value, row, 1, Qt::AlignVCenter);
    return value;
}

void FigureTable::showFigures(const std::optional<DesignFigures> &figures,
                              const std::optional<Bandwidth> &bandwidth, double frequencyMhz,
                              bool calculating)
{
    m_figures = figures;
    m_bandwidth = bandwidth;
    m_frequencyMhz = frequencyMhz;
    m_calculating = calculating;
    showValues();
}

void FigureTable::setOverGround(bool overGround)
{
    m_takeoff->setVisible(overGround);
    m_takeoffCaption->setVisible(overGround);
}

void FigureTable::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        for (const auto &[label, text] : m_captions) {
            label->setText(tr(text));
        }
    }
    if (event->type() == QEvent::LanguageChange || event->type() == QEvent::LocaleChange) {
        showValues();
    }
}

void FigureTable::showValues()
{
    if (!m_figures) {
        const QString value = m_calculating ? pending() : noValue();
        for (QLabel *label : {m_impedance, m_swr, m_takeoff, m_gain, m_frontToBack,
                              m_bandwidthValue, m_beamwidth}) {
            label->setText(value);
        }
        return;
    }
    const CheckFigureFormat format(locale());
    m_impedance->setText(format.impedance(m_figures->feed));
    m_swr->setText(format.swr(m_figures->swr));
    m_gain->setText(format.gain(m_figures->forwardGain));
    m_frontToBack->setText(format.frontToBack(m_figures->frontToBack));
    // Over ground the azimuth cut comes from a second run, at the take-off angle.
    m_beamwidth->setText(m_figures->azimuth.isEmpty() ? pending()
                                                      : format.beamwidth(m_figures->beamwidth));
    m_takeoff->setText(m_figures->takeoff ? format.angle(*m_figures->takeoff) : noValue());
    m_bandwidthValue->setText(m_bandwidth ? format.bandwidth(*m_bandwidth, m_frequencyMhz)
                                          : pending());
}

} // namespace moxon
