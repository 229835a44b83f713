#include "installationpanel.h"

#include "feedlinerow.h"
#include "insulationbox.h"
#include "localenumbers.h"
#include "numberedit.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>

namespace moxon {

namespace {

// The ground list: free space, perfect ground, the named kinds of earth, then the user's own.
constexpr int kFreeSpaceItem = 0;
constexpr int kPerfectGroundItem = 1;
constexpr int kFirstGroundPresetItem = 2;

// The named conductors in the order of ConductorKind, then the user's own conductivity.
QStringList conductorCaptions()
{
    QStringList captions;
    for (const ConductorPreset &conductor : conductorPresets()) {
        captions.append(conductorCaption(conductor));
    }
    return captions << InstallationPanel::tr("自定义 σ");
}

// The ground list's captions, each with its tooltip: what a named kind of earth is.
QList<std::pair<QString, QString>> groundItems()
{
    QList<std::pair<QString, QString>> items{{InstallationPanel::tr("自由空间"), {}},
                                             {InstallationPanel::tr("理想地面"), {}}};
    for (const GroundPreset &preset : groundPresets()) {
        items.append({groundCaption(preset), InstallationPanel::tr("%1：εr %2，σ %3 S/m")
                                                 .arg(groundDescription(preset))
                                                 .arg(preset.permittivity)
                                                 .arg(preset.conductivity)});
    }
    items.append({InstallationPanel::tr("自定义地面"), {}});
    return items;
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
    for (qsizetype i = 0; i < groundItems().size(); ++i) {
        m_ground->addItem(QString());
    }
    m_permittivity = numberEdit(QStringLiteral("permittivity"), 5, this);
    m_conductivity = numberEdit(QStringLiteral("conductivity"), 7, this);
    m_conductor = new QComboBox(this);
    m_conductor->setObjectName(QStringLiteral("conductor"));
    for (qsizetype i = 0; i < conductorCaptions().size(); ++i) {
        m_conductor->addItem(QString());
    }
    m_conductorSigma = numberEdit(QStringLiteral("conductorSigma"), 9, this);

    m_insulation = new InsulationBox(this);
    m_feedLine = new FeedLineRow(this);
    layOut();

    retranslate();
    showValues();

    connect(m_ground, &QComboBox::activated, this, &InstallationPanel::groundPicked);
    connect(m_conductor, &QComboBox::activated, this, &InstallationPanel::conductorPicked);
    connect(m_insulation, &InsulationBox::edited, this,
            [this](const std::optional<Insulation> &insulation) {
                Installation next = m_installation;
                next.insulation = insulation;
                commit(next);
            });
    connect(m_feedLine, &FeedLineRow::edited, this, [this](const std::optional<FeedLine> &line) {
        Installation next = m_installation;
        next.feedLine = line;
        commit(next);
    });
    for (QLineEdit *edit : {m_height, m_permittivity, m_conductivity, m_conductorSigma}) {
        connect(edit, &QLineEdit::editingFinished, this, &InstallationPanel::typingFinished);
    }
}

void InstallationPanel::layOut()
{
    // The ground's constants and the conductor's conductivity show only where they apply.
    m_groundConstants = new QWidget(this);
    m_conductivityBox = new QWidget(this);
    // The wire and its insulation fill the first row at the window's smallest width; the feed
    // line's list starts a row of its own, its length and constants beside it, shown only with
    // a line.
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    auto *row = new QHBoxLayout;
    rows->addLayout(row);
    auto *lineRow = new QHBoxLayout;
    lineRow->setContentsMargins(0, 0, 0, 0);
    lineRow->addWidget(m_feedLine);
    lineRow->addWidget(m_feedLine->details());
    lineRow->addStretch(1);
    rows->addLayout(lineRow);
    auto *constants = new QHBoxLayout(m_groundConstants);
    auto *conductorRow = new QHBoxLayout(m_conductivityBox);
    for (QHBoxLayout *layout : {row, constants, conductorRow}) {
        layout->setContentsMargins(0, 0, 0, 0);
    }
    const auto caption = [this](QHBoxLayout *layout, const char *text, QWidget *buddy) {
        auto *label = new QLabel(buddy->parentWidget());
        label->setBuddy(buddy);
        m_captions.emplace_back(label, text);
        layout->addWidget(label);
        layout->addWidget(buddy);
    };
    m_permittivity->setParent(m_groundConstants);
    m_conductivity->setParent(m_groundConstants);
    m_conductorSigma->setParent(m_conductivityBox);
    caption(row, QT_TR_NOOP("离地高度"), m_height);
    row->addWidget(m_heightUnit);
    row->addSpacing(12);
    caption(row, QT_TR_NOOP("地面"), m_ground);
    // The symbols read the same in every language.
    caption(constants, "εr", m_permittivity);
    caption(constants, "σ", m_conductivity);
    constants->addWidget(new QLabel(QStringLiteral("S/m"), m_groundConstants));
    row->addWidget(m_groundConstants);
    row->addSpacing(12);
    caption(row, QT_TR_NOOP("导线"), m_conductor);
    conductorRow->addWidget(m_conductorSigma);
    conductorRow->addWidget(new QLabel(QStringLiteral("S/m"), m_conductivityBox));
    row->addWidget(m_conductivityBox);
    row->addSpacing(12);
    row->addWidget(m_insulation);
    row->addStretch(1);
}

void InstallationPanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        showValues();
    }
}

