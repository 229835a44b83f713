#include "captionface.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>

namespace moxon {

namespace {

constexpr std::array kFaceFiles = {u":/fonts/MoxonCaptionSans-Regular.otf",
                                   u":/fonts/MoxonCaptionSans-Bold.otf"};

} // namespace

CaptionFace::CaptionFace()
{
    for (std::size_t i = 0; i < kFaceFiles.size(); ++i) {
        m_fontIds[i] = QFontDatabase::addApplicationFont(QString::fromUtf16(kFaceFiles[i]));
    }
}

CaptionFace::~CaptionFace()
{
    for (const int id : m_fontIds) {
        if (id >= 0) {
            QFontDatabase::removeApplicationFont(id);
        }
    }
}

QFont CaptionFace::captionFont()
{
    // The one family, with no list of others behind it: every glyph the window shows is in it.
    QFont font(QStringList(QString::fromUtf16(kCaptionFamily)), -1);
    font.setPointSizeF(kCaptionPointSize);
    // Fontconfig's hinting rules differ from machine to machine (Debian hints slightly, a
    // bare configuration fully, which also rounds every advance): ask for the slight vertical
    // hinting that keeps the face's spacing, so that every machine draws the same pixels.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

} // namespace moxon
