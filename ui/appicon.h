#pragma once

#include <QIcon>

namespace moxon {

// The window's icon from the resources: a red band with the antenna's outline in cyan, at the
// sizes of title bars and task bars.
[[nodiscard]] QIcon appIcon();

// The sizes, in pixels, at which the icon is shipped as PNG, beside the scalable SVG.
inline constexpr int kAppIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The sizes the window offers the window manager. Launchers and docks take the larger ones
// from the installed icon theme; each size here is decoded at start-up and sent to the X
// server with the window, so the large ones would only slow the window's first showing.
inline constexpr int kWindowIconSizes[] = {16, 22, 24, 32, 48, 64};

} // namespace moxon
