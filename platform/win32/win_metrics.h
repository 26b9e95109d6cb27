#pragma once

#include <span>
#include <windows.h>

namespace tarvino::win32 {

// The system's DPI, which older Windows use for every monitor.
int systemDpi();
// The DPI of the monitor a window is on (Windows 10 1607 and later), else the
// system's.
int windowDpi(HWND hwnd);
// A window's outer size, frame and caption included, for the window's fixed
// client area at a DPI.
SIZE frameSize(DWORD style, int dpi);

HFONT namedFont(const wchar_t* family, int hundredthsOfPoint, bool bold, int dpi);
// The window font: the system's message font at a DPI.
LOGFONTW messageFont(int dpi);
// `font`, made smaller only as far as the widest of the labels' texts needs
// to fit the labels' width, and never below a readable size.
HFONT fittedFont(LOGFONTW font, int dpi, std::span<const HWND> labels);

} // namespace tarvino::win32
