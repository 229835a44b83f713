#pragma once

#include "translation.h"

#include <QWidget>

namespace moxon {

// The picture Image1: a black-on-white line drawing of the Moxon rectangle with the feed point,
// the gap between the tails, and the dimension lines of A to E. It is drawn as vectors on a
// 349 x 233 grid stretched to the widget, so it stays sharp at any screen scale and on paper.
// The window's letter and caption labels lie over it at their design positions. A left click
// or its context menu asks for the design check of the antenna it shows; the menu also offers
// the window's language.
class AntennaDiagram : public QWidget
{
    Q_OBJECT

public:
    explicit AntennaDiagram(QWidget *parent = nullptr);

    // The drawing's own grid, in its pixels.
    static constexpr int kGridWidth = 349;
    static constexpr int kGridHeight = 233;

    // The language the menu shows as chosen.
    void setLanguage(UiLanguage language) { m_language = language; }

Q_SIGNALS:
    void checkRequested();
    void languageChosen(moxon::UiLanguage language);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    UiLanguage m_language = UiLanguage::Chinese;
};

} // namespace moxon
