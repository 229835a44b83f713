#include "feedlinerow.h"

#include "localenumbers.h"
#include "numberedit.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace moxon {

namespace {

// The list: no line, the table's cables, then a line of one's own.
constexpr int kNoLineItem = 0;
constexpr int kFirstCableItem = 1;

// A first length for a line just chosen, metres: a usual run from the mast to the shack.
constexpr double kFirstLengthMetres = 20;

int ownLineItem()
{
    return kFirstCableItem + int(cablePresets().size());
}

} // namespace

FeedLineRow::FeedLineRow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("feedLineRow"));
    m_cable = new QComboBox(this);
    m_cable->setObjectName(QStringLiteral("feedLine"));
    for (int i = 0; i <= ownLineItem(); ++i) {
        m_cable->addItem(QString());
    }
    m_details = new QWidget(this);
    m_details->setObjectName(QStringLiteral("feedLineDetails"));
    m_lengthBox = new QWidget(m_details);
    m_ownBox = new QWidget(m_details);
    m_length = numberEdit(QStringLiteral("feedLineLength"), 7, m_lengthBox);
    m_lengthUnit = new QLabel(m_lengthBox);
    m_z0 = numberEdit(QStringLiteral("feedLineZ0"), 5, m_ownBox);
    m_velocity = numberEdit(QStringLiteral("feedLineVelocity"), 5, m_ownBox);
    m_loss = numberEdit(QStringLiteral("feedLineLoss"), 5, m_ownBox);
    m_lossUnit = new QLabel(m_ownBox);
    m_matched = new QLabel(m_details);
    m_matched->setObjectName(QStringLiteral("feedLineMatchedLoss"));

    auto *row = new QHBoxLayout(this);
    auto *detailRow = new QHBoxLayout(m_details);
    auto *lengthRow = new QHBoxLayout(m_lengthBox);
    auto *ownRow = new QHBoxLayout(m_ownBox);
    for (QHBoxLayout *layout : {row, detailRow, lengthRow, ownRow}) {
        layout->setContentsMargins(0, 0, 0, 0);
    }
    const auto caption = [this](QHBoxLayout *layout, const char *text, QWidget *buddy) {
        auto *label = new QLabel(buddy->parentWidget());
        label->setBuddy(buddy);
        m_captions.emplace_back(label, text);
        layout->addWidget(label);
        layout->addWidget(buddy);
    };
    caption(row, QT_TR_NOOP("馈线"), m_cable);
    caption(lengthRow, QT_TR_NOOP("长度"), m_length);
    lengthRow->addWidget(m_lengthUnit);
    detailRow->addWidget(m_lengthBox);
    // Z0 and VF read the same in every language.
    caption(ownRow, "Z0", m_z0);
    ownRow->addWidget(new QLabel(QStringLiteral("Ω"), m_ownBox));
    caption(ownRow, "VF", m_velocity);
    caption(ownRow, QT_TR_NOOP("匹配损耗"), m_loss);
    ownRow->addWidget(m_lossUnit);
    detailRow->addWidget(m_ownBox);
    detailRow->addWidget(m_matched);
    detailRow->addStretch(1);

    retranslate();
    showValues();
    connect(m_cable, &QComboBox::activated, this, &FeedLineRow::cablePicked);
    for (QLineEdit *edit : {m_length, m_z0, m_velocity, m_loss}) {
        connect(edit, &QLineEdit::editingFinished, this, &FeedLineRow::typingFinished);
    }
}

void FeedLineRow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
    if (event->type() == QEvent::LanguageChange || event->type() == QEvent::LocaleChange) {
        showValues();
    }
}

void FeedLineRow::retranslate()
{
    for (const auto &[label, text] : m_captions) {
        label->setText(tr(text));
    }
    m_cable->setItemText(kNoLineItem, tr("无（馈点）"));
    const std::span<const CablePreset> presets = cablePresets();
    for (std::size_t i = 0; i < presets.size(); ++i) {
        const CablePreset &preset = presets[i];
        const int item = kFirstCableItem + int(i);
        m_cable->setItemText(item, preset.name.toString());
        m_cable->setItemData(item,
                             tr("%1：%2 Ω，速度因子 %3")
                                 .arg(QString::fromLatin1(preset.maker))
                                 .arg(preset.z0Ohm)
                                 .arg(preset.velocityFactor),
                             Qt::ToolTipRole);
    }
    m_cable->setItemText(ownLineItem(), tr("自定义馈线"));
    m_cable->setToolTip(tr("天线到电台之间的同轴电缆：检查另给出电台端的阻抗、驻波比与馈线损耗"));
}

