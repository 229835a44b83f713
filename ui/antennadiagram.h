#pragma once

#include <QWidget>

namespace moxon {

// The picture Image1: a black-on-white line drawing of the Moxon rectangle with the feed point,
// the gap between the tails, and the dimension lines of A to E. It is drawn as vectors on a
// 349 x 233 grid stretched to the widget, so it stays sharp at any screen scale and on paper.
// The window's letter and caption labels lie over it at their design positions. A left click
// or its context menu asks for the design check of the antenna it shows.
class AntennaDiagram : public QWidget
{
    Q_OBJECT

public:
    explicit AntennaDiagram(QWidget *parent = nullptr);

    // The drawing's own grid, in its pixels.
    static constexpr int kGridWidth = 349;
    static constexpr int kGridHeight = 233;

Q_SIGNALS:
    void checkRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
};

} // namespace moxon
