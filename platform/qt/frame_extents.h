#pragma once

#include <QAbstractNativeEventFilter>
#include <QMargins>
#include <QPoint>

class QWidget;

namespace tarvino::qt {

// The frame that the X11 window manager will put around a window that is not
// yet shown, in logical pixels, as the manager itself estimates it
// (_NET_REQUEST_FRAME_EXTENTS). No margins where that cannot be known: not
// X11, no window manager running, or one that does not answer within 50 ms.
// The atom naming the frame is kept for watching it later; 0 where not X11.
struct ExpectedFrame {
    QMargins margins;
    unsigned extentsAtom = 0;
};
ExpectedFrame expectedFrame(QWidget& window);

// Watches, from when the window is mapped until its manager first names a
// frame it drew (_NET_FRAME_EXTENTS), or has named one other than the frame
// expected by then. If that is not the frame expected (the manager answered
// the request too late, or never, as tiling managers do, or drew another
// frame than it estimated), the window is moved once so that the frame drawn
// is centred on `centre`.
class CentreOnceFramed : public QAbstractNativeEventFilter {
public:
    CentreOnceFramed(QWidget& window, ExpectedFrame expected, QPoint centre);
    ~CentreOnceFramed() override;
    CentreOnceFramed(const CentreOnceFramed&) = delete;
    CentreOnceFramed& operator=(const CentreOnceFramed&) = delete;

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

private:
    QWidget& window_;
    QMargins expected_;
    QPoint centre_;
    unsigned extentsAtom_ = 0;
    bool mapped_ = false;
    bool done_ = false;
};

} // namespace tarvino::qt
