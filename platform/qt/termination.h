#pragma once

#include <QPointer>
#include <QSocketNotifier>
#include <array>
#include <csignal>

class QWidget;

namespace tarvino::qt {

// While it lives, the session's request to end the program (SIGTERM, SIGINT,
// SIGHUP) closes the window, as a key does, so that the program ends as it
// would then: with status 0, or 1 from the failure report. A signal ignored
// on entry (nohup, a background job) stays ignored. The handlers it replaced
// are put back when it ends.
class CloseOnTermination {
public:
    explicit CloseOnTermination(QWidget& window);
    ~CloseOnTermination();
    CloseOnTermination(const CloseOnTermination&) = delete;
    CloseOnTermination& operator=(const CloseOnTermination&) = delete;

private:
    std::array<struct sigaction, 3> previous_{};
    bool installed_ = false;
    QPointer<QSocketNotifier> notifier_; // the window's child: gone if the window is
};

} // namespace tarvino::qt
