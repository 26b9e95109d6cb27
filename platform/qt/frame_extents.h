#pragma once

#include <QMargins>

class QWidget;

namespace tarvino::qt {

// The frame that the X11 window manager will put around a window that is not
// yet shown, in logical pixels, as the manager itself estimates it
// (_NET_REQUEST_FRAME_EXTENTS). No margins where that cannot be known: not
// X11, no window manager running, or one that does not answer within 50 ms.
QMargins expectedFrame(QWidget& window);

} // namespace tarvino::qt
