#include "frame.h"

#include <QPainter>
#include <QStyle>

namespace moxon {

QRect Frame::captionRect() const
{
    if (title().isEmpty()) {
        return {};
    }
    // The caption's own line height, not the style's label box with its margins: the first
    // control of a frame sits one option's height below the frame's top.
    return {QPoint(kCaptionIndent, 0), fontMetrics().size(Qt::TextShowMnemonic, title())};
}

void Frame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect caption = captionRect();
    style()->drawItemText(&painter, caption, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic,
                          palette(), isEnabled(), title(), QPalette::WindowText);

    // The top line runs through the middle of the caption, broken round it.
    const QRect area = rect().adjusted(0, 0, -1, -1);
    const int top = caption.isEmpty() ? area.top() : caption.center().y();
    painter.setPen(palette().color(QPalette::Window).darker(140));
    if (caption.isEmpty()) {
        painter.drawLine(area.left(), top, area.right(), top);
    } else {
        painter.drawLine(area.left(), top, caption.left() - 2, top);
        painter.drawLine(caption.right() + 2, top, area.right(), top);
    }
    painter.drawLine(area.left(), top, area.left(), area.bottom());
    painter.drawLine(area.right(), top, area.right(), area.bottom());
    painter.drawLine(area.left(), area.bottom(), area.right(), area.bottom());
}

} // namespace moxon
