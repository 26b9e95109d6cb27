// The Win32 window: its value labels' font, and what it does when Windows
// moves it to monitors of other densities.
#include "win_form.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

std::vector<HWND> children(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HFONT fontOf(HWND control) {
    return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

SIZE clientOf(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

TEST(WinForm, MovedAcrossDensitiesItKeepsTheLayoutsOwnSizeAndItsCentre) {
    tarvino::win32::WinForm form(GetModuleHandleW(nullptr));
    HWND window = FindWindowW(L"TarvinoCDriveInfo", nullptr);
    ASSERT_NE(window, nullptr);
    const std::vector<HWND> controls = children(window);
    ASSERT_EQ(controls.size(), 8u);
    // The client area and a value label, 4380 x 1740 and 1455 x 240 twips.
    const struct {
        UINT dpi;
        SIZE client, value;
        LONG makerFont; // Times New Roman 12 pt
    } steps[] = {{144, {438, 174}, {146, 24}, -24},
                 {120, {365, 145}, {121, 20}, -20},
                 {96, {292, 116}, {97, 16}, -16}};
    for (const auto& step : steps) {
        std::vector<HFONT> before;
        for (HWND c : controls)
            before.push_back(fontOf(c));
        // What Windows asks first: the size the window wants at the new density.
        SIZE asked{};
        EXPECT_TRUE(
            SendMessageW(window, WM_GETDPISCALEDSIZE, step.dpi, reinterpret_cast<LPARAM>(&asked)));
        RECT frame{0, 0, step.client.cx, step.client.cy};
        using ForDpi = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);
        const auto forDpi = reinterpret_cast<ForDpi*>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
        ASSERT_NE(forDpi, nullptr);
        forDpi(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE, 0, step.dpi);
        EXPECT_EQ(asked.cx - (frame.right - frame.left - step.client.cx), step.client.cx)
            << step.dpi;
        EXPECT_EQ(asked.cy - (frame.bottom - frame.top - step.client.cy), step.client.cy)
            << step.dpi;
        // Then where it goes: a linear guess, a pixel off, centred at 500, 400.
        RECT suggested{500 - step.client.cx / 2 - 5, 400 - step.client.cy / 2 - 20,
                       500 + step.client.cx / 2 + 6, 400 + step.client.cy / 2 + 21};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(step.dpi, step.dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        const SIZE client = clientOf(window);
        EXPECT_EQ(client.cx, step.client.cx) << step.dpi;
        EXPECT_EQ(client.cy, step.client.cy) << step.dpi;
        RECT placed{};
        GetWindowRect(window, &placed);
        EXPECT_NEAR((placed.left + placed.right) / 2, 500, 1) << step.dpi;
        EXPECT_NEAR((placed.top + placed.bottom) / 2, 400, 1) << step.dpi;

        int values = 0;
        for (HWND c : controls) {
            RECT r{};
            GetWindowRect(c, &r);
            values += r.right - r.left == step.value.cx && r.bottom - r.top == step.value.cy;
            EXPECT_EQ(GetObjectType(fontOf(c)), static_cast<DWORD>(OBJ_FONT));
            wchar_t text[16] = {};
            GetWindowTextW(c, text, 16);
            if (std::wstring(text) == L"Orlenda") {
                LOGFONTW font{};
                GetObjectW(fontOf(c), sizeof font, &font);
                EXPECT_EQ(font.lfHeight, step.makerFont) << step.dpi;
            }
        }
        EXPECT_EQ(values, 5) << step.dpi;
        for (HFONT old : before)
            EXPECT_EQ(GetObjectType(old), 0u) << "a font of the old DPI was not deleted";
    }
}

std::wstring textOf(HWND control) {
    wchar_t text[64] = {};
    GetWindowTextW(control, text, 64);
    return text;
}

TEST(WinForm, ValuesShareTheMessageFontAsLargeAsTheWidestAllowsOnOneLine) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const LOGFONTW& message = metrics.lfMessageFont;
    // Set up by wine-run.sh: as wide as Windows 10's Segoe UI 9 pt.
    ASSERT_EQ(std::wstring(message.lfFaceName), L"Liberation Sans");

    const struct {
        const char* size;
        bool smaller;                       // than the message font
    } cases[] = {{"TS. 1073741824", false}, // 1 GiB
                 {"TS. 270553174016", true},
                 {"TS. 18000207937536", true}};
    for (const auto& c : cases) {
        tarvino::win32::WinForm form(GetModuleHandleW(nullptr));
        using tarvino::Control;
        form.setText(Control::LabelDriveName, "Fixed C:");
        form.setText(Control::LabelDriveSerialNumber, "SN. 4294967295");
        form.setText(Control::LabelTotalSize, c.size);
        form.setText(Control::LabelFileSystem, "FS. NTFS");
        form.setText(Control::LabelOS, "OS. 2/10/19045");
        std::vector<HWND> values;
        for (HWND child : children(FindWindowW(L"TarvinoCDriveInfo", nullptr))) {
            const std::wstring text = textOf(child);
            if (text.size() > 3 && (text[2] == L'.' || text == L"Fixed C:"))
                values.push_back(child);
        }
        ASSERT_EQ(values.size(), 5u) << c.size;
        const HFONT font = fontOf(values[0]);
        LOGFONTW used{};
        ASSERT_TRUE(GetObjectW(font, sizeof used, &used));
        EXPECT_EQ(std::wstring(used.lfFaceName), message.lfFaceName);
        EXPECT_EQ(used.lfHeight > message.lfHeight, c.smaller) << c.size; // heights are negative
        EXPECT_LE(-used.lfHeight, -message.lfHeight);
        EXPECT_GE(-used.lfHeight, 8) << "readable"; // 6 pt
        HDC dc = GetDC(values[0]);
        const HGDIOBJ previous = SelectObject(dc, font);
        for (HWND value : values) {
            EXPECT_EQ(fontOf(value), font) << c.size;
            EXPECT_EQ(GetWindowLongW(value, GWL_STYLE) & SS_TYPEMASK, SS_LEFTNOWORDWRAP);
            const std::wstring text = textOf(value);
            SIZE extent{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            RECT client{};
            GetClientRect(value, &client);
            EXPECT_LE(extent.cx, client.right) << c.size << ": cut off";
        }
        SelectObject(dc, previous);
        ReleaseDC(values[0], dc);
    }
}

} // namespace

namespace {

TEST(WinForm, LeavesNeitherItsClassNorItsSmallIconBehind) {
    HICON small = nullptr;
    {
        tarvino::win32::WinForm form(GetModuleHandleW(nullptr));
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"TarvinoCDriveInfo", &wc));
        small = wc.hIconSm;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), L"TarvinoCDriveInfo", &wc));
    ASSERT_NE(small, nullptr); // this test program carries the icon too
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(small, &info)) << "the small icon is still alive";
}

} // namespace
