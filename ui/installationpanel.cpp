#include "installationpanel.h"

#include "localenumbers.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>

#include <cmath>

namespace moxon {

namespace {

// The ground list: free space, perfect ground, the named kinds of earth, then the user's own.
constexpr int kFreeSpaceItem = 0;
constexpr int kPerfectGroundItem = 1;
constexpr int kFirstPresetItem = 2;

// The named metals in the order of ConductorKind, then the user's own conductivity.
QStringList conductorCaptions()
{
    QStringList captions;
    for (const ConductorPreset &metal : conductorPresets()) {
        captions.append(metal.caption.toString());
    }
    return captions << QStringLiteral("自定义 σ");
}

QSettings settings()
{
    return QSettings(QStringLiteral("moxon"), QStringLiteral("moxon"));
}

QLineEdit *numberEdit(const QString &objectName, int characters, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(u'0') * characters + 12);
    return edit;
}

} // namespace

InstallationPanel::InstallationPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("installation"));
    m_height = numberEdit(QStringLiteral("height"), 8, this);
    m_heightUnit = new QLabel(this);
    m_heightUnit->setObjectName(QStringLiteral("heightUnit"));
    m_ground = new QComboBox(this);
    m_ground->setObjectName(QStringLiteral("ground"));
    m_ground->addItems({QStringLiteral("自由空间"), QStringLiteral("理想地面")});
    for (const GroundPreset &preset : groundPresets()) {
        m_ground->addItem(preset.caption.toString());
        m_ground->setItemData(m_ground->count() - 1,
                              QStringLiteral("%1：εr %2，σ %3 S/m")
                                  .arg(preset.description.toString())
                                  .arg(preset.permittivity)
                                  .arg(preset.conductivity),
                              Qt::ToolTipRole);
    }
    m_ground->addItem(QStringLiteral("自定义地面"));
    m_permittivity = numberEdit(QStringLiteral("permittivity"), 5, this);
    m_conductivity = numberEdit(QStringLiteral("conductivity"), 7, this);
    m_conductor = new QComboBox(this);
    m_conductor->setObjectName(QStringLiteral("conductor"));
    m_conductor->addItems(conductorCaptions());
    m_metal = numberEdit(QStringLiteral("metal"), 9, this);

    // The ground's constants and the metal's conductivity show only where they apply.
    m_groundConstants = new QWidget(this);
    m_metalBox = new QWidget(this);
    auto *row = new QHBoxLayout(this);
    auto *constants = new QHBoxLayout(m_groundConstants);
    auto *metalRow = new QHBoxLayout(m_metalBox);
    for (QHBoxLayout *layout : {row, constants, metalRow}) {
        layout->setContentsMargins(0, 0, 0, 0);
    }
    const auto caption = [](QHBoxLayout *layout, const QString &text, QWidget *buddy) {
        auto *label = new QLabel(text, buddy->parentWidget());
        label->setBuddy(buddy);
        layout->addWidget(label);
        layout->addWidget(buddy);
    };
    m_permittivity->setParent(m_groundConstants);
    m_conductivity->setParent(m_groundConstants);
    m_metal->setParent(m_metalBox);
    caption(row, QStringLiteral("离地高度"), m_height);
    row->addWidget(m_heightUnit);
    row->addSpacing(12);
    caption(row, QStringLiteral("地面"), m_ground);
    caption(constants, QStringLiteral("εr"), m_permittivity);
    caption(constants, QStringLiteral("σ"), m_conductivity);
    constants->addWidget(new QLabel(QStringLiteral("S/m"), m_groundConstants));
    row->addWidget(m_groundConstants);
    row->addSpacing(12);
    caption(row, QStringLiteral("导线"), m_conductor);
    metalRow->addWidget(m_metal);
    metalRow->addWidget(new QLabel(QStringLiteral("S/m"), m_metalBox));
    row->addWidget(m_metalBox);
    row->addStretch(1);

    // What was in force when the window was last closed; what does not read stays default.
    QSettings stored = settings();
    stored.beginGroup(QStringLiteral("designCheck"));
    Installation restored;
    restored.heightMetres = stored.value(QStringLiteral("heightMetres"), 0).toDouble();
    restored.ground = {GroundKind(stored.value(QStringLiteral("ground"), 0).toInt()),
                       stored.value(QStringLiteral("permittivity"), 13).toDouble(),
                       stored.value(QStringLiteral("conductivity"), 0.005).toDouble()};
    restored.conductor = {ConductorKind(stored.value(QStringLiteral("conductor"), 0).toInt()),
                          stored.value(QStringLiteral("metal"), 0).toDouble()};
    const bool knownKinds =
        int(restored.ground.kind) >= 0 && restored.ground.kind <= GroundKind::Real &&
        int(restored.conductor.kind) >= 0 && restored.conductor.kind <= ConductorKind::Other;
    if (knownKinds && std::isfinite(restored.heightMetres) && restored.ground.permittivity >= 1 &&
        restored.ground.conductivity > 0 &&
        (restored.conductor.kind == ConductorKind::Perfect ||
         restored.conductor.conductivity > 0)) {
        m_installation = restored;
    }
    showInstallation();

    connect(m_ground, &QComboBox::activated, this, &InstallationPanel::groundPicked);
    connect(m_conductor, &QComboBox::activated, this, &InstallationPanel::conductorPicked);
    for (QLineEdit *edit : {m_height, m_permittivity, m_conductivity, m_metal}) {
        connect(edit, &QLineEdit::editingFinished, this, &InstallationPanel::edited);
    }
}

