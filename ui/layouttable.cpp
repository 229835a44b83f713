#include "layouttable.h"

#include "antennadiagram.h"
#include "frame.h"
#include "frmmoxon.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <array>

namespace moxon::layout {

namespace {

// Containers come before what they hold, and a control listed later lies above one listed
// earlier: txtB to txtE and btnModel sit on the window over the area of a frame.
constexpr std::array kControls = {
    LayoutRow{u"Frame1", Kind::Frame, {}, 120, 120, 7695, 5415, {}, 20},
    LayoutRow{u"Label1", Kind::Label, u"Frame1", 360, 540, 750, 195,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "工作频率"), 23},
    LayoutRow{u"txtFreq", Kind::InputBox, u"Frame1", 1200, 480, 855, 315, u"146", 1},
    LayoutRow{u"Label8", Kind::FixedLabel, u"Frame1", 2160, 540, 495, 255, u"MHz", 31},
    LayoutRow{u"Label2", Kind::Label, u"Frame1", 3120, 540, 645, 195,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "线材尺寸"), 22},
    LayoutRow{u"txtWD", Kind::InputBox, u"Frame1", 3840, 480, 855, 315, u"#12", 2},
    LayoutRow{u"cboDiaUnits", Kind::DropDown, u"Frame1", 4800, 480, 795, 0, u"in\nmm\nAWG", 3},
    LayoutRow{u"btnCalculate", Kind::Button, u"Frame1", 6240, 450, 1200, 375,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "&计     算"), 4},

    LayoutRow{u"Image1", Kind::Picture, u"Frame1", 240, 1110, 5670, 4260, {}, -1, false},
    LayoutRow{u"Label9", Kind::LetterLabel, u"Frame1", 2415, 1620, 135, 195, u"A", 37},
    LayoutRow{u"Label10", Kind::LetterLabel, u"Frame1", 4755, 2550, 135, 195, u"B", 38},
    LayoutRow{u"Label11", Kind::LetterLabel, u"Frame1", 4995, 3195, 135, 195, u"C", 39},
    LayoutRow{u"Label12", Kind::LetterLabel, u"Frame1", 4755, 4020, 150, 195, u"D", 40},
    LayoutRow{u"Label13", Kind::LetterLabel, u"Frame1", 5385, 3375, 135, 195, u"E", 41},
    LayoutRow{u"Label14", Kind::Label, u"Frame1", 2115, 2235, 705, 195,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", " 馈电点"), 42},
    LayoutRow{u"Label15", Kind::WrappedLabel, u"Frame1", 750, 2730, 660, 390,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "驱动      单元"), 43},
    LayoutRow{u"Label16", Kind::Label, u"Frame1", 750, 4140, 645, 195,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "反射 单元"), 44},

    LayoutRow{u"Label3", Kind::LetterLabel, u"Frame1", 6120, 1260, 135, 195, u"A", 21},
    LayoutRow{u"Label4", Kind::LetterLabel, u"Frame1", 6120, 1860, 135, 195, u"B", 24},
    LayoutRow{u"Label5", Kind::LetterLabel, u"Frame1", 6120, 2460, 135, 195, u"C", 25},
    LayoutRow{u"Label6", Kind::LetterLabel, u"Frame1", 6120, 3060, 150, 195, u"D", 26},
    LayoutRow{u"Label7", Kind::LetterLabel, u"Frame1", 6120, 3660, 135, 195, u"E", 27},
    LayoutRow{u"txtA", Kind::ResultBox, u"Frame1", 6360, 1200, 960, 285, {}, 29},
    LayoutRow{u"lblA", Kind::Label, u"Frame1", 7380, 1260, 120, 195, u"in", 32},
    LayoutRow{u"lblB", Kind::Label, u"Frame1", 7380, 1860, 120, 195, u"in", 33},
    LayoutRow{u"lblC", Kind::Label, u"Frame1", 7380, 2460, 120, 195, u"in", 34},
    LayoutRow{u"lblD", Kind::Label, u"Frame1", 7380, 3060, 120, 195, u"in", 35},
    LayoutRow{u"lblE", Kind::Label, u"Frame1", 7380, 3660, 120, 195, u"in", 36},

    LayoutRow{u"Frame2", Kind::Frame, u"Frame1", 6120, 4050, 1455, 1320,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "单         位"), 30},
    LayoutRow{u"optFT", Kind::Option, u"Frame2", 6360, 4290, 975, 240,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "英 尺"), 5},
    LayoutRow{u"optIN", Kind::Option, u"Frame2", 6360, 4530, 975, 240,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "英  吋"), 6, true},
    LayoutRow{u"optM", Kind::Option, u"Frame2", 6360, 4770, 975, 240,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "米"), 7},
    LayoutRow{u"optMM", Kind::Option, u"Frame2", 6360, 5010, 1095, 240,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "毫  米"), 8},

    LayoutRow{u"txtB", Kind::ResultBox, {}, 6360, 1800, 960, 285, {}, 28},
    LayoutRow{u"txtC", Kind::ResultBox, {}, 6360, 2400, 960, 285, {}, 0},
    LayoutRow{u"txtD", Kind::ResultBox, {}, 6360, 3000, 960, 285, {}, 18},
    LayoutRow{u"txtE", Kind::ResultBox, {}, 6360, 3600, 960, 285, {}, 19},

    LayoutRow{u"Frame3", Kind::Frame, {}, 8040, 120, 1815, 3855, {}, 45},
    LayoutRow{u"Frame4", Kind::Frame, u"Frame3", 8280, 960, 1335, 855,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "仿真软件"), 46},
    LayoutRow{u"optEZNEC", Kind::Option, u"Frame4", 8400, 1200, 875, 255, u"EZNEC", 10, true},
    LayoutRow{u"optNEC", Kind::Option, u"Frame4", 8400, 1440, 875, 255, u"NEC", 11},
    LayoutRow{u"Frame5", Kind::Frame, u"Frame3", 8280, 1920, 1335, 855,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "极化方式"), 47},
    LayoutRow{u"optHorz", Kind::Option, u"Frame5", 8400, 2160, 1095, 255,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "水平"), 12, true},
    LayoutRow{u"optVert", Kind::Option, u"Frame5", 8400, 2400, 1095, 255,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "垂直"), 13},
    LayoutRow{u"Frame6", Kind::Frame, u"Frame3", 8280, 2880, 1335, 855,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "辐射方向"), 48},
    LayoutRow{u"optXaxis", Kind::Option, u"Frame6", 8400, 3120, 1095, 255,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "在 X 轴上"), 14, true},
    LayoutRow{u"optYaxis", Kind::Option, u"Frame6", 8400, 3360, 1155, 255,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "在 Y 轴上"), 15},
    LayoutRow{u"btnModel", Kind::Button, QStringView(), 8280, 450, 1335, 375,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "&导出仿真文件"), 9},

    LayoutRow{u"btnPrint", Kind::Button, QStringView(), 8400, 4320, 1095, 495,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "&打印"), 16},
    LayoutRow{u"btnClose", Kind::Button, QStringView(), 8400, 5040, 1095, 495,
              QT_TRANSLATE_NOOP("moxon::frmMoxon", "退出"), 17},
};

