#include "frmmoxon.h"

#include "antennadiagram.h"
#include "appicon.h"
#include "checkmodule.h"
#include "dialogs.h"
#include "frame.h"
#include "layouttable.h"
#include "moduleloader.h"
#include "translation.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include <algorithm>
#include <array>
#include <vector>

namespace moxon {

using layout::LayoutRow;

namespace {

// Twips are 1/1440 inch; the window's layout is designed in them.
constexpr double kTwipsPerInch = 1440.0;

// Client area of the window, in twips.
constexpr int kClientWidthTwips = 9960;
constexpr int kClientHeightTwips = 5640;

// The controls the command buttons and the display-unit options run, by name.
struct Handler
{
    QStringView control;
    void (frmMoxon::*handler)();
};

const std::array kButtonHandlers = {
    Handler{u"btnCalculate", &frmMoxon::btnCalculate_Click},
    Handler{u"btnModel", &frmMoxon::btnModel_Click},
    Handler{u"btnPrint", &frmMoxon::btnPrint_Click},
    Handler{u"btnClose", &frmMoxon::btnClose_Click},
};
const std::array kOptionHandlers = {
    Handler{u"optFT", &frmMoxon::optFT_Click},
    Handler{u"optIN", &frmMoxon::optIN_Click},
    Handler{u"optM", &frmMoxon::optM_Click},
    Handler{u"optMM", &frmMoxon::optMM_Click},
};

constexpr std::array<QStringView, 5> kResultBoxes = {u"txtA", u"txtB", u"txtC", u"txtD", u"txtE"};
constexpr std::array<QStringView, 5> kUnitLabels = {u"lblA", u"lblB", u"lblC", u"lblD", u"lblE"};

// The window, the two frames and the four display-unit options: the labels are transparent
// and the text boxes keep the window colour, so these seven are all the sheet turns white.
constexpr std::array<QStringView, 7> kSheetControls = {u"frmMoxon", u"Frame1", u"Frame2", u"optFT",
                                                       u"optIN",    u"optM",   u"optMM"};

} // namespace

frmMoxon::frmMoxon(QWidget *parent)
    : frmMoxon(UiLanguage::Chinese, std::make_shared<EngineScheduler>(), parent)
{
}

frmMoxon::frmMoxon(UiLanguage language, std::shared_ptr<EngineScheduler> engines, QWidget *parent)
    : QWidget(parent)
    , m_session(*this, LocaleNumbers(QLocale()), std::move(engines))
{
    // Before any caption is made, so that each is made once, in its language.
    setLanguage(language);
    setObjectName(QStringLiteral("frmMoxon"));
    setWindowTitle(tr("Moxon 方框天线计算器"));
    setIconAfterFirstPaint(*this);
    // Every control inherits the caption face.
    setFont(CaptionFace::captionFont());
    // Fixed single border: no resizing and nothing to maximize.
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setFixedSize(twipsToPixelsX(kClientWidthTwips), twipsToPixelsY(kClientHeightTwips));

    createControls();
    orderTabStops();
    connectControls();
    m_txtFreq->setFocus(Qt::OtherFocusReason);

    Form_Load();
}

int frmMoxon::twipsToPixelsX(int twips) const
{
    return qRound(twips * logicalDpiX() / kTwipsPerInch);
}
int frmMoxon::twipsToPixelsY(int twips) const
{
    return qRound(twips * logicalDpiY() / kTwipsPerInch);
}

QWidget *frmMoxon::control(const QString &name) const
{
    if (name == objectName()) {
        return const_cast<frmMoxon *>(this);
    }
    return m_controls.value(name);
}

template<typename Widget> Widget *frmMoxon::typed(QStringView name) const
{
    auto *widget = qobject_cast<Widget *>(control(name.toString()));
    // The layout table makes every control; one of another kind is a programming error.
    Q_ASSERT(widget);
    return widget;
}

void frmMoxon::createControls()
{
    for (const LayoutRow &row : layout::rows()) {
        const LayoutRow *container =
            row.container.isEmpty() ? nullptr : layout::findRow(row.container);
        QWidget *parent = container ? m_controls.value(container->name.toString()) : this;
        Q_ASSERT(parent);
        QWidget *widget = layout::createWidget(row, parent);
        widget->setObjectName(row.name.toString());
        m_controls.insert(widget->objectName(), widget);
        layout::placeControl(row, *widget, *this);
    }
    m_txtFreq = typed<QLineEdit>(u"txtFreq");
    m_txtWD = typed<QLineEdit>(u"txtWD");
    m_cboDiaUnits = typed<QComboBox>(u"cboDiaUnits");
    m_btnCalculate = typed<QPushButton>(u"btnCalculate");
    for (std::size_t i = 0; i < kResultBoxes.size(); ++i) {
        m_results.at(i) = typed<QLineEdit>(kResultBoxes.at(i));
        m_unitLabels.at(i) = typed<QLabel>(kUnitLabels.at(i));
    }
    for (std::size_t i = 0; i < kSheetControls.size(); ++i) {
        m_sheetControls.at(i) = typed<QWidget>(kSheetControls.at(i));
    }
    m_btnCalculate->setDefault(true);
}

void frmMoxon::retranslate()
{
    setWindowTitle(tr("Moxon 方框天线计算器"));
    // Every caption anew from the table, its control placed as the design places it for the
    // new text, so that the window looks as it would have had it started in this language.
    for (const LayoutRow &row : layout::rows()) {
        if (row.text.caption == nullptr) {
            continue;
        }
        QWidget *widget = m_controls.value(row.name.toString());
        const QString caption = row.text.toString();
        if (auto *frame = qobject_cast<Frame *>(widget)) {
            frame->setTitle(caption);
        } else if (auto *label = qobject_cast<QLabel *>(widget)) {
            label->setText(caption);
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            button->setText(caption);
        }
        layout::placeControl(row, *widget, *this);
    }
}

void frmMoxon::orderTabStops()
{
    std::vector<std::pair<int, QWidget *>> stops;
    for (const LayoutRow &row : layout::rows()) {
        QWidget *widget = m_controls.value(row.name.toString());
        if (row.tab >= 0 && widget->focusPolicy() != Qt::NoFocus) {
            stops.emplace_back(row.tab, widget);
        }
    }
    std::sort(stops.begin(), stops.end());
    for (std::size_t i = 1; i < stops.size(); ++i) {
        QWidget::setTabOrder(stops[i - 1].second, stops[i].second);
    }
}

void frmMoxon::connectControls()
{
    for (const Handler &entry : kButtonHandlers) {
        connect(typed<QAbstractButton>(entry.control), &QAbstractButton::clicked, this,
                entry.handler);
    }
    for (const Handler &entry : kOptionHandlers) {
        connect(typed<QAbstractButton>(entry.control), &QAbstractButton::toggled, this,
                [this, handler = entry.handler](bool selected) {
                    if (selected) {
                        (this->*handler)();
                    }
                });
    }
    // What the user types and picks goes to the session at once; what the session writes
    // back (setText, setCurrentIndex) raises none of these.
    connect(m_txtFreq, &QLineEdit::textEdited, this,
            [this](const QString &text) { m_session.setFrequencyText(text); });
    connect(m_txtWD, &QLineEdit::textEdited, this,
            [this](const QString &text) { m_session.setWireSizeText(text); });
    connect(m_cboDiaUnits, &QComboBox::activated, this,
            [this](int index) { m_session.setWireUnit(wireUnits().at(std::size_t(index)).unit); });
    connect(typed<QRadioButton>(u"optEZNEC"), &QRadioButton::toggled, this,
            [this](bool on) { m_session.setFormat(on ? ModelFormat::Eznec : ModelFormat::Nec); });
    connect(typed<QRadioButton>(u"optVert"), &QRadioButton::toggled, this,
            [this](bool on) { m_session.setVertical(on); });
    connect(typed<QRadioButton>(u"optXaxis"), &QRadioButton::toggled, this,
            [this](bool on) { m_session.setXAxis(on); });

    auto *diagram = typed<AntennaDiagram>(u"Image1");
    connect(diagram, &AntennaDiagram::checkRequested, this, &frmMoxon::openCheck);
    connect(diagram, &AntennaDiagram::languageChosen, this, &frmMoxon::chooseLanguage);
    diagram->setLanguage(m_translation.language());
    auto *checkShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), this);
    connect(checkShortcut, &QShortcut::activated, this, &frmMoxon::openCheck);
}