void FeedLineRow::showFeedLine(const std::optional<FeedLine> &line, const LengthScale &scale,
                               double designMhz)
{
    m_line = line;
    m_scale = scale;
    m_designMhz = designMhz;
    showValues();
}

double FeedLineRow::defaultLengthMetres() const
{
    return m_line ? m_line->lengthMetres : kFirstLengthMetres;
}

void FeedLineRow::cablePicked(int index)
{
    std::optional<FeedLine> next;
    const std::span<const CablePreset> presets = cablePresets();
    if (index >= kFirstCableItem && index < ownLineItem()) {
        next =
            FeedLine{cableOf(presets[std::size_t(index - kFirstCableItem)]), defaultLengthMetres()};
    } else if (index == ownLineItem()) {
        // A line of one's own starts from the cable in force, or from the table's first.
        const Cable from = m_line ? m_line->cable : cableOf(presets.front());
        const double at = m_designMhz > 0 ? m_designMhz : 14;
        next = FeedLine{customCable(from.z0Ohm, from.velocityFactor, from.loss.dbPer100m(at), at),
                        defaultLengthMetres()};
    }
    if (next != m_line) {
        showValues(); // the line in force until the session holds the new one
        Q_EMIT edited(next);
    }
}

void FeedLineRow::typingFinished()
{
    if (!m_line) {
        return;
    }
    FeedLine next = *m_line;
    if (const std::optional<double> length = number(m_length); length && *length > 0) {
        next.lengthMetres = *length * m_scale.metresPerUnit;
    }
    if (next.cable.name == kCustomCable && m_designMhz > 0) {
        const std::optional<double> z0 = number(m_z0);
        const std::optional<double> velocity = number(m_velocity);
        const std::optional<double> loss = number(m_loss);
        Cable &cable = next.cable;
        const double z0Ohm = z0 && *z0 > 0 ? *z0 : cable.z0Ohm;
        const double factor =
            velocity && *velocity > 0 && *velocity <= 1 ? *velocity : cable.velocityFactor;
        const double dbPer100m = loss && *loss >= 0 ? *loss : cable.loss.dbPer100m(m_designMhz);
        cable = customCable(z0Ohm, factor, dbPer100m, m_designMhz);
    }
    if (next == *m_line) {
        showValues(); // a text that did not read shows the value in force again
        return;
    }
    showValues();
    Q_EMIT edited(next);
}

void FeedLineRow::showValues()
{
    const LocaleNumbers numbers(locale());
    m_details->setVisible(m_line.has_value());
    m_ownBox->setVisible(m_line && m_line->cable.name == kCustomCable);
    m_matched->setVisible(m_line && m_line->cable.name != kCustomCable && m_designMhz > 0);
    m_lengthUnit->setText(m_scale.unit);
    m_lossUnit->setText(tr("dB/100 m（%1 MHz）").arg(numbers.toShort(m_designMhz, 4)));
    if (!m_line) {
        m_cable->setCurrentIndex(kNoLineItem);
        return;
    }
    const Cable &cable = m_line->cable;
    const CablePreset *preset = cablePreset(cable.name);
    m_cable->setCurrentIndex(preset ? kFirstCableItem + int(preset - cablePresets().data())
                                    : ownLineItem());
    m_length->setText(numbers.toShort(m_line->lengthMetres / m_scale.metresPerUnit, 3));
    m_z0->setText(numbers.toShort(cable.z0Ohm, 2));
    m_velocity->setText(numbers.toShort(cable.velocityFactor, 3));
    const double loss = m_designMhz > 0 ? cable.loss.dbPer100m(m_designMhz) : 0;
    m_loss->setText(numbers.toShort(loss, 2));
    m_matched->setText(tr("%1 Ω，VF %2，%3 dB/100 m（%4 MHz）")
                           .arg(numbers.toShort(cable.z0Ohm, 1),
                                numbers.toShort(cable.velocityFactor, 2), numbers.toMask(loss, 2),
                                numbers.toShort(m_designMhz, 4)));
}

std::optional<double> FeedLineRow::number(const QLineEdit *edit) const
{
    return edit->isModified() ? LocaleNumbers(locale()).toDouble(edit->text()) : std::nullopt;
}

} // namespace moxon
