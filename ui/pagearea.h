#pragma once

#include <QScrollArea>

namespace moxon {

// A page that scrolls rather than holding the window's height up on a small screen, as wide
// as what it shows, however that grows: a scroll area learns of its page's new size only
// when asked for its own.
class PageArea : public QScrollArea
{
public:
    explicit PageArea(QWidget *page, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace moxon
