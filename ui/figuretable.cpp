#include "figuretable.h"

#include "checkfigureformat.h"
#include "windowtexts.h"
#include "localenumbers.h"

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
    m_dip = addRow(QT_TR_NOOP("驻波最低点"), QStringLiteral("dip"));
    m_dipCaption = m_captions.back().first;
    m_atRadio = addRow(QT_TR_NOOP("电台端"), QStringLiteral("atRadio"));
    m_radioRows = {m_captions.back().first, m_atRadio};
    m_lineLoss = addRow(QT_TR_NOOP("馈线损耗"), QStringLiteral("lineLoss"));
    m_radioRows.insert(m_radioRows.end(), {m_captions.back().first, m_lineLoss});
    m_radioBandwidth = addRow(QT_TR_NOOP("电台端带宽"), QStringLiteral("radioBandwidth"));
    m_radioRows.insert(m_radioRows.end(), {m_captions.back().first, m_radioBandwidth});
    m_lineLoss->setWordWrap(true);
    for (QLabel *label : m_radioRows) {
        label->hide(); // until there is a feed line
    }
    setInsulated(false);
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

void FigureTable::setInsulated(bool insulated)
{
    m_dip->setVisible(insulated);
    m_dipCaption->setVisible(insulated);
    m_dipMhz.reset();
    m_bareDipMhz.reset();
    m_dipsFound = false;
    showValues();
}

void FigureTable::showDips(const std::optional<double> &dipMhz,
                           const std::optional<double> &bareDipMhz)
{
    m_dipMhz = dipMhz;
    m_bareDipMhz = bareDipMhz;
    m_dipsFound = true;
    showValues();
}

void FigureTable::showRadio(const std::optional<RadioFigures> &radio, bool feedLine)
{
    m_radio = radio;
    m_feedLine = feedLine;
    for (QLabel *label : m_radioRows) {
        label->setVisible(feedLine);
    }
    showValues();
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
    showRadioValues();
    if (!m_figures) {
        const QString value = m_calculating ? pending() : noValue();
        for (QLabel *label : {m_impedance, m_swr, m_takeoff, m_gain, m_frontToBack,
                              m_bandwidthValue, m_beamwidth}) {
            label->setText(value);
        }
        showDip();
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
    showDip();
}

void FigureTable::showDip()
{
    if (!m_dipsFound) {
        m_dip->setText(m_calculating ? pending() : noValue());
    } else if (m_dipMhz && m_bareDipMhz) {
        m_dip->setText(insulationShiftCaption(*m_bareDipMhz, *m_dipMhz, locale()));
    } else if (m_dipMhz) {
        //: The SWR dip of insulated wire, where the bare wire's lies beyond the sweep.
        m_dip->setText(
            tr("%1 MHz（裸线的最低点在扫频范围之外）").arg(locale().toString(*m_dipMhz, 'f', 3)));
    } else {
        m_dip->setText(tr("在扫频范围之外"));
    }
}

void FigureTable::showRadioValues()
{
    if (!m_radio) {
        const QString value = m_calculating ? pending() : noValue();
        for (QLabel *label : {m_atRadio, m_lineLoss, m_radioBandwidth}) {
            label->setText(value);
        }
        return;
    }
    const CheckFigureFormat format(locale());
    const LocaleNumbers numbers(locale());
    m_atRadio->setText(
        tr("%1，驻波比 %2").arg(format.impedance(m_radio->feed), format.swr(m_radio->swr)));
    m_lineLoss->setText(
        tr("匹配 %1 dB，总 %2 dB；%3 W 中 %4 W 到达天线")
            .arg(numbers.toMask(m_radio->matchedLossDb, 2), numbers.toMask(m_radio->totalLossDb, 2),
                 numbers.toShort(kRadioWatts, 0), numbers.toMask(m_radio->antennaWatts, 1)));
    // The bandwidth at the radio follows once the curve is whole.
    m_radioBandwidth->setText(m_radio->sweep.isEmpty()
                                  ? pending()
                                  : format.bandwidth(m_radio->bandwidth, m_radio->frequencyMhz));
}

} // namespace moxon
