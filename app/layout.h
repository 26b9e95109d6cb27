#pragma once

namespace tarvino::layout {

// A rectangle relative to the window's client area, in twips (1/1440 inch)
// or in pixels.
struct Rect {
    int left, top, width, height;
};

// The client area and the controls on it, in twips.
inline constexpr Rect clientArea{0, 0, 4380, 1740};
inline constexpr Rect label1{90, 135, 2085, 285};
inline constexpr Rect label2{90, 495, 2220, 240};
inline constexpr Rect labelStatus{90, 1395, 4155, 285};
// The five value labels: a column of equal rows, each starting where the one
// above ends. Row 0 is LabelDriveName.
constexpr Rect valueLabel(int row) {
    return {2790, 150 + 240 * row, 1455, 240};
}

// Twips as pixels at a given DPI, to the nearest pixel with halves rounded
// up, as Win32's MulDiv rounds. 15 twips are one pixel at 96 DPI.
constexpr int pixels(int twips, int dpi) {
    return (twips * dpi + 720) / 1440;
}
constexpr Rect pixels(Rect twips, int dpi) {
    return {pixels(twips.left, dpi), pixels(twips.top, dpi), pixels(twips.width, dpi),
            pixels(twips.height, dpi)};
}

} // namespace tarvino::layout