void frmMoxon::openCheck()
{
    if (!m_check) {
        const auto create = reinterpret_cast<CreateCheckWindow>(
            moduleEntry(QStringLiteral("check"), kCreateCheckWindowEntry));
        if (!create) {
            showMessageBox({MessageKind::Failure, QStringLiteral("Design Check"),
                            QStringLiteral("The design check could not be opened: its module "
                                           "moxon-check.so was not found or could not be "
                                           "loaded.")},
                           this);
            return;
        }
        m_check = create(this, m_session);
        m_session.setCheckView(m_check);
    }
    QWidget *window = m_check->window();
    window->show();
    window->raise();
    window->activateWindow();
    m_session.checkShownDesign();
}

bool frmMoxon::setLanguage(UiLanguage language)
{
    if (!m_translation.setLanguage(language)) {
        return false;
    }
    // Qt posts QEvent::LanguageChange to every window once the translator changes; the texts
    // follow in changeEvent, on the next turn of the event loop.
    if (auto *diagram =
            qobject_cast<AntennaDiagram *>(m_controls.value(QStringLiteral("Image1")))) {
        diagram->setLanguage(m_translation.language());
    }
    return true;
}

void frmMoxon::chooseLanguage(UiLanguage language)
{
    if (setLanguage(language)) {
        storeUiLanguage(language);
    } else {
        showMessageBox({MessageKind::Failure, QStringLiteral("Language"),
                        QStringLiteral("The English captions could not be loaded; the window "
                                       "stays in Chinese.")},
                       this);
    }
}

