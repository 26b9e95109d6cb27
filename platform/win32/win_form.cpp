#include "win_form.h"

#include "layout.h"
#include "product.h"
#include "utf.h"
#include "win_metrics.h"

#include <cstdio>
#include <stdexcept>

namespace tarvino::win32 {

namespace {

constexpr wchar_t windowClass[] = L"TarvinoCDriveInfo";
constexpr UINT_PTR timer1 = 1;
constexpr COLORREF black = RGB(0, 0, 0), gray = RGB(128, 128, 128);

struct Look {
    COLORREF ground, text;
};
// Label1, Label2, the five value labels, then the banner box.
constexpr Look looks[] = {{black, RGB(192, 192, 255)}, {black, gray},
                          {gray, RGB(255, 255, 0)},    {gray, RGB(255, 255, 0)},
                          {gray, RGB(255, 255, 0)},    {gray, RGB(255, 255, 0)},
                          {gray, RGB(255, 255, 0)},    {black, RGB(255, 255, 192)}};

constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

int shiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

} // namespace

void reportFailure(std::string_view message, HWND owner) {
    std::fprintf(stderr, TARVINO_TITLE ": %.*s\n", static_cast<int>(message.size()),
                 message.data());
    std::fflush(stderr);
    // A window destroyed on the way here has posted WM_QUIT, which would end
    // the message box's own loop at once: the report must stay until read.
    MSG quit{};
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    // Owned by the window, which stays disabled while it is up: a key there
    // would close the window and, with it, the report.
    MessageBoxW(owner, widen(message).c_str(), L"" TARVINO_TITLE, MB_OK | MB_ICONERROR);
}

WinForm::WinForm(HINSTANCE instance) : instance_(instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WinForm::windowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    iconSmall_ =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, 0));
    wc.hIconSm = iconSmall_;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = windowClass;
    RegisterClassExW(&wc);

    // Made at the system DPI; the monitor's is known once the window exists.
    const int createdAt = systemDpi();
    const SIZE frame = frameSize(windowStyle, createdAt);
    hwnd_ = CreateWindowExW(0, windowClass, L" " TARVINO_TITLE, windowStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, frame.cx, frame.cy, nullptr, nullptr, instance, this);
    if (!hwnd_)
        throw std::runtime_error("cannot create the window (error " +
                                 std::to_string(GetLastError()) + "); is a display available?");

    gray_ = CreateSolidBrush(gray);
    // Never wrapped: a value too wide even in the smallest font is cut at the right.
    constexpr DWORD label = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    for (HWND& l : labels_)
        l = control(L"STATIC", label);
    status_ = control(L"EDIT", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_READONLY);
    SetWindowTextW(labels_[0], L"Orlenda");
    SetWindowTextW(labels_[1], L"Copyright \u00A9 2026 Orlenda");

    const int dpi = windowDpi(hwnd_);
    if (dpi != createdAt) {
        const SIZE sized = frameSize(windowStyle, dpi);
        SetWindowPos(hwnd_, nullptr, 0, 0, sized.cx, sized.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    layOut(dpi);

    SetTimer(hwnd_, timer1, 200, nullptr);
}

WinForm::~WinForm() {
    if (hwnd_) DestroyWindow(hwnd_);
    // The class holds the small icon, which LoadImageW made for it alone.
    UnregisterClassW(windowClass, instance_);
    if (iconSmall_) DestroyIcon(iconSmall_);
    for (HFONT f : fonts_)
        if (f) DeleteObject(f);
    if (gray_) DeleteObject(gray_);
}

HWND WinForm::control(const wchar_t* kind, DWORD style) {
    return CreateWindowExW(0, kind, L"", style, 0, 0, 0, 0, hwnd_, nullptr, instance_, nullptr);
}

void WinForm::layOut(int dpi) {
    dpi_ = dpi;
    const std::array<HFONT, 3> old = {fonts_[0], fonts_[1], fonts_[2]};
    fonts_[0] = namedFont(L"Times New Roman", 1200, true, dpi);
    fonts_[1] = namedFont(L"Arial", 825, false, dpi);
    fonts_[2] = namedFont(L"MS Sans Serif", 825, true, dpi);
    const auto place = [dpi](HWND w, layout::Rect twips, HFONT font) {
        const layout::Rect r = layout::pixels(twips, dpi);
        SetWindowPos(w, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
        if (font) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    };
    place(labels_[0], layout::label1, fonts_[0]);
    place(labels_[1], layout::label2, fonts_[1]);
    for (std::size_t i = 2; i < labels_.size(); ++i)
        place(labels_[i], layout::valueLabel(static_cast<int>(i) - 2), nullptr);
    place(status_, layout::labelStatus, fonts_[2]);
    fitValues(); // the value labels' font, at this DPI
    // No control holds the old fonts any more.
    for (HFONT f : old)
        if (f) DeleteObject(f);
}

void WinForm::fitValues() {
    // One font for the column, so it reads evenly: the message font at the
    // window's DPI, as large as the widest value allows.
    const HFONT fitted = fittedFont(messageFont(dpi_), dpi_, std::span(labels_).subspan(2));
    for (std::size_t i = 2; i < labels_.size(); ++i)
        SendMessageW(labels_[i], WM_SETFONT, reinterpret_cast<WPARAM>(fitted), TRUE);
    if (fonts_[3]) DeleteObject(fonts_[3]);
    fonts_[3] = fitted;
}

void WinForm::setText(Control which, std::string_view text) {
    const std::wstring wide = widen(text);
    HWND target =
        which == Control::labelStatus ? status_ : labels_[2 + static_cast<std::size_t>(which)];
    if (!SetWindowTextW(target, wide.c_str()))
        throw std::runtime_error("cannot set a caption (error " + std::to_string(GetLastError()) +
                                 ")");
    if (target == status_) {
        // Show the text from its left end.
        SendMessageW(status_, EM_SETSEL, 0, 0);
        SendMessageW(status_, EM_SCROLLCARET, 0, 0);
    } else {
        fitValues();
    }
}

void WinForm::resizeAround(POINT centre, int dpi) {
    const layout::Rect client = layout::pixels(layout::clientArea, dpi);
    SIZE frame = frameSize(windowStyle, dpi);
    for (int attempt = 0; attempt < 2; ++attempt) {
        SetWindowPos(hwnd_, nullptr, centre.x - frame.cx / 2, centre.y - frame.cy / 2, frame.cx,
                     frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        // Where the frame drawn is not the one asked for at that density (an
        // older Windows, Wine), the client area is made exact all the same.
        RECT inside{};
        GetClientRect(hwnd_, &inside);
        if (inside.right == client.width && inside.bottom == client.height) return;
        frame.cx += client.width - inside.right;
        frame.cy += client.height - inside.bottom;
    }
}

void WinForm::unload() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void WinForm::setHandlers(KeyHandler onKeyDown, TickHandler onTick) {
    onKeyDown_ = std::move(onKeyDown);
    onTick_ = std::move(onTick);
}

void WinForm::showCentred() {
    // The frame, centred in the work area (without the taskbar) of the
    // monitor that holds the pointer.
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    POINT pointer{};
    GetCursorPos(&pointer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    SetWindowPos(hwnd_, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    SetFocus(status_);
}

int WinForm::run() {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Every key-down of the thread, whichever control has the focus.
        if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && onKeyDown_ && hwnd_) {
            onKeyDown_(static_cast<int>(msg.wParam), shiftState());
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return exitStatus_;
}

LRESULT CALLBACK WinForm::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<WinForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->hwnd_) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT WinForm::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        const auto child = reinterpret_cast<HWND>(lParam);
        std::size_t index = child == status_ ? 7 : 0;
        for (std::size_t i = 0; i < labels_.size(); ++i)
            if (labels_[i] == child) index = i;
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, looks[index].text);
        SetBkColor(dc, looks[index].ground);
        return reinterpret_cast<LRESULT>(
            looks[index].ground == gray ? gray_ : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    case WM_TIMER:
        if (wParam == timer1 && onTick_) {
            // An exception must not cross the window procedure: report and end here.
            try {
                onTick_();
            } catch (const std::exception& e) {
                KillTimer(hwnd_, timer1);
                reportFailure(e.what(), hwnd_);
                exitStatus_ = 1;
                DestroyWindow(hwnd_);
            }
        }
        return 0;
    case WM_GETDPISCALEDSIZE: {
        // Windows would scale the frame linearly; the layout rounds each
        // control, so its own size at the new density is asked for instead.
        *reinterpret_cast<SIZE*>(lParam) = frameSize(windowStyle, static_cast<int>(wParam));
        return TRUE;
    }
    case WM_DPICHANGED: {
        // Moved to a monitor of another density: the layout's own size there,
        // centred where Windows puts the window, and the fonts and the layout
        // made again in its pixels.
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        const int dpi = HIWORD(wParam);
        resizeAround(
            {(suggested->left + suggested->right) / 2, (suggested->top + suggested->bottom) / 2},
            dpi);
        layOut(dpi);
        return 0;
    }
    case WM_DESTROY:
        KillTimer(hwnd_, timer1);
        hwnd_ = nullptr;
        PostQuitMessage(exitStatus_);
        return 0;
    default:
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

} // namespace tarvino::win32
