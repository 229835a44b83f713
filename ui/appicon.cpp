#include "appicon.h"

#include <QEvent>
#include <QWidget>

namespace moxon {

namespace {

// Watches a window for its first paint, then sets its icon once that paint is done.
class IconAfterFirstPaint : public QObject
{
public:
    explicit IconAfterFirstPaint(QWidget &window)
        : QObject(&window)
        , m_window(window)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &m_window && event->type() == QEvent::Paint) {
            m_window.removeEventFilter(this);
            // Queued: runs after this paint has reached the screen.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_window.setWindowIcon(appIcon());
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QWidget &m_window;
};

} // namespace

QIcon appIcon()
{
    QIcon icon;
    for (const int size : kWindowIconSizes) {
        icon.addFile(QStringLiteral(":/icons/moxon-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

void setIconAfterFirstPaint(QWidget &window)
{
    new IconAfterFirstPaint(window); // owned by the window
}

} // namespace moxon
