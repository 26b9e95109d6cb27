#include "key_filter.h"

#include <QKeyEvent>
#include <QWidget>

namespace tarvino::qt {

KeyDownFilter::KeyDownFilter(QWidget& window, Handler handler)
    : window_(window), handler_(std::move(handler)) {}

bool KeyDownFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &window_) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    handler_(key->key(), static_cast<int>(key->modifiers().toInt()));
    // Consumed here, so the event does not climb to the parent and come round again.
    return true;
}

} // namespace tarvino::qt
