#include "frame_extents.h"

#include "xcb_reply.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>
#include <vector>
#include <xcb/xcb.h>

namespace tarvino::qt {

namespace {

xcb_intern_atom_cookie_t askAtom(xcb_connection_t* c, const char* name) {
    return xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
}

xcb_atom_t atom(xcb_connection_t* c, xcb_intern_atom_cookie_t cookie) {
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_get_property_cookie_t askProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name,
                                      xcb_atom_t type) {
    return xcb_get_property(c, 0, window, name, type, 0, 1024);
}

// The 32-bit values of a property asked for, or none.
std::vector<std::uint32_t> property(xcb_connection_t* c, xcb_get_property_cookie_t cookie) {
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr));
    if (!reply || reply->format != 32) return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

// The frame the manager says it drew around the window, in logical pixels.
std::optional<QMargins> frameExtents(QWidget& widget, xcb_connection_t* c, xcb_atom_t extents) {
    const auto window = static_cast<xcb_window_t>(widget.winId());
    const auto v = property(c, askProperty(c, window, extents, XCB_ATOM_CARDINAL));
    if (v.size() != 4) return std::nullopt; // left, right, top, bottom, in device pixels
    const qreal ratio = widget.devicePixelRatioF();
    const auto logical = [ratio](std::uint32_t px) {
        return static_cast<int>(std::lround(px / ratio));
    };
    return QMargins{logical(v[0]), logical(v[2]), logical(v[1]), logical(v[3])};
}

} // namespace

ExpectedFrame expectedFrame(QWidget& widget) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c) return {};
    // The display's one screen: RandR and Xinerama show many monitors as one.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    // All asked at once: one round trip to the server.
    const auto checkCookie = askAtom(c, "_NET_SUPPORTING_WM_CHECK");
    const auto supportedCookie = askAtom(c, "_NET_SUPPORTED");
    const auto requestCookie = askAtom(c, "_NET_REQUEST_FRAME_EXTENTS");
    const auto extentsCookie = askAtom(c, "_NET_FRAME_EXTENTS");
    const xcb_atom_t check = atom(c, checkCookie);
    const xcb_atom_t supportedAtom = atom(c, supportedCookie);
    const xcb_atom_t request = atom(c, requestCookie);
    const xcb_atom_t extents = atom(c, extentsCookie);
    const ExpectedFrame none{{}, extents};

    // Only a manager that is running and says it answers is asked: a manager
    // that died, or gave way to one without these hints, leaves its
    // properties on the root window, but not its check window naming itself.
    // Both root properties in one round trip.
    const auto managerCookie = askProperty(c, root, check, XCB_ATOM_WINDOW);
    const auto supportedListCookie = askProperty(c, root, supportedAtom, XCB_ATOM_ATOM);
    const auto manager = property(c, managerCookie);
    const auto supported = property(c, supportedListCookie);
    if (manager.size() != 1 ||
        property(c, askProperty(c, manager[0], check, XCB_ATOM_WINDOW)) != manager)
        return none;
    if (std::find(supported.begin(), supported.end(), request) == supported.end()) return none;

    const auto window = static_cast<xcb_window_t>(widget.winId());
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = request;
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
    // A running manager sets the property within a few milliseconds. The
    // wait is bounded in time, not in tries: each try is a round trip, which
    // over a remote connection can take longer than the wait itself.
    using namespace std::chrono_literals;
    const auto deadline = std::chrono::steady_clock::now() + 50ms;
    for (;;) {
        if (const auto frame = frameExtents(widget, c, extents)) return {*frame, extents};
        if (std::chrono::steady_clock::now() >= deadline) return none;
        std::this_thread::sleep_for(2ms);
    }
}

CentreOnceFramed::CentreOnceFramed(QWidget& window, ExpectedFrame expected, QPoint centre)
    : window_(window), expected_(expected.margins), centre_(centre),
      extentsAtom_(expected.extentsAtom) {
    if (extentsAtom_ != 0) QCoreApplication::instance()->installNativeEventFilter(this);
}

CentreOnceFramed::~CentreOnceFramed() {
    if (extentsAtom_ != 0) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool CentreOnceFramed::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
    if (done_ || type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const auto kind = event->response_type & 0x7F;
    bool mapping = false;
    if (kind == XCB_MAP_NOTIFY) {
        const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
        if (map->window != window_.winId()) return false;
        mapped_ = mapping = true;
    } else if (kind == XCB_PROPERTY_NOTIFY) {
        const auto* change = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (change->atom != extentsAtom_ || change->window != window_.winId()) return false;
        // Before the map, a change is the manager's answer to the request,
        // the estimate itself: the frame in place is read at the map.
        if (!mapped_) return false;
    } else {
        return false;
    }
    // Read and moved after this event is handled, not inside Qt's own dispatch.
    QMetaObject::invokeMethod(
        &window_,
        [this, mapping] {
            const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
            const auto frame = frameExtents(window_, x11->connection(), extentsAtom_);
            // Mutter 48 names an empty frame first, and the one it draws later.
            if (done_ || !frame || frame->isNull()) return;
            // At the map, the estimate may still stand for a frame drawn later.
            if (mapping && *frame == expected_) return;
            done_ = true;
            QCoreApplication::instance()->removeNativeEventFilter(this);
            if (*frame == expected_) return;
            QRect outer = QRect(QPoint(), window_.size()).marginsAdded(*frame);
            outer.moveCenter(centre_);
            // The client area's place, as showCentred gives it: move() would
            // place the frame there (NorthWest gravity rather than Static).
            window_.setGeometry(
                QRect(outer.topLeft() + QPoint(frame->left(), frame->top()), window_.size()));
        },
        Qt::QueuedConnection);
    return false;
}

} // namespace tarvino::qt
