#include "raster_only.h"

#include "shared_library.h"

#include <QLibraryInfo>
#include <QVersionNumber>
#include <QtGlobal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <wayland-client.h>

namespace tarvino::qt {

namespace {

enum class Compositor { absent, drawsTitleBars, drawsNoTitleBars, gnome };

// Whether the compositor named by WAYLAND_DISPLAY answers, whether it offers
// to draw its windows' title bars itself (xdg-decoration), and whether it is
// GNOME's (mutter, the one that offers gtk_shell1). The calls are those that
// wl_display_get_registry() and its kin inline.
Compositor compositorNamed() {
    // Opened only when there is a compositor to ask: an X11 session never
    // maps it, and on Wayland Qt maps it anyway.
    const SharedLibrary wl("libwayland-client.so.0");
    const auto connect = wl.get<wl_display*(const char*)>("wl_display_connect");
    const auto roundtrip = wl.get<int(wl_display*)>("wl_display_roundtrip");
    const auto disconnect = wl.get<void(wl_display*)>("wl_display_disconnect");
    const auto version = wl.get<std::uint32_t(wl_proxy*)>("wl_proxy_get_version");
    const auto marshal =
        wl.get<wl_proxy*(wl_proxy*, std::uint32_t, const wl_interface*, std::uint32_t,
                         std::uint32_t, ...)>("wl_proxy_marshal_flags");
    const auto addListener =
        wl.get<int(wl_proxy*, void (**)(void), void*)>("wl_proxy_add_listener");
    const auto destroy = wl.get<void(wl_proxy*)>("wl_proxy_destroy");
    const auto* registryInterface = wl.get<const wl_interface>("wl_registry_interface");
    if (!connect || !roundtrip || !disconnect || !version || !marshal || !addListener || !destroy ||
        !registryInterface)
        return Compositor::absent;

    wl_display* display = connect(nullptr);
    if (!display) return Compositor::absent;
    struct Offered {
        bool decorations = false;
        bool gtkShell = false;
    } offered;
    static const wl_registry_listener listener = {
        [](void* data, wl_registry*, std::uint32_t, const char* interface, std::uint32_t) {
            auto* o = static_cast<Offered*>(data);
            if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0) o->decorations = true;
            if (std::strcmp(interface, "gtk_shell1") == 0) o->gtkShell = true;
        },
        [](void*, wl_registry*, std::uint32_t) {}};
    auto* proxy = reinterpret_cast<wl_proxy*>(display);
    wl_proxy* registry =
        marshal(proxy, WL_DISPLAY_GET_REGISTRY, registryInterface, version(proxy), 0, nullptr);
    if (registry) {
        addListener(registry,
                    reinterpret_cast<void (**)(void)>(const_cast<wl_registry_listener*>(&listener)),
                    &offered);
        roundtrip(display);
        destroy(registry);
    }
    disconnect(display);
    if (!registry) return Compositor::absent;
    if (offered.decorations) return Compositor::drawsTitleBars;
    return offered.gtkShell ? Compositor::gnome : Compositor::drawsNoTitleBars;
}

} // namespace

void chooseRasterOnlyPlatform() {
    // The window is labels and a line edit that Qt's raster engine paints into
    // shared memory; it never draws with OpenGL. Yet loading Qt's GL
    // integration maps a whole GL driver (Mesa's or the GPU's): tens of MB and
    // tens of ms at start.
    setenv("QT_XCB_GL_INTEGRATION", "none", 0); // 0: a value already set stays
    setenv("QT_WAYLAND_CLIENT_BUFFER_INTEGRATION", "none", 0);
    // Where the compositor draws no title bars (GNOME's, weston), Qt 6.8 draws
    // its own, with the raster engine. Qt 6.4 draws one only with GL.
    const bool ownTitleBar = QLibraryInfo::version() >= QVersionNumber(6, 8);
    if (!ownTitleBar) setenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1", 0);

    // Such a compositor places a Wayland client's window itself: through its
    // X server the window gets the compositor's own title bar and is centred
    // as asked, at no cost in drivers. Compositors that draw title bars (KWin,
    // sway) keep it a Wayland client, and so does GNOME's where Qt draws the
    // title bar: mutter 48 centres a new window, and a native one shows
    // sooner than one through an Xwayland that may have yet to start.
    // Either way the other display stays Qt's fallback: a DISPLAY left by a
    // crashed Xwayland or by ssh -X must not keep the window from opening
    // where the compositor can show it.
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("DISPLAY") ||
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return;
    switch (compositorNamed()) {
    case Compositor::gnome:
        setenv("QT_QPA_PLATFORM", ownTitleBar ? "wayland;xcb" : "xcb;wayland", 1);
        break;
    case Compositor::drawsNoTitleBars:
        setenv("QT_QPA_PLATFORM", "xcb;wayland", 1);
        break;
    case Compositor::drawsTitleBars:
        setenv("QT_QPA_PLATFORM", "wayland;xcb", 1);
        break;
    case Compositor::absent: // a WAYLAND_DISPLAY left behind: only X can serve
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        break;
    }
}

} // namespace tarvino::qt