// The ten letter labels: the caption face in bold, 8.25 points, a face that is always there.
QFont letterFont(const QFont &captionFont)
{
    QFont font = captionFont;
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Bold);
    return font;
}

QLabel *createLabel(const LayoutRow &row, QWidget *parent)
{
    auto *label = new QLabel(row.text.toString(), parent);
    // Captions are plain text, never markup; labels draw no background of their own, so the
    // window, frame or picture behind them shows through.
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(false);
    // Nor do they take the mouse: a click on a caption over the picture reaches the picture.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (row.kind == Kind::LetterLabel) {
        label->setFont(letterFont(parent->font()));
    }
    if (row.kind == Kind::WrappedLabel) {
        label->setWordWrap(true);
    }
    label->setProperty(kAutoSizeProperty, row.kind == Kind::Label || row.kind == Kind::LetterLabel);
    return label;
}

} // namespace

QString ControlText::toString() const
{
    return caption != nullptr ? frmMoxon::tr(caption) : fixed.toString();
}

std::span<const LayoutRow> rows()
{
    return kControls;
}

const LayoutRow *findRow(QStringView name)
{
    const auto found = std::find_if(kControls.begin(), kControls.end(),
                                    [name](const LayoutRow &row) { return row.name == name; });
    return found == kControls.end() ? nullptr : &*found;
}

QWidget *createWidget(const LayoutRow &row, QWidget *parent)
{
    switch (row.kind) {
    case Kind::Frame:
        return new Frame(row.text.toString(), parent);
    case Kind::Label:
    case Kind::FixedLabel:
    case Kind::WrappedLabel:
    case Kind::LetterLabel:
        return createLabel(row, parent);
    case Kind::InputBox: {
        auto *box = new QLineEdit(row.text.toString(), parent);
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
        list->addItems(row.text.toString().split(u'\n'));
        list->setCurrentIndex(-1); // the design chooses no entry; start-up picks one
        return list;
    }
    case Kind::Button: {
        auto *button = new QPushButton(row.text.toString(), parent);
        // Enter presses the focused command button, as in a dialog.
        button->setAutoDefault(true);
        return button;
    }
    case Kind::Option: {
        auto *option = new QRadioButton(row.text.toString(), parent);
        option->setChecked(row.selected);
        return option;
    }
    case Kind::Picture:
        return new AntennaDiagram(parent);
    }
    return nullptr;
}

void placeControl(const LayoutRow &row, QWidget &widget, const frmMoxon &window)
{
    const LayoutRow *container = row.container.isEmpty() ? nullptr : findRow(row.container);
    // Round the client-area position, then take the frame's off it, so that every control
    // lands on the pixel its twips give whichever frame it lies in.
    const int originX = container ? window.twipsToPixelsX(container->left) : 0;
    const int originY = container ? window.twipsToPixelsY(container->top) : 0;
    const int height =
        row.height > 0 ? window.twipsToPixelsY(row.height) : widget.sizeHint().height();
    widget.setGeometry(window.twipsToPixelsX(row.left) - originX,
                       window.twipsToPixelsY(row.top) - originY, window.twipsToPixelsX(row.width),
                       height);

    // An option or drop-down list whose caption is wider in the platform's font than in
    // the design's grows to show it, as far as its frame allows.
    if (row.kind == Kind::Option || row.kind == Kind::DropDown) {
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

} // namespace moxon::layout
