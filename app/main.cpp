#include "linux_drive_service.h"
#include "linux_system_info.h"
#include "startup.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

bool hasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

// Qt aborts, dumping core, when it cannot open its display; end cleanly instead.
void fatalToExit(QtMsgType type, const QMessageLogContext&, const QString& message) {
    std::fprintf(stderr, "tarvino: %s\n", message.toLocal8Bit().constData());
    if (type == QtFatalMsg) std::_Exit(1);
}

} // namespace

int main(int argc, char** argv) {
    if (!hasDisplay()) {
        std::fprintf(stderr, "tarvino: no display available (neither DISPLAY nor "
                             "WAYLAND_DISPLAY is set)\n");
        return 1;
    }
    const QtMessageHandler previous = qInstallMessageHandler(fatalToExit);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);

    tarvino::linux_drives::LinuxDriveServiceFactory drives;
    return tarvino::runInformationWindow(
        app, {drives, std::make_unique<tarvino::linux_drives::LinuxSystemInfo>()});
}
