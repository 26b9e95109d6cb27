#include "window_icon.h"

#include <QPixmap>

// The pixel source shared with the Windows build.
#include "tarvino_16.xpm"
#include "tarvino_32.xpm"

namespace tarvino::qt {

QIcon programIcon() {
    QIcon icon;
    icon.addPixmap(QPixmap(tarvino_32));
    icon.addPixmap(QPixmap(tarvino_16));
    return icon;
}

} // namespace tarvino::qt
