// The Win32 window when Windows moves it to a monitor of twice the density.
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

} // namespace
