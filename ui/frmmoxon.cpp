#include "frmmoxon.h"

#include "antennadiagram.h"
#include "appicon.h"
#include "checkmodule.h"
#include "dialogs.h"
#include "frame.h"
#include "moduleloader.h"
#include "translation.h"
#include "windowprinter.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include <algorithm>
#include <array>
#include <vector>

namespace moxon {

namespace {

// Twips are 1/1440 inch; the window's layout is designed in them.
constexpr double kTwipsPerInch = 1440.0;

// The design's border: the outer width less the client width, in twips.
constexpr int kBorderTwips = 90;

// Client area of the window, in twips.
constexpr int kClientWidthTwips = 9960;
constexpr int kClientHeightTwips = 5640;

enum class Kind
{
    Frame,
    Label,        // sizes itself to its text
    FixedLabel,   // keeps its design size
    WrappedLabel, // keeps its design width and wraps its text
    LetterLabel,  // sizes itself to its text, in the bold letter font
    InputBox,
    ResultBox,
    DropDown,
    Button,
    Option,
    Picture,
};

// A control's caption or initial text. Written u"..." it is shown as it is: a value, a unit, a
// letter, a program's name. Written QT_TRANSLATE_NOOP("moxon::frmMoxon", "...") it is a caption
// in the window's language, looked up when the control shows it. The table's entries convert
// implicitly, so that each reads as the text it shows.
struct ControlText
{
    constexpr ControlText() = default;
    constexpr ControlText(const char16_t *fixed)
        : fixed(fixed)
    {
    }
    constexpr ControlText(const char *caption)
        : caption(caption)
    {
    }

    [[nodiscard]] QString toString() const
    {
        return caption != nullptr ? frmMoxon::tr(caption) : fixed.toString();
    }

