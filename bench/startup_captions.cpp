// The floor for start-up: a bare Qt window of the calculator's size showing the calculator's
// captions as plain labels, in the same shipped face, without any of its logic. All the font
// work of the window's first showing is in it: loading the face, laying out and drawing every
// Chinese caption, the bold letters.
#include "captionface.h"
#include "startupprobe.h"

#include <QApplication>
#include <QLabel>

#include <array>

namespace {

// The captions as the window shows them, option and button captions included.
constexpr std::array kCaptions = {
    u"工作频率", u"146", u"MHz", u"线材尺寸", u"#12", u"AWG", u"计     算", u" 馈电点",
    u"驱动      单元", u"反射 单元", u"29.17", u"4.05", u"1.17", u"5.56", u"10.78", u"in",
    u"in", u"in", u"in", u"in", u"单         位", u"英 尺", u"英  吋", u"米", u"毫  米",
    u"导出仿真文件", u"仿真软件", u"EZNEC", u"NEC", u"极化方式", u"水平", u"垂直",
    u"辐射方向", u"在 X 轴上", u"在 Y 轴上", u"打印", u"退出",
};
constexpr std::array kLetters = {u"A", u"B", u"C", u"D", u"E"};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const moxon::CaptionFace face;
    QWidget window;
    window.setWindowTitle(QStringLiteral("Moxon 方框天线计算器"));
    window.setFixedSize(664, 376);
    window.setFont(moxon::CaptionFace::captionFont());

    // Six columns of captions, then the letters twice, in bold, as the picture and the results
    // show them.
    int index = 0;
    for (const char16_t *caption : kCaptions) {
        auto *label = new QLabel(QString::fromUtf16(caption), &window);
        label->move(10 + (index % 6) * 108, 10 + (index / 6) * 40);
        ++index;
    }
    QFont letterFont = window.font();
    letterFont.setPointSizeF(8.25);
    letterFont.setWeight(QFont::Bold);
    for (int copy = 0; copy < 2; ++copy) {
        for (const char16_t *letter : kLetters) {
            auto *label = new QLabel(QString::fromUtf16(letter), &window);
            label->setFont(letterFont);
            label->move(10 + (index % 6) * 108, 10 + (index / 6) * 40);
            ++index;
        }
    }

    const moxon::bench::FirstExposeProbe probe(window);
    window.show();
    return QApplication::exec();
}
