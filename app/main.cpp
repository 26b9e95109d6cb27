#include "desktop_font.h"
#include "linux_drive_service.h"
#include "linux_system_info.h"
#include "plasma_look.h"
#include "product.h"
#include "raster_only.h"
#include "startup.h"

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#ifdef TARVINO_COVERAGE
extern "C" void __gcov_dump();
#endif

namespace {

bool hasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

// Messages Qt gives while it starts its platform plugin. When it cannot open
// the display it aborts, dumping core, after several lines; instead the first,
// which names the cause, becomes the one line reported.
QStringList startupMessages;

void fatalToExit(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) {
        startupMessages << message;
        return;
    }
    const QString cause = startupMessages.isEmpty() ? message : startupMessages.first();
    std::fprintf(stderr, "tarvino: cannot open the display: %s\n", cause.toLocal8Bit().constData());
    std::_Exit(1);
}

// Qt 6.4's Wayland client can hang for good tearing its display down after
// the last window has gone: its event thread waits in wl_display_read_events
// for another reader that never reads (seen under sway on a loaded machine).
// By then everything of ours is released, and the compositor frees the rest
// with the connection, so the process ends without that teardown. A
// sanitized build makes LeakSanitizer's check here, which _Exit skips.
[[noreturn]] void endWithoutWaylandTeardown(int status) {
#if defined(__SANITIZE_ADDRESS__)
    if (__lsan_do_recoverable_leak_check() != 0) status = 23; // as LeakSanitizer ends
#endif
    std::fflush(nullptr);
#ifdef TARVINO_COVERAGE
    __gcov_dump();
#endif
    std::_Exit(status);
}

} // namespace

int main(int argc, char** argv) {
    if (!hasDisplay()) {
        std::fprintf(stderr, "tarvino: no display available (neither DISPLAY nor "
                             "WAYLAND_DISPLAY is set)\n");
        return 1;
    }
    tarvino::qt::chooseRasterOnlyPlatform();
    const auto desktopFont = tarvino::qt::takeDesktopFont();
    const auto plasmaLook = tarvino::qt::takePlasmaLook();
    // The launcher's identity, so that the dock matches the window to it, shows
    // its icon on Wayland and ends its start-up feedback when the window shows.
    QGuiApplication::setDesktopFileName(QStringLiteral(TARVINO_DESKTOP_ID));
    // Qt 6.8's services ask the desktop portal at start which Screenshot
    // version it has, for colour picking, which this window has no use for.
    // Where the portal is not running yet, that starts it, beside the window's
    // own start. The user's own choice stays.
    if (!qEnvironmentVariableIsSet("QT_NO_XDG_DESKTOP_PORTAL"))
        qputenv("QT_NO_XDG_DESKTOP_PORTAL", "1");
    // Where Qt's GTK theme loads GTK, GTK's own accessibility bridge would
    // register the process on the accessibility bus as a second application
    // of the same name, with no window, which a screen reader lists first;
    // and the start would wait on its calls there. Qt's bridge serves the window.
    if (!qEnvironmentVariableIsSet("NO_AT_BRIDGE")) qputenv("NO_AT_BRIDGE", "1");
    const QtMessageHandler previous = qInstallMessageHandler(fatalToExit);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    for (const QString& message : startupMessages)
        qWarning("%s", qPrintable(message));
    if (desktopFont) tarvino::qt::useDesktopFont(*desktopFont);
    if (plasmaLook) tarvino::qt::usePlasmaLook(*plasmaLook);

    int status = 0;
    {
        tarvino::linux_drives::LinuxDriveServiceFactory drives;
        status = tarvino::runInformationWindow(
            app, {drives, std::make_unique<tarvino::linux_drives::LinuxSystemInfo>()});
    }
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        endWithoutWaylandTeardown(status);
    return status;
}
