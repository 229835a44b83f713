#include "insulationbox.h"

#include "localenumbers.h"
#include "numberedit.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace moxon {

namespace {

// The list: bare wire, the named materials in order, then the user's own permittivity.
constexpr int kBareItem = 0;
constexpr int kFirstMaterialItem = 1;
// The thickness a wire gets when it is first insulated: the PVC jacket of common house and
// hook-up wire, in metres.
constexpr double kFirstThicknessMetres = 0.0008;

int customItem()
{
    return kFirstMaterialItem + int(insulationPresets().size());
}

} // namespace

InsulationBox::InsulationBox(QWidget *parent)
    : QWidget(parent)
    , m_lastInsulated{InsulationKind::Pvc, insulationPresets().front().permittivity,
                      kFirstThicknessMetres}
{
    m_caption = new QLabel(this);
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("insulation"));
    m_caption->setBuddy(m_kind);
    for (int i = 0; i <= customItem(); ++i) {
        m_kind->addItem(QString());
    }
    m_values = new QWidget(this);
    m_permittivity = numberEdit(QStringLiteral("insulationPermittivity"), 5, m_values);
    m_thickness = numberEdit(QStringLiteral("insulationThickness"), 6, m_values);
    m_thicknessCaption = new QLabel(m_values);
    m_thicknessCaption->setBuddy(m_thickness);
    m_thicknessUnit = new QLabel(m_values);
    m_thicknessUnit->setObjectName(QStringLiteral("insulationThicknessUnit"));

    auto *row = new QHBoxLayout(this);
    auto *values = new QHBoxLayout(m_values);
    for (QHBoxLayout *layout : {row, values}) {
        layout->setContentsMargins(0, 0, 0, 0);
    }
    row->addWidget(m_caption);
    row->addWidget(m_kind);
    // The symbol reads the same in every language.
    auto *symbol = new QLabel(QStringLiteral("εr"), m_values);
    symbol->setBuddy(m_permittivity);
    values->addWidget(symbol);
    values->addWidget(m_permittivity);
    values->addWidget(m_thicknessCaption);
    values->addWidget(m_thickness);
    values->addWidget(m_thicknessUnit);
    row->addWidget(m_values);

    retranslate();
    showValues();

    connect(m_kind, &QComboBox::activated, this, &InsulationBox::kindPicked);
    for (QLineEdit *edit : {m_permittivity, m_thickness}) {
        connect(edit, &QLineEdit::editingFinished, this, &InsulationBox::typingFinished);
    }
}

void InsulationBox::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
    if (event->type() == QEvent::LanguageChange || event->type() == QEvent::LocaleChange) {
        showValues();
    }
}

void InsulationBox::retranslate()
{
    m_caption->setText(tr("绝缘"));
    m_thicknessCaption->setText(tr("厚度"));
    m_kind->setItemText(kBareItem, tr("裸线"));
    const std::span<const InsulationPreset> presets = insulationPresets();
    for (std::size_t i = 0; i < presets.size(); ++i) {
        const int item = kFirstMaterialItem + int(i);
        m_kind->setItemText(item, insulationCaption(presets[i]));
        m_kind->setItemData(item, tr("εr %1").arg(presets[i].permittivity), Qt::ToolTipRole);
    }
    m_kind->setItemText(customItem(), tr("自定义 εr"));
    m_thickness->setToolTip(tr("从导体表面到绝缘层外表面的厚度"));
}

void InsulationBox::showInsulation(const std::optional<Insulation> &insulation, const QString &unit,
                                   double metresPerUnit)
{
    m_insulation = insulation;
    if (insulation) {
        m_lastInsulated = *insulation;
    }
    m_unit = unit;
    m_metresPerUnit = metresPerUnit;
    showValues();
}

void InsulationBox::kindPicked(int index)
{
    std::optional<Insulation> next;
    if (index != kBareItem) {
        next = m_insulation.value_or(m_lastInsulated);
        const std::span<const InsulationPreset> presets = insulationPresets();
        if (index < customItem()) {
            const InsulationPreset &preset = presets[std::size_t(index - kFirstMaterialItem)];
            next->kind = preset.kind;
            next->permittivity = preset.permittivity;
        } else {
            next->kind = InsulationKind::Other; // the user's own: the permittivity as it stands
        }
    }
    showValues(); // the session shows the insulation back once it holds it
    if (next != m_insulation) {
        Q_EMIT edited(next);
    }
}

void InsulationBox::typingFinished()
{
    if (!m_insulation || (!m_permittivity->isModified() && !m_thickness->isModified())) {
        return;
    }
    // Only what the user typed: a shown value read back would lose the digits it was rounded
    // to. The limits of the insulation's model are the check's to name; here only what cannot
    // be insulation at all goes back.
    const LocaleNumbers numbers(locale());
    Insulation next = *m_insulation;
    // NaN where nothing was typed or the text does not read: no comparison passes.
    const auto typed = [&numbers](const QLineEdit *edit) {
        return edit->isModified() ? numbers.toDouble(edit->text()).value_or(std::nan(""))
                                  : std::nan("");
    };
    const double permittivity = typed(m_permittivity);
    const double thickness = typed(m_thickness);
    if (next.kind == InsulationKind::Other && isInsulationPermittivity(permittivity)) {
        next.permittivity = permittivity;
    }
    if (thickness >= 0) {
        next.thicknessMetres = thickness * m_metresPerUnit;
    }
    showValues();
    if (next != *m_insulation) {
        Q_EMIT edited(next);
    }
}

void InsulationBox::showValues()
{
    const LocaleNumbers numbers(locale());
    if (!m_insulation) {
        m_kind->setCurrentIndex(kBareItem);
        m_values->setVisible(false);
        return;
    }
    const InsulationPreset *preset = insulationPreset(m_insulation->kind);
    m_kind->setCurrentIndex(preset ? kFirstMaterialItem + int(preset - insulationPresets().data())
                                   : customItem());
    m_values->setVisible(true);
    m_permittivity->setText(numbers.toShort(m_insulation->permittivity, 3));
    m_permittivity->setEnabled(!preset);
    // To the thousandth of a millimetre, or the ten-thousandth of an inch.
    const int decimals = m_metresPerUnit > 0.01 ? 4 : 3;
    m_thickness->setText(
        numbers.toShort(m_insulation->thicknessMetres / m_metresPerUnit, decimals));
    m_thicknessUnit->setText(m_unit);
}

} // namespace moxon