    QStringView fixed;
    const char *caption = nullptr; // UTF-8, the source text of its translation
};

// One control as the window's design lays it out. Positions are the control's left and top
// edge in the window's client area, in twips, also for a control inside a frame.
struct ControlSpec
{
    QStringView name;
    Kind kind = Kind::Label;
    QStringView container; // the frame it belongs to; empty for the window itself
    int left = 0;          // twips
    int top = 0;           // twips
    int width = 0;         // twips
    int height = 0;        // twips; 0 for the drop-down list, whose height follows its font
    ControlText text;      // caption or initial text; the drop-down's entries, one a line
    int tab = -1;          // place in the tab order; -1 for a control that has none
    bool selected = false; // option buttons selected in the design
};

// Containers come before what they hold, and a control listed later lies above one listed
// earlier: txtB to txtE and btnModel sit on the window over the area of a frame.
constexpr std::array kControls = {
    ControlSpec{u"Frame1", Kind::Frame, {}, 120, 120, 7695, 5415, {}, 20},
    ControlSpec{u"Label1", Kind::Label, u"Frame1", 360, 540, 750, 195,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "工作频率"), 23},
    ControlSpec{u"txtFreq", Kind::InputBox, u"Frame1", 1200, 480, 855, 315, u"146", 1},
    ControlSpec{u"Label8", Kind::FixedLabel, u"Frame1", 2160, 540, 495, 255, u"MHz", 31},
    ControlSpec{u"Label2", Kind::Label, u"Frame1", 3120, 540, 645, 195,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "线材尺寸"), 22},
    ControlSpec{u"txtWD", Kind::InputBox, u"Frame1", 3840, 480, 855, 315, u"#12", 2},
    ControlSpec{u"cboDiaUnits", Kind::DropDown, u"Frame1", 4800, 480, 795, 0, u"in\nmm\nAWG", 3},
    ControlSpec{u"btnCalculate", Kind::Button, u"Frame1", 6240, 450, 1200, 375,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "&计     算"), 4},

    ControlSpec{u"Image1", Kind::Picture, u"Frame1", 240, 1110, 5670, 4260, {}, -1, false},
    ControlSpec{u"Label9", Kind::LetterLabel, u"Frame1", 2415, 1620, 135, 195, u"A", 37},
    ControlSpec{u"Label10", Kind::LetterLabel, u"Frame1", 4755, 2550, 135, 195, u"B", 38},
    ControlSpec{u"Label11", Kind::LetterLabel, u"Frame1", 4995, 3195, 135, 195, u"C", 39},
    ControlSpec{u"Label12", Kind::LetterLabel, u"Frame1", 4755, 4020, 150, 195, u"D", 40},
    ControlSpec{u"Label13", Kind::LetterLabel, u"Frame1", 5385, 3375, 135, 195, u"E", 41},
    ControlSpec{u"Label14", Kind::Label, u"Frame1", 2115, 2235, 705, 195,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", " 馈电点"), 42},
    ControlSpec{u"Label15", Kind::WrappedLabel, u"Frame1", 750, 2730, 660, 390,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "驱动      单元"), 43},
    ControlSpec{u"Label16", Kind::Label, u"Frame1", 750, 4140, 645, 195,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "反射 单元"), 44},

    ControlSpec{u"Label3", Kind::LetterLabel, u"Frame1", 6120, 1260, 135, 195, u"A", 21},
    ControlSpec{u"Label4", Kind::LetterLabel, u"Frame1", 6120, 1860, 135, 195, u"B", 24},
    ControlSpec{u"Label5", Kind::LetterLabel, u"Frame1", 6120, 2460, 135, 195, u"C", 25},
    ControlSpec{u"Label6", Kind::LetterLabel, u"Frame1", 6120, 3060, 150, 195, u"D", 26},
    ControlSpec{u"Label7", Kind::LetterLabel, u"Frame1", 6120, 3660, 135, 195, u"E", 27},
    ControlSpec{u"txtA", Kind::ResultBox, u"Frame1", 6360, 1200, 960, 285, {}, 29},
    ControlSpec{u"lblA", Kind::Label, u"Frame1", 7380, 1260, 120, 195, u"in", 32},
    ControlSpec{u"lblB", Kind::Label, u"Frame1", 7380, 1860, 120, 195, u"in", 33},
    ControlSpec{u"lblC", Kind::Label, u"Frame1", 7380, 2460, 120, 195, u"in", 34},
    ControlSpec{u"lblD", Kind::Label, u"Frame1", 7380, 3060, 120, 195, u"in", 35},
    ControlSpec{u"lblE", Kind::Label, u"Frame1", 7380, 3660, 120, 195, u"in", 36},

    ControlSpec{u"Frame2", Kind::Frame, u"Frame1", 6120, 4050, 1455, 1320,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "单         位"), 30},
    ControlSpec{u"optFT", Kind::Option, u"Frame2", 6360, 4290, 975, 240,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "英 尺"), 5},
    ControlSpec{u"optIN", Kind::Option, u"Frame2", 6360, 4530, 975, 240,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "英  吋"), 6, true},
    ControlSpec{u"optM", Kind::Option, u"Frame2", 6360, 4770, 975, 240,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "米"), 7},
    ControlSpec{u"optMM", Kind::Option, u"Frame2", 6360, 5010, 1095, 240,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "毫  米"), 8},

    ControlSpec{u"txtB", Kind::ResultBox, {}, 6360, 1800, 960, 285, {}, 28},
    ControlSpec{u"txtC", Kind::ResultBox, {}, 6360, 2400, 960, 285, {}, 0},
    ControlSpec{u"txtD", Kind::ResultBox, {}, 6360, 3000, 960, 285, {}, 18},
    ControlSpec{u"txtE", Kind::ResultBox, {}, 6360, 3600, 960, 285, {}, 19},

    ControlSpec{u"Frame3", Kind::Frame, {}, 8040, 120, 1815, 3855, {}, 45},
    ControlSpec{u"Frame4", Kind::Frame, u"Frame3", 8280, 960, 1335, 855,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "仿真软件"), 46},
    ControlSpec{u"optEZNEC", Kind::Option, u"Frame4", 8400, 1200, 875, 255, u"EZNEC", 10, true},
    ControlSpec{u"optNEC", Kind::Option, u"Frame4", 8400, 1440, 875, 255, u"NEC", 11},
    ControlSpec{u"Frame5", Kind::Frame, u"Frame3", 8280, 1920, 1335, 855,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "极化方式"), 47},
    ControlSpec{u"optHorz", Kind::Option, u"Frame5", 8400, 2160, 1095, 255,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "水平"), 12, true},
    ControlSpec{u"optVert", Kind::Option, u"Frame5", 8400, 2400, 1095, 255,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "垂直"), 13},
    ControlSpec{u"Frame6", Kind::Frame, u"Frame3", 8280, 2880, 1335, 855,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "辐射方向"), 48},
    ControlSpec{u"optXaxis", Kind::Option, u"Frame6", 8400, 3120, 1095, 255,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "在 X 轴上"), 14, true},
    ControlSpec{u"optYaxis", Kind::Option, u"Frame6", 8400, 3360, 1155, 255,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "在 Y 轴上"), 15},
    ControlSpec{u"btnModel", Kind::Button, QStringView(), 8280, 450, 1335, 375,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "&导出仿真文件"), 9},

    ControlSpec{u"btnPrint", Kind::Button, QStringView(), 8400, 4320, 1095, 495,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "&打印"), 16},
    ControlSpec{u"btnClose", Kind::Button, QStringView(), 8400, 5040, 1095, 495,
                QT_TRANSLATE_NOOP("moxon::frmMoxon", "退出"), 17},
};

