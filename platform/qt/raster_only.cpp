#include "raster_only.h"

#include <QtGlobal>
#include <cstdlib>
#include <cstring>
#include <wayland-client.h>

namespace tarvino::qt {

namespace {

// True when the compositor named by WAYLAND_DISPLAY answers and does not
// offer to draw its windows' title bars itself (xdg-decoration).
bool compositorDrawsNoTitleBars() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return false;
    bool offered = false;
    static const wl_registry_listener listener = {
        [](void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
            if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0)
                *static_cast<bool*>(data) = true;
        },
        [](void*, wl_registry*, uint32_t) {}};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &offered);
    wl_display_roundtrip(display);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return !offered;
}

} // namespace

void chooseRasterOnlyPlatform() {
    // The window is labels and a line edit that Qt's raster engine paints into
    // shared memory; it never draws with OpenGL. Yet loading Qt's GL
    // integration maps a whole GL driver (Mesa's or the GPU's): tens of MB and
    // tens of ms at start. On Wayland, Qt 6.4 loads it when the window is
    // shown, only to ask whether it may draw the title bar itself; so that
    // question is never asked, and the title bar is the compositor's.
    setenv("QT_XCB_GL_INTEGRATION", "none", 0); // 0: a value already set stays
    setenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1", 0);
    setenv("QT_WAYLAND_CLIENT_BUFFER_INTEGRATION", "none", 0);

    // A compositor that draws no title bars (GNOME's, weston) would leave the
    // window without its caption; through its X server the window gets one,
    // and is centred as asked, at no cost in drivers.
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("DISPLAY") ||
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return;
    if (compositorDrawsNoTitleBars()) setenv("QT_QPA_PLATFORM", "xcb", 1);
}

} // namespace tarvino::qt
