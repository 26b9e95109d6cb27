// The Win32 window: its value labels' font, and what it does when Windows
// moves it to a monitor of twice the density.
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

TEST(WinForm, ADpiChangeTakesTheSuggestedFrameAndMakesFontsAndLayoutAgain) {
    tarvino::win32::WinForm form(GetModuleHandleW(nullptr));
    HWND window = FindWindowW(L"TarvinoCDriveInfo", nullptr);
    ASSERT_NE(window, nullptr);
    const std::vector<HWND> controls = children(window);
    ASSERT_EQ(controls.size(), 8u);
    std::vector<HFONT> before;
    for (HWND c : controls)
        before.push_back(fontOf(c));

    RECT suggested{40, 30, 40 + 600, 30 + 280};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));

    RECT frame{};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.top, 30);
    EXPECT_EQ(frame.right - frame.left, 600);
    EXPECT_EQ(frame.bottom - frame.top, 280);

    int valueLabels = 0;
    for (HWND c : controls) {
        RECT r{};
        GetWindowRect(c, &r);
        if (r.right - r.left == 194 && r.bottom - r.top == 32) ++valueLabels;
        EXPECT_EQ(GetObjectType(fontOf(c)), static_cast<DWORD>(OBJ_FONT));
        wchar_t text[16] = {};
        GetWindowTextW(c, text, 16);
        if (std::wstring(text) == L"Orlenda") { // Times New Roman 12 pt at 192 DPI
            LOGFONTW font{};
            GetObjectW(fontOf(c), sizeof font, &font);
            EXPECT_EQ(font.lfHeight, -32);
        }
    }
    EXPECT_EQ(valueLabels, 5);
    for (HFONT old : before)
        EXPECT_EQ(GetObjectType(old), 0u) << "a font of the old DPI was not deleted";
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
        bool smaller; // than the message font
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
            if (text.size() > 3 && (text[2] == L'.' || text == L"Fixed C:")) values.push_back(child);
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
