#include "appicon.h"

namespace moxon {

QIcon appIcon()
{
    QIcon icon;
    for (const int size : kWindowIconSizes) {
        icon.addFile(QStringLiteral(":/icons/moxon-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace moxon
