#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace tarvino::qt {

// Sends every key-down aimed at a window's widgets, whichever has the focus,
// to one handler, and consumes it. Install it on the application.
class KeyDownFilter : public QObject {
public:
    using Handler = std::function<void(int keyCode, int shift)>;
    KeyDownFilter(QWidget& window, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    Handler handler_;
};

} // namespace tarvino::qt
