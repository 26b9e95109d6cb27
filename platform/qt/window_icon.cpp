#include "window_icon.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QWidget>
#include <xcb/xcb.h>

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

void nameWindowClassAfterLauncher(QWidget& window) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const QString launcher = QGuiApplication::desktopFileName();
    if (!x11 || launcher.isEmpty()) return;
    // The instance stays the one Qt gives, as ICCCM has it: RESOURCE_NAME,
    // else the program's name.
    QByteArray instance = qgetenv("RESOURCE_NAME");
    if (instance.isEmpty()) instance = QCoreApplication::applicationName().toLocal8Bit();
    const QByteArray value = instance + '\0' + launcher.toLocal8Bit() + '\0';
    xcb_change_property(x11->connection(), XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window.winId()), XCB_ATOM_WM_CLASS,
                        XCB_ATOM_STRING, 8, static_cast<std::uint32_t>(value.size()),
                        value.constData());
}

} // namespace tarvino::qt
