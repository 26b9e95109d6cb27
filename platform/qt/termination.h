#pragma once

class QWidget;

namespace tarvino::qt {

// Closes the window, as a key does, when the session asks the program to end
// (SIGTERM, SIGINT, SIGHUP), so that it ends normally with status 0.
void closeOnTerminationSignals(QWidget& window);

} // namespace tarvino::qt
