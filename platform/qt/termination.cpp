#include "termination.h"

#include <QSocketNotifier>
#include <QWidget>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tarvino::qt {

namespace {

int wakeUp[2] = {-1, -1};

// Only async-signal-safe work here: the event loop does the rest.
extern "C" void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(wakeUp[1], &byte, 1);
}

} // namespace

void closeOnTerminationSignals(QWidget& window) {
    if (wakeUp[0] < 0 && pipe2(wakeUp, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(wakeUp[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char buffer[16];
        while (read(wakeUp[0], buffer, sizeof buffer) > 0) {
        }
        window.close();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

} // namespace tarvino::qt