const ControlSpec *findDesign(QStringView name)
{
    const auto found =
        std::find_if(kControls.begin(), kControls.end(),
                     [name](const ControlSpec &design) { return design.name == name; });
    return found == kControls.end() ? nullptr : &*found;
}

// The ten letter labels: the caption face in bold, 8.25 points, a face that is always there.
QFont letterFont(const QFont &captionFont)
{
    QFont font = captionFont;
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Bold);
    return font;
}

QLabel *createLabel(const ControlSpec &design, QWidget *parent)
{
    auto *label = new QLabel(design.text.toString(), parent);
    // Captions are plain text, never markup; labels draw no background of their own, so the
    // window, frame or picture behind them shows through.
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(false);
    // Nor do they take the mouse: a click on a caption over the picture reaches the picture.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (design.kind == Kind::LetterLabel) {
        label->setFont(letterFont(parent->font()));
    }
    if (design.kind == Kind::WrappedLabel) {
        label->setWordWrap(true);
    }
    label->setProperty(kAutoSizeProperty,
                       design.kind == Kind::Label || design.kind == Kind::LetterLabel);
    return label;
}

QWidget *createWidget(const ControlSpec &design, QWidget *parent)
{
    switch (design.kind) {
    case Kind::Frame:
        return new Frame(design.text.toString(), parent);
    case Kind::Label:
    case Kind::FixedLabel:
    case Kind::WrappedLabel:
    case Kind::LetterLabel:
        return createLabel(design, parent);
    case Kind::InputBox: {
        auto *box = new QLineEdit(design.text.toString(), parent);
        box->setAlignment(Qt::AlignCenter);
        return box;
    }
    case Kind::ResultBox: {
        // Read-only but selectable and copyable; a click focuses it for copying, the Tab key
        // passes it by, so that the window opens with the focus in txtFreq.
        auto *box = new QLineEdit(parent);
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        box->setFocusPolicy(Qt::ClickFocus);
        return box;
    }
    case Kind::DropDown: {
        auto *list = new QComboBox(parent);
        list->setEditable(false);
        list->addItems(design.text.toString().split(u'\n'));
        list->setCurrentIndex(-1); // the design chooses no entry; start-up picks one
        return list;
    }
    case Kind::Button: {
        auto *button = new QPushButton(design.text.toString(), parent);
        // Enter presses the focused command button, as in a dialog.
        button->setAutoDefault(true);
        return button;
    }
    case Kind::Option: {
        auto *option = new QRadioButton(design.text.toString(), parent);
        option->setChecked(design.selected);
        return option;
    }
    case Kind::Picture:
        return new AntennaDiagram(parent);
    }
    return nullptr;
}

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

// A background of white for the sheet, or the platform's own (the button-face colour) again.
void setSheetBackground(QWidget &widget, bool white)
{
    if (!white) {
        widget.setPalette(QPalette());
        widget.setAutoFillBackground(false);
        return;
    }
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, Qt::white);
    // Option buttons fill their background from the Button role, not from Window.
    palette.setColor(widget.backgroundRole(), Qt::white);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

