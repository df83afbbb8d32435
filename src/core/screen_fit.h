// Keeping a window on screen: the monitor a window belongs to and the
// nearest place inside that monitor's work area, in whatever pixels the
// window system places windows in.
#pragma once

#include <algorithm>
#include <cstddef>
#include <span>

namespace zavo::core {

struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;

    int right() const { return left + width; } // one past the last column
    int bottom() const { return top + height; }
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const PixelRect&) const = default;
};

// The index of the monitor `window` belongs to: the one it overlaps most,
// or, overlapping none, the nearest one (as MonitorFromRect with
// MONITOR_DEFAULTTONEAREST chooses); `monitors.size()` when there is none.
inline std::size_t monitor_of(const PixelRect& window, std::span<const PixelRect> monitors) {
    std::size_t best = monitors.size();
    long long bestOverlap = 0;
    long long bestDistance = 0;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const PixelRect& m = monitors[i];
        const long long w = std::min(window.right(), m.right()) - std::max(window.left, m.left);
        const long long h = std::min(window.bottom(), m.bottom()) - std::max(window.top, m.top);
        const long long overlap = w > 0 && h > 0 ? w * h : 0;
        // Gap between the two rectangles along each axis (0 where they meet).
        const long long dx = std::max(0LL, -w);
        const long long dy = std::max(0LL, -h);
        const long long distance = dx * dx + dy * dy;
        if (best == monitors.size() || overlap > bestOverlap ||
            (overlap == 0 && bestOverlap == 0 && distance < bestDistance)) {
            best = i;
            bestOverlap = overlap;
            bestDistance = distance;
        }
    }
    return best;
}

// `window` moved by the least distance that puts it wholly inside `work`; a
// window already inside stays exactly where it is. Its size never changes:
// one wider or taller than the work area keeps its left or top edge (the
// title bar, the start of the menu) on the work area's.
inline PixelRect fit_into(PixelRect window, const PixelRect& work) {
    if (work.empty())
        return window;
    const auto axis = [](int start, int length, int areaStart, int areaLength) {
        if (length >= areaLength)
            return areaStart;
        return std::clamp(start, areaStart, areaStart + areaLength - length);
    };
    window.left = axis(window.left, window.width, work.left, work.width);
    window.top = axis(window.top, window.height, work.top, work.height);
    return window;
}

} // namespace zavo::core
