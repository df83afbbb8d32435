#pragma once

#include <cmath>

namespace zavo::core {

// The design sheets measure in twips, 1440 to the inch. A display of
// `dpi` pixels per inch shows twips x dpi / 1440 pixels: 15 twips to the
// pixel at the design's 96 DPI, fewer on a scaled display.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDesignDpi = 96;
inline constexpr int kTwipsPerPixel = kTwipsPerInch / kDesignDpi;

// Twips to pixels at `dpi`, halves to the even neighbour (at 96 DPI the same
// pixels as twips / 15). The DPI has no default: a window drawn at the
// display's own DPI must say which.
inline int twips_to_pixels(double twips, int dpi) {
    return static_cast<int>(std::nearbyint(twips * dpi / kTwipsPerInch));
}

// Pixels at `dpi` back to twips.
inline double pixels_to_twips(double pixels, int dpi) {
    return pixels * kTwipsPerInch / dpi;
}

// A size drawn in pixels at 96 DPI (a picture, a pen, a list's room) at
// `dpi`, halves to the even neighbour; never less than one pixel of one.
inline int scale_pixels(int pixels, int dpi) {
    const int scaled = static_cast<int>(std::nearbyint(double(pixels) * dpi / kDesignDpi));
    return pixels > 0 && scaled < 1 ? 1 : scaled;
}

// A font's point size as a character height in pixels at `dpi`, halves away
// from zero.
inline int points_to_pixels(double points, int dpi) {
    return static_cast<int>(std::lround(points * dpi / 72.0));
}

} // namespace zavo::core
