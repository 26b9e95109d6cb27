#pragma once

#include <algorithm>
#include <cmath>

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

// The one size of the five value labels' font: the window font's own size,
// made smaller only as far as the widest value needs to fit `available`, and
// never below `smallest`, where a value still too wide is cut at the right.
// widest(size) measures the widest value at a size, in the units of
// `available`. Widths grow about in proportion to the size, so that gives the
// first guess; hinting makes them grow unevenly, so the guess is then moved
// by `step` to the largest size that fits.
template <typename Widest>
double fittingSize(double size, double smallest, double step, double available, Widest widest) {
    const double width = widest(size);
    if (width <= available || size <= smallest) return size;
    double fitted = std::max(smallest, std::floor(size * available / width / step) * step);
    if (widest(fitted) <= available) {
        while (fitted + step < size && widest(fitted + step) <= available)
            fitted += step;
        return fitted;
    }
    while (fitted > smallest && widest(fitted) > available)
        fitted = std::max(smallest, fitted - step);
    return fitted;
}

// Below this the values would be hard to read.
inline constexpr double smallestValuePoints = 6.0;

} // namespace tarvino::layout