void InstallationPanel::retranslate()
{
    for (const auto &[label, text] : m_captions) {
        label->setText(tr(text));
    }
    const QList<std::pair<QString, QString>> grounds = groundItems();
    for (qsizetype i = 0; i < grounds.size(); ++i) {
        m_ground->setItemText(int(i), grounds.at(i).first);
        m_ground->setItemData(int(i), grounds.at(i).second, Qt::ToolTipRole);
    }
    const QStringList conductors = conductorCaptions();
    for (qsizetype i = 0; i < conductors.size(); ++i) {
        m_conductor->setItemText(int(i), conductors.at(i));
    }
}

void InstallationPanel::showInstallation(const Installation &installation, const LengthScale &scale)
{
    m_installation = installation;
    m_scale = scale;
    // The wavelength of the design frequency gives the frequency back.
    m_feedLine->showFeedLine(
        installation.feedLine, scale,
        scale.wavelengthMetres > 0 ? freeSpaceWavelength(scale.wavelengthMetres) : 0);
    showValues();
}

void InstallationPanel::groundPicked(int index)
{
    Installation next = m_installation;
    Ground &ground = next.ground;
    const std::span<const GroundPreset> presets = groundPresets();
    if (index == kFreeSpaceItem) {
        ground.kind = GroundKind::FreeSpace;
    } else if (index == kPerfectGroundItem) {
        ground.kind = GroundKind::Perfect;
    } else if (index - kFirstGroundPresetItem < qsizetype(presets.size())) {
        const GroundPreset &preset = presets[std::size_t(index - kFirstGroundPresetItem)];
        ground = {GroundKind::Real, preset.permittivity, preset.conductivity};
    } else {
        ground.kind = GroundKind::Real; // the user's own: the constants as they stand
    }
    // Over ground for the first time: half a wavelength up, a usual first height.
    if (ground.kind != GroundKind::FreeSpace && !(next.heightMetres > 0) &&
        m_scale.wavelengthMetres > 0) {
        next.heightMetres = m_scale.wavelengthMetres / 2;
    }
    commit(next);
}

void InstallationPanel::conductorPicked(int index)
{
    Installation next = m_installation;
    Conductor &conductor = next.conductor;
    switch (index) {
    case 1:
        conductor = copper();
        break;
    case 2:
        conductor = aluminium();
        break;
    case 3:
        conductor = {ConductorKind::Other,
                     conductor.conductivity > 0 ? conductor.conductivity : kAluminiumConductivity};
        break;
    default:
        conductor = {};
    }
    commit(next);
}

void InstallationPanel::typingFinished()
{
    // Only what the user typed: a shown value read back would lose the digits it was
    // rounded to.
    Installation next = m_installation;
    const std::optional<double> height = number(m_height);
    const std::optional<double> permittivity = number(m_permittivity);
    const std::optional<double> conductivity = number(m_conductivity);
    const std::optional<double> conductor = number(m_conductorSigma);
    if (!m_height->isModified() && !m_permittivity->isModified() && !m_conductivity->isModified() &&
        !m_conductorSigma->isModified()) {
        return;
    }
    if (height && next.overGround()) {
        next.heightMetres = *height * m_scale.metresPerUnit;
    }
    if (next.ground.kind == GroundKind::Real && permittivity && *permittivity >= 1 &&
        conductivity && *conductivity > 0) {
        next.ground.permittivity = *permittivity;
        next.ground.conductivity = *conductivity;
    }
    if (next.conductor.kind == ConductorKind::Other && conductor && *conductor > 0) {
        next.conductor.conductivity = *conductor;
    }
    if (next == m_installation) {
        showValues(); // a text that did not read shows the value in force again
        return;
    }
    commit(next);
}

void InstallationPanel::commit(const Installation &installation)
{
    // The session shows the installation back once it holds it; until then the panel shows
    // what is in force.
    showValues();
    Q_EMIT edited(installation);
}

void InstallationPanel::showValues()
{
    const LocaleNumbers numbers(locale());
    const Installation &i = m_installation;
    const bool overGround = i.overGround();
    const bool real = i.ground.kind == GroundKind::Real;
    const GroundPreset *preset = groundPreset(i.ground);

    m_height->setText(numbers.toShort(i.heightMetres / m_scale.metresPerUnit, 3));
    m_heightUnit->setText(
        m_scale.wavelengthMetres > 0
            ? tr("%1（%2 λ）")
                  .arg(m_scale.unit, numbers.toMask(i.heightMetres / m_scale.wavelengthMetres, 2))
            : m_scale.unit);
    m_height->setEnabled(overGround);
    m_heightUnit->setEnabled(overGround);

    int groundItem = kFreeSpaceItem;
    if (i.ground.kind == GroundKind::Perfect) {
        groundItem = kPerfectGroundItem;
    } else if (real) {
        groundItem = preset ? kFirstGroundPresetItem + int(preset - groundPresets().data())
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
    m_conductorSigma->setText(numbers.toShort(i.conductor.conductivity, 0));
    m_conductorSigma->setEnabled(i.conductor.kind == ConductorKind::Other);
    m_conductivityBox->setVisible(i.conductor.kind != ConductorKind::Perfect);
    m_insulation->showInsulation(i.insulation, m_scale.thicknessUnit,
                                 m_scale.thicknessMetresPerUnit);
}

std::optional<double> InstallationPanel::number(const QLineEdit *edit) const
{
    return edit->isModified() ? LocaleNumbers(locale()).toDouble(edit->text()) : std::nullopt;
}

} // namespace moxon