void frmMoxon::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange && !m_controls.isEmpty()) {
        retranslate();
    }
}

frmMoxon::~frmMoxon()
{
    if (m_check) {
        m_session.setCheckView(nullptr);
        delete m_check->window();
        m_check = nullptr;
    }
}

void frmMoxon::closeEvent(QCloseEvent *event)
{
    if (m_check) {
        m_check->window()->close();
    }
    QWidget::closeEvent(event);
}

void frmMoxon::Form_Load()
{
    m_session.formLoad();
}
void frmMoxon::btnCalculate_Click()
{
    m_session.calculate();
}
void frmMoxon::optFT_Click()
{
    m_session.selectDisplayUnit(DisplayUnit::Feet);
}
void frmMoxon::optIN_Click()
{
    m_session.selectDisplayUnit(DisplayUnit::Inch);
}
void frmMoxon::optM_Click()
{
    m_session.selectDisplayUnit(DisplayUnit::Metre);
}
void frmMoxon::optMM_Click()
{
    m_session.selectDisplayUnit(DisplayUnit::Millimetre);
}
void frmMoxon::btnModel_Click()
{
    m_session.exportModel();
}
void frmMoxon::btnPrint_Click()
{
    m_session.print();
}
void frmMoxon::btnClose_Click()
{
    m_session.close();
}

void frmMoxon::keyPressEvent(QKeyEvent *event)
{
    const auto press = [this](QStringView name) {
        auto *button = typed<QAbstractButton>(name);
        if (button->isVisibleTo(this) && button->isEnabled()) {
            button->click();
        }
    };
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        if (auto *focused = qobject_cast<QPushButton *>(focusWidget())) {
            focused->click();
        } else {
            press(u"btnCalculate");
        }
        return;
    }
    if (modifiers == Qt::NoModifier && event->key() == Qt::Key_Escape) {
        press(u"btnClose");
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace moxon
