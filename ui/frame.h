#pragma once

#include <QGroupBox>

namespace moxon {

// A frame of the window: a single line round its controls, broken at the top where its caption
// sits, and nothing painted inside, so that the background behind it shows through as it does
// behind a label. The style's own group box fills its inside with a shade of its own, which
// would stay grey on the white sheet that the print command lays out.
class Frame : public QGroupBox
{
    Q_OBJECT

public:
    using QGroupBox::QGroupBox;

    // Where the caption is drawn, in the frame's coordinates: a little in from the left corner,
    // at the very top, as large as the caption in the frame's font. Empty without a caption.
    [[nodiscard]] QRect captionRect() const;

    static constexpr int kCaptionIndent = 6; // pixels

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace moxon
