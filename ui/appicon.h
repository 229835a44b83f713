#pragma once

#include <QIcon>

class QWidget;

namespace moxon {

// The window's icon from the resources: a red band with the antenna's outline in cyan, at the
// sizes of title bars and task bars.
[[nodiscard]] QIcon appIcon();

// Gives `window` that icon just after it has first been painted. Decoding the images and
// sending them to the window manager is work that the first sight of the window does not need,
// and the title bar shows the icon a moment later all the same.
void setIconAfterFirstPaint(QWidget &window);

// The sizes, in pixels, at which the icon is shipped as PNG, beside the scalable SVG.
inline constexpr int kAppIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The sizes the window offers the window manager. Launchers and docks take the larger ones
// from the installed icon theme; each size here is decoded and sent to the X server with the
// window, so the large ones would only cost time and memory.
inline constexpr int kWindowIconSizes[] = {16, 22, 24, 32, 48, 64};

} // namespace moxon