// Puts a control of `window` where the design puts it, sized for its caption as it stands.
void placeControl(const ControlSpec &design, QWidget &widget, const frmMoxon &window)
{
    const ControlSpec *container =
        design.container.isEmpty() ? nullptr : findDesign(design.container);
    // Round the client-area position, then take the frame's off it, so that every control
    // lands on the pixel its twips give whichever frame it lies in.
    const int originX = container ? window.twipsToPixelsX(container->left) : 0;
    const int originY = container ? window.twipsToPixelsY(container->top) : 0;
    const int height =
        design.height > 0 ? window.twipsToPixelsY(design.height) : widget.sizeHint().height();
    widget.setGeometry(window.twipsToPixelsX(design.left) - originX,
                       window.twipsToPixelsY(design.top) - originY,
                       window.twipsToPixelsX(design.width), height);

    // An option or drop-down list whose caption is wider in the platform's font than in
    // the design's grows to show it, as far as its frame allows.
    if (design.kind == Kind::Option || design.kind == Kind::DropDown) {
        const int room = widget.parentWidget()->width() - widget.x() - 2;
        widget.resize(
            std::clamp(widget.sizeHint().width(), widget.width(), std::max(widget.width(), room)),
            widget.height());
    }
    if (auto *label = qobject_cast<QLabel *>(&widget)) {
        if (label->property(kAutoSizeProperty).toBool()) {
            label->adjustSize();
        } else if (label->wordWrap()) {
            label->resize(label->width(),
                          std::max(label->height(), label->heightForWidth(label->width())));
        }
    }
}

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
    // The design table makes every control; one of another kind is a programming error.
    Q_ASSERT(widget);
    return widget;
}

void frmMoxon::createControls()
{
    for (const ControlSpec &design : kControls) {
        const ControlSpec *container =
            design.container.isEmpty() ? nullptr : findDesign(design.container);
        QWidget *parent = container ? m_controls.value(container->name.toString()) : this;
        Q_ASSERT(parent);
        QWidget *widget = createWidget(design, parent);
        widget->setObjectName(design.name.toString());
        m_controls.insert(widget->objectName(), widget);
        placeControl(design, *widget, *this);
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
    for (const ControlSpec &design : kControls) {
        if (design.text.caption == nullptr) {
            continue;
        }
        QWidget *widget = m_controls.value(design.name.toString());
        const QString caption = design.text.toString();
        if (auto *frame = qobject_cast<Frame *>(widget)) {
            frame->setTitle(caption);
        } else if (auto *label = qobject_cast<QLabel *>(widget)) {
            label->setText(caption);
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            button->setText(caption);
        }
        placeControl(design, *widget, *this);
    }
}

void frmMoxon::orderTabStops()
{
    std::vector<std::pair<int, QWidget *>> stops;
    for (const ControlSpec &design : kControls) {
        QWidget *widget = m_controls.value(design.name.toString());
        if (design.tab >= 0 && widget->focusPolicy() != Qt::NoFocus) {
            stops.emplace_back(design.tab, widget);
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

void frmMoxon::showWireSize(const QString &text, WireUnit unit)
{
    m_txtWD->setText(text);
    m_cboDiaUnits->setCurrentIndex(int(unit));
}

void frmMoxon::showDesign(const ShownDesign &design)
{
    const QString unit = unitText(design.unit);
    for (std::size_t i = 0; i < m_results.size(); ++i) {
        m_results.at(i)->setText(design.texts.at(i));
    }
    for (QLabel *label : m_unitLabels) {
        label->setText(unit);
        label->adjustSize();
    }
}

void frmMoxon::showMessage(const Message &message)
{
    showMessageBox(message, this);
}

bool frmMoxon::confirm(const Message &message)
{
    return showMessageBox(message, this);
}

void frmMoxon::focusField(InputField field)
{
    (field == InputField::Frequency ? m_txtFreq : m_txtWD)->setFocus(Qt::OtherFocusReason);
}

std::optional<QString> frmMoxon::askSavePath(ModelFormat format)
{
    // The export replaces a chosen file without asking, as it always has; the dialog must not
    // ask either.
    const QString path = QFileDialog::getSaveFileName(this, QString(), m_lastSavePath,
                                                      qtFileFilter(saveFilter(format)), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    m_lastSavePath = path;
    return path;
}

void frmMoxon::showSheet(bool sheet)
{
    for (QWidget *widget : m_sheetControls) {
        setSheetBackground(*widget, sheet);
    }
    m_btnCalculate->setVisible(!sheet);
    setOuterWidth(sheet ? kSheetOuterWidth : kDesignOuterWidth);
}

PrintOutcome frmMoxon::printSheet()
{
    return printWidgetImage(*this);
}

void frmMoxon::closeWindow()
{
    close();
}

void frmMoxon::setOuterWidth(int twips)
{
    setFixedWidth(twipsToPixelsX(twips - kBorderTwips));
    repaint();
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
