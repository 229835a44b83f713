#pragma once

#include <QIcon>

namespace moxon {

// The program's icon from the resources: a red band with the antenna's outline in cyan, at
// every size that is shipped (16 to 256 pixels).
[[nodiscard]] QIcon appIcon();

// The sizes, in pixels, at which the icon is shipped as PNG, beside the scalable SVG.
inline constexpr int kAppIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

} // namespace moxon
