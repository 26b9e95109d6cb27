#include "win_form.h"

#include "utf.h"

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

HFONT namedFont(const wchar_t* family, int hundredthsOfPoint, bool bold, int dpi) {
    const int height = -MulDiv(hundredthsOfPoint, dpi, 7200);
    return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, family);
}

HFONT dialogFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return CreateFontIndirectW(&metrics.lfMessageFont);
    return nullptr;
}

int shiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

} // namespace

void reportFailure(std::string_view message) {
    std::fprintf(stderr, "Tarvino 1.1: %.*s\n", static_cast<int>(message.size()), message.data());
    std::fflush(stderr);
    MessageBoxW(nullptr, widen(message).c_str(), L"Tarvino 1.1", MB_OK | MB_ICONERROR);
}

WinForm::WinForm(HINSTANCE instance) : instance_(instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WinForm::windowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hIconSm =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, 0));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = windowClass;
    RegisterClassExW(&wc);

    if (HDC screen = GetDC(nullptr)) {
        dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, pixels(4380), pixels(1740)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    hwnd_ = CreateWindowExW(0, windowClass, L" Tarvino 1.1", style, CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            instance, this);
    if (!hwnd_)
        throw std::runtime_error("cannot create the window (error " +
                                 std::to_string(GetLastError()) + "); is a display available?");

    gray_ = CreateSolidBrush(gray);
    fonts_ = {namedFont(L"Times New Roman", 1200, true, dpi_),
              namedFont(L"Arial", 825, false, dpi_), namedFont(L"MS Sans Serif", 825, true, dpi_),
              dialogFont()};
    constexpr DWORD label = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    labels_[0] = control(L"STATIC", label, 90, 135, 2085, 285);
    labels_[1] = control(L"STATIC", label, 90, 495, 2220, 240);
    for (std::size_t i = 0; i < 5; ++i)
        labels_[2 + i] =
            control(L"STATIC", label, 2790, 150 + 240 * static_cast<int>(i), 1455, 240);
    status_ =
        control(L"EDIT", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_READONLY, 90, 1395, 4155, 285);
    SetWindowTextW(labels_[0], L"Orlenda");
    SetWindowTextW(labels_[1], L"Copyright \u00A9 2026 Orlenda");
    const auto setFont = [](HWND w, HFONT f) {
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
    };
    setFont(labels_[0], fonts_[0]);
    setFont(labels_[1], fonts_[1]);
    setFont(status_, fonts_[2]);
    for (std::size_t i = 2; i < labels_.size(); ++i)
        setFont(labels_[i], fonts_[3]);

    SetTimer(hwnd_, timer1, 200, nullptr);
}

WinForm::~WinForm() {
    if (hwnd_) DestroyWindow(hwnd_);
    for (HFONT f : fonts_)
        if (f) DeleteObject(f);
    if (gray_) DeleteObject(gray_);
}

int WinForm::pixels(int twips) const {
    return MulDiv(twips, dpi_, 1440);
}

HWND WinForm::control(const wchar_t* kind, DWORD style, int left, int top, int width, int height) {
    return CreateWindowExW(0, kind, L"", style, pixels(left), pixels(top), pixels(width),
                           pixels(height), hwnd_, nullptr, instance_, nullptr);
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
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
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
                reportFailure(e.what());
                exitStatus_ = 1;
                DestroyWindow(hwnd_);
            }
        }
        return 0;
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
