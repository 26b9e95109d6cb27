#include "termination.h"

#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tarvino::qt {

namespace {

constexpr int handled[] = {SIGTERM, SIGINT, SIGHUP};
int wakeUp[2] = {-1, -1};

// Only async-signal-safe work here: the event loop does the rest.
extern "C" void onSignal(int) {
    const int saved = errno; // the code it interrupted may be about to read it
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(wakeUp[1], &byte, 1);
    errno = saved;
}

} // namespace

CloseOnTermination::CloseOnTermination(QWidget& window) {
    if (wakeUp[0] < 0 && pipe2(wakeUp, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(wakeUp[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier_, &QSocketNotifier::activated, &window, [&window] {
        char buffer[16];
        while (read(wakeUp[0], buffer, sizeof buffer) > 0) {
        }
        window.close();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    // A signal ignored on entry stays ignored: "nohup tarvino &" must outlive
    // its terminal, and a background job the terminal's interrupt.
    for (std::size_t i = 0; i < previous_.size(); ++i) {
        sigaction(handled[i], nullptr, &previous_[i]);
        if (previous_[i].sa_handler != SIG_IGN) sigaction(handled[i], &action, nullptr);
    }
    installed_ = true;
}

CloseOnTermination::~CloseOnTermination() {
    if (!installed_) return;
    for (std::size_t i = 0; i < previous_.size(); ++i)
        sigaction(handled[i], &previous_[i], nullptr);
    delete notifier_;
}

} // namespace tarvino::qt