void InstallationPanel::setLengths(const QString &unit, double metresPerUnit,
                                   double wavelengthMetres)
{
    m_unit = unit;
    m_metresPerUnit = metresPerUnit;
    m_wavelength = wavelengthMetres;
    showInstallation();
}

void InstallationPanel::groundPicked(int index)
{
    Ground &ground = m_installation.ground;
    const std::span<const GroundPreset> presets = groundPresets();
    if (index == kFreeSpaceItem) {
        ground.kind = GroundKind::FreeSpace;
    } else if (index == kPerfectGroundItem) {
        ground.kind = GroundKind::Perfect;
    } else if (index - kFirstPresetItem < qsizetype(presets.size())) {
        const GroundPreset &preset = presets[std::size_t(index - kFirstPresetItem)];
        ground = {GroundKind::Real, preset.permittivity, preset.conductivity};
    } else {
        ground.kind = GroundKind::Real; // the user's own: the constants as they stand
    }
    // Over ground for the first time: half a wavelength up, a usual first height.
    if (ground.kind != GroundKind::FreeSpace && !(m_installation.heightMetres > 0) &&
        m_wavelength > 0) {
        m_installation.heightMetres = m_wavelength / 2;
    }
    commit();
}

void InstallationPanel::conductorPicked(int index)
{
    Conductor &metal = m_installation.conductor;
    switch (index) {
    case 1:
        metal = copper();
        break;
    case 2:
        metal = aluminium();
        break;
    case 3:
        metal = {ConductorKind::Other,
                 metal.conductivity > 0 ? metal.conductivity : kAluminiumConductivity};
        break;
    default:
        metal = {};
    }
    commit();
}

void InstallationPanel::edited()
{
    // Only what the user typed: a shown value read back would lose the digits it was
    // rounded to.
    Installation next = m_installation;
    const std::optional<double> height = number(m_height);
    const std::optional<double> permittivity = number(m_permittivity);
    const std::optional<double> conductivity = number(m_conductivity);
    const std::optional<double> metal = number(m_metal);
    if (!m_height->isModified() && !m_permittivity->isModified() &&
        !m_conductivity->isModified() && !m_metal->isModified()) {
        return;
    }
    if (height && next.overGround()) {
        next.heightMetres = *height * m_metresPerUnit;
    }
    if (next.ground.kind == GroundKind::Real && permittivity && *permittivity >= 1 &&
        conductivity && *conductivity > 0) {
        next.ground.permittivity = *permittivity;
        next.ground.conductivity = *conductivity;
    }
    if (next.conductor.kind == ConductorKind::Other && metal && *metal > 0) {
        next.conductor.conductivity = *metal;
    }
    if (next == m_installation) {
        showInstallation(); // a text that did not read shows the value in force again
        return;
    }
    m_installation = next;
    commit();
}

void InstallationPanel::commit()
{
    showInstallation();
    QSettings stored = settings();
    stored.beginGroup(QStringLiteral("designCheck"));
    stored.setValue(QStringLiteral("heightMetres"), m_installation.heightMetres);
    stored.setValue(QStringLiteral("ground"), int(m_installation.ground.kind));
    stored.setValue(QStringLiteral("permittivity"), m_installation.ground.permittivity);
    stored.setValue(QStringLiteral("conductivity"), m_installation.ground.conductivity);
    stored.setValue(QStringLiteral("conductor"), int(m_installation.conductor.kind));
    stored.setValue(QStringLiteral("metal"), m_installation.conductor.conductivity);
    Q_EMIT changed();
}

void InstallationPanel::showInstallation()
{
    const LocaleNumbers numbers(locale());
    const Installation &i = m_installation;
    const bool overGround = i.overGround();
    const bool real = i.ground.kind == GroundKind::Real;
    const GroundPreset *preset = groundPreset(i.ground);

    m_height->setText(numbers.toShort(i.heightMetres / m_metresPerUnit, 3));
    m_heightUnit->setText(m_wavelength > 0
                              ? QStringLiteral("%1（%2 λ）")
                                    .arg(m_unit, numbers.toMask(i.heightMetres / m_wavelength, 2))
                              : m_unit);
    m_height->setEnabled(overGround);
    m_heightUnit->setEnabled(overGround);

    int groundItem = kFreeSpaceItem;
    if (i.ground.kind == GroundKind::Perfect) {
        groundItem = kPerfectGroundItem;
    } else if (real) {
        groundItem = preset ? kFirstPresetItem + int(preset - groundPresets().data())
                            : m_ground->count() - 1;
    }
    m_ground->setCurrentIndex(groundItem);
    m_permittivity->setText(numbers.toShort(i.ground.permittivity, 4));
    m_conductivity->setText(numbers.toShort(i.ground.conductivity, 6));
    // A named kind of earth has its constants; the user's own are typed.
    m_permittivity->setEnabled(!preset);
    m_conductivity->setEnabled(!preset);
    m_groundConstants->setVisible(real);
    m_conductor->setCurrentIndex(int(i.conductor.kind));
    m_metal->setText(numbers.toShort(i.conductor.conductivity, 0));
    m_metal->setEnabled(i.conductor.kind == ConductorKind::Other);
    m_metalBox->setVisible(i.conductor.kind != ConductorKind::Perfect);
}

std::optional<double> InstallationPanel::number(const QLineEdit *edit) const
{
    return edit->isModified() ? LocaleNumbers(locale()).toDouble(edit->text()) : std::nullopt;
}

} // namespace moxon
