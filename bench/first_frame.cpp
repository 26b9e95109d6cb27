// Starts a program and reports, for its window titled TITLE: the time from
// exec to the first frame drawn into it, its peak RSS, and the CPU it used
// over a given number of seconds after that frame. On X11 the frame is seen
// through X DAMAGE; with WAYLAND_DISPLAY set, as the first buffer attached
// after the title is set, in the client's protocol log (WAYLAND_DEBUG).
//   first_frame TITLE CPU_SECONDS PROGRAM [ARGS...]
// Prints: first_frame_ms=... peak_rss_kib=... cpu_ms=...
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

long statusKiB(pid_t pid, const char* key) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string word;
    while (in >> word)
        if (word == key) {
            long v = 0;
            in >> v;
            return v;
        }
    return -1;
}

// CPU time of all the process's threads in ns, from the scheduler (finer
// than the clock ticks of /proc/PID/stat).
long long cpuNs(pid_t pid) {
    long long total = 0;
    const std::string task = "/proc/" + std::to_string(pid) + "/task/";
    for (int tid = pid; tid < pid + 64; ++tid) {
        std::ifstream in(task + std::to_string(tid) + "/schedstat");
        long long ns = 0;
        if (in >> ns) total += ns;
    }
    return total;
}

bool titled(Display* dpy, Window w, const char* title) {
    char* name = nullptr;
    const bool match = XFetchName(dpy, w, &name) && name && std::strcmp(name, title) == 0;
    if (name) XFree(name);
    return match;
}

// The Wayland client's protocol log, read from its stderr as it is written.
double waylandFirstFrame(const char* title, char** command, pid_t& pid, int& log, double start) {
    int out[2];
    if (pipe(out) != 0) return -1;
    pid = fork();
    if (pid == 0) {
        dup2(out[1], STDERR_FILENO);
        setenv("WAYLAND_DEBUG", "client", 1);
        execvp(command[0], command);
        _exit(127);
    }
    close(out[1]);
    log = out[0];
    const std::string titleSet = std::string(".set_title(\"") + title + "\")";
    bool titled = false;
    std::string pending;
    char buffer[65536];
    pollfd readable{out[0], POLLIN, 0};
    while (nowMs() < start + 20000) {
        if (poll(&readable, 1, 100) <= 0) continue;
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0) break;
        pending.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;
             pending.erase(0, end + 1)) {
            const std::string line = pending.substr(0, end);
            if (line.find(titleSet) != std::string::npos) titled = true;
            // libwayland 1.22 writes interface#id where 1.21 wrote interface@id.
            if (titled && line.find("wl_surface") != std::string::npos &&
                line.find(".attach(wl_buffer") != std::string::npos)
                return nowMs() - start;
        }
    }
    return -1;
}

// log: the child's protocol log, read to its end so that the child, blocked
// on a full pipe, can still end; -1 for none.
void report(pid_t pid, double frame, int cpuSeconds, const char* title, int log = -1) {
    double cpuMs = -1;
    if (frame >= 0 && cpuSeconds > 0) {
        const long long before = cpuNs(pid);
        sleep(static_cast<unsigned>(cpuSeconds));
        cpuMs = static_cast<double>(cpuNs(pid) - before) / 1e6;
    }
    const long peak = statusKiB(pid, "VmHWM:");
    kill(pid, SIGTERM);
    if (log >= 0) {
        char buffer[65536];
        while (read(log, buffer, sizeof buffer) > 0) {
        }
        close(log);
    }
    waitpid(pid, nullptr, 0);
    if (frame < 0) {
        std::fprintf(stderr, "first_frame: no frame from a window titled '%s'\n", title);
        std::exit(1);
    }
    std::printf("first_frame_ms=%.1f peak_rss_kib=%ld cpu_ms=%.1f\n", frame, peak, cpuMs);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: first_frame TITLE CPU_SECONDS PROGRAM [ARGS...]\n");
        return 2;
    }
    const char* title = argv[1];
    const int cpuSeconds = std::atoi(argv[2]);
    if (std::getenv("WAYLAND_DISPLAY")) {
        pid_t pid = -1;
        int log = -1;
        const double frame = waylandFirstFrame(title, argv + 3, pid, log, nowMs());
        report(pid, frame, 0, title, log); // the protocol log would dominate its CPU
        return 0;
    }
    Display* dpy = XOpenDisplay(nullptr);
    int damageEvent = 0, damageError = 0;
    if (!dpy || !XDamageQueryExtension(dpy, &damageEvent, &damageError)) {
        std::fprintf(stderr, "first_frame: no display with the DAMAGE extension\n");
        return 2;
    }
    // A window that cannot be watched (an input-only one, as GTK makes, or
    // one already gone) is not the one being timed: its errors are dropped.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
    XSync(dpy, False);

    const double start = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    double frame = -1;
    const double deadline = start + 20000;
    // Every new top-level window is watched from its creation, so no paint
    // can slip by before the watch starts. Its first paint counts once it
    // bears the title, which Qt 6.8 gives it only after painting it.
    std::map<Window, double> firstPaint;
    const Atom wmName = XInternAtom(dpy, "WM_NAME", False);
    while (frame < 0 && nowMs() < deadline) {
        if (!XPending(dpy)) {
            usleep(200);
            continue;
        }
        XEvent e;
        XNextEvent(dpy, &e);
        if (e.type == CreateNotify) {
            XDamageCreate(dpy, e.xcreatewindow.window, XDamageReportNonEmpty);
            XSelectInput(dpy, e.xcreatewindow.window, PropertyChangeMask);
            XSync(dpy, False);
        } else if (e.type == damageEvent + XDamageNotify) {
            const auto* damage = reinterpret_cast<XDamageNotifyEvent*>(&e);
            firstPaint.emplace(damage->drawable, nowMs() - start);
            if (titled(dpy, damage->drawable, title)) frame = firstPaint[damage->drawable];
        } else if (e.type == PropertyNotify && e.xproperty.atom == wmName) {
            const auto painted = firstPaint.find(e.xproperty.window);
            if (painted != firstPaint.end() && titled(dpy, e.xproperty.window, title))
                frame = painted->second;
        }
    }
    report(pid, frame, cpuSeconds, title);
    XCloseDisplay(dpy);
    return 0;
}
