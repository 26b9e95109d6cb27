#pragma once

#include "form.h"

#include <array>
#include <functional>
#include <string_view>
#include <windows.h>

namespace tarvino::win32 {

// The information window as a Win32 window: STATIC controls for the labels,
// an EDIT control for the banner, Timer1 as a 200 ms SetTimer.
class WinForm : public Form {
public:
    using KeyHandler = std::function<void(int keyCode, int shift)>;
    using TickHandler = std::function<void()>;

    // Creates the window and starts Timer1. Throws std::runtime_error when the
    // window cannot be created, as under Wine with no display.
    explicit WinForm(HINSTANCE instance);
    ~WinForm() override;
    WinForm(const WinForm&) = delete;
    WinForm& operator=(const WinForm&) = delete;

    void setText(Control control, std::string_view text) override;
    void unload() override;

    void setHandlers(KeyHandler onKeyDown, TickHandler onTick);
    void showCentred();
    // Runs the message loop until the window is gone; returns the exit status.
    int run();

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    HWND control(const wchar_t* kind, DWORD style);
    // Makes the fonts at a DPI and places every control in its pixels.
    void layOut(int dpi);
    // Gives the five value labels their one font, fitted to their texts.
    void fitValues();
    // Gives the window the layout's client area at a DPI, centred on a point.
    void resizeAround(POINT centre, int dpi);

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    int exitStatus_ = 0;
    int dpi_ = 96;
    std::array<HWND, 7> labels_{}; // Label1, Label2, then the five value labels
    HWND status_ = nullptr;
    std::array<HFONT, 4> fonts_{}; // maker, rights, banner, value labels
    HBRUSH gray_ = nullptr;
    HICON iconSmall_ = nullptr;
    KeyHandler onKeyDown_;
    TickHandler onTick_;
};

// Reports a failure that ends the program, titled with the program's title,
// in a message box owned by `owner` when the window is up.
void reportFailure(std::string_view message, HWND owner = nullptr);

} // namespace tarvino::win32
