#pragma once

#include <QIcon>

class QWidget;

namespace tarvino::qt {

// The program's icon, 32x32 and 16x16, from the shared pixel source.
QIcon programIcon();

// On X11, names the window's class (WM_CLASS) after the launcher, as its
// StartupWMClass does, so that docks match the two; Qt names it after the
// program. To be called before the window is first shown. Nothing elsewhere:
// Wayland's app_id is the launcher's already.
void nameWindowClassAfterLauncher(QWidget& window);

} // namespace tarvino::qt
