#include "win_metrics.h"

#include "layout.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tarvino::win32 {

namespace {

// A user32 function that older Windows lack, looked up by name at run time.
template <typename Function> Function* user32(const char* name) {
    const HMODULE module = GetModuleHandleW(L"user32.dll");
    return module
               ? reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

std::wstring textOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

int systemDpi() {
    int dpi = 96;
    if (HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    return dpi;
}

int windowDpi(HWND hwnd) {
    if (auto* forWindow = user32<UINT WINAPI(HWND)>("GetDpiForWindow"))
        if (const UINT dpi = forWindow(hwnd)) return static_cast<int>(dpi);
    return systemDpi();
}

SIZE frameSize(DWORD style, int dpi) {
    const layout::Rect client = layout::pixels(layout::clientArea, dpi);
    RECT frame{0, 0, client.width, client.height};
    using ForDpi = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);
    if (auto* forDpi = user32<ForDpi>("AdjustWindowRectExForDpi"))
        forDpi(&frame, style, FALSE, 0, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&frame, style, FALSE, 0);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

HFONT namedFont(const wchar_t* family, int hundredthsOfPoint, bool bold, int dpi) {
    const int height = -MulDiv(hundredthsOfPoint, dpi, 7200);
    return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, family);
}

LOGFONTW messageFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    using ForDpi = BOOL WINAPI(UINT, UINT, void*, UINT, UINT);
    if (auto* forDpi = user32<ForDpi>("SystemParametersInfoForDpi")) {
        if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)))
            return metrics.lfMessageFont;
    } else if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        // Older Windows gives the metrics at the system DPI only.
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi());
        return metrics.lfMessageFont;
    }
    LOGFONTW fallback{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback);
    return fallback;
}

HFONT fittedFont(LOGFONTW font, int dpi, std::span<const HWND> labels) {
    RECT client{};
    GetClientRect(labels.front(), &client);
    HDC dc = GetDC(labels.front());
    // lfHeight is a character height when negative, a cell height when positive.
    const int sign = font.lfHeight < 0 ? -1 : 1;
    const auto widest = [&font, dc, labels, sign](double pixels) {
        font.lfHeight = sign * static_cast<LONG>(pixels);
        const HFONT sized = CreateFontIndirectW(&font);
        const HGDIOBJ previous = SelectObject(dc, sized);
        LONG width = 0;
        for (HWND label : labels) {
            const std::wstring text = textOf(label);
            SIZE extent{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            width = std::max(width, extent.cx);
        }
        SelectObject(dc, previous);
        DeleteObject(sized);
        return static_cast<double>(width);
    };
    const double smallest = std::round(layout::smallestValuePoints * dpi / 72);
    const double pixels =
        layout::fittingSize(std::abs(font.lfHeight), smallest, 1, client.right, widest);
    ReleaseDC(labels.front(), dc);
    font.lfHeight = sign * static_cast<LONG>(pixels);
    return CreateFontIndirectW(&font);
}

} // namespace tarvino::win32
