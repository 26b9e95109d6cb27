// Tarvino.exe as it starts and runs, but for a banner that cannot be written
// from the third tick on: a failure after the window is up. While the report
// is up, a watcher writes to stderr whether the window could still take the
// user's keys and clicks: enabled, Alt+F4 there would close it, and with it
// the report.
#include "win_form.h"
#include "win_startup.h"

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <windows.h>

namespace {

class FailingBanner : public tarvino::Form {
public:
    explicit FailingBanner(tarvino::win32::WinForm& form) : form_(form) {}
    void setText(tarvino::Control control, std::string_view text) override {
        if (control == tarvino::Control::labelStatus && ++ticks_ >= 3)
            throw std::runtime_error("cannot set the banner's text (a test's failure)");
        form_.setText(control, text);
    }
    void unload() override { form_.unload(); }

private:
    tarvino::win32::WinForm& form_;
    int ticks_ = 0;
};

} // namespace

DWORD WINAPI watch(void*) {
    for (int i = 0; i < 1000; ++i, Sleep(20))
        if (FindWindowW(L"#32770", L"Tarvino 1.1")) {
            const HWND window = FindWindowW(L"TarvinoCDriveInfo", nullptr);
            std::fprintf(stderr, "while the report is up, the window is %s\n",
                         window && !IsWindowEnabled(window) ? "disabled" : "enabled");
            return 0;
        }
    return 1;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    CloseHandle(CreateThread(nullptr, 0, watch, nullptr, 0, nullptr));
    std::unique_ptr<FailingBanner> failing;
    return tarvino::runInformationWindow(
        instance, [&failing](tarvino::win32::WinForm& form) -> tarvino::Form& {
            failing = std::make_unique<FailingBanner>(form);
            return *failing;
        });
}
