#pragma once

#include <cmath>

namespace zavo::core {

inline constexpr int kTwipsPerPixel = 15;

// Twips to pixels by the fixed divisor of 15, halves to the even neighbour.
inline int twips_to_pixels(double twips) {
    return static_cast<int>(std::nearbyint(twips / kTwipsPerPixel));
}

} // namespace zavo::core
