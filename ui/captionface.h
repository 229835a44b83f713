#pragma once

#include <QFont>

#include <array>

namespace moxon {

// The face's family name, as scripts/make-caption-face.py writes it into the font files.
inline constexpr char16_t kCaptionFamily[] = u"Moxon Caption Sans";

// The face in which the window draws every caption and text: Noto Sans CJK SC cut down to the
// glyphs of the window's layout table and printable ASCII, shipped in the resources with its
// bold for the letter labels. With it the window looks the same on every machine, whatever
// fonts are installed, and no caption sends the font machinery looking for a fallback. The
// object keeps the face registered with the application's font database while it lives.
class CaptionFace
{
public:
    CaptionFace();
    ~CaptionFace();
    CaptionFace(const CaptionFace &) = delete;
    CaptionFace &operator=(const CaptionFace &) = delete;

    // The window's font: the caption face at kCaptionPointSize.
    [[nodiscard]] static QFont captionFont();

    // The size the window's layout in twips is fitted to, in points. It is Qt's own default
    // size on Linux; a desktop's larger default would push captions into their neighbours in
    // a window whose every position and size is fixed.
    static constexpr double kCaptionPointSize = 9.0; // points

private:
    std::array<int, 2> m_fontIds{-1, -1}; // regular and bold, in the application font database
};

} // namespace moxon
