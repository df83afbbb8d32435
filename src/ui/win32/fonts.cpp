#include "fonts.h"

#include "text.h"

#include <cmath>
#include <map>
#include <string>
#include <tuple>

namespace zavo::ui {
namespace {

int screenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

HFONT messageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return CreateFontIndirectW(&metrics.lfMessageFont);
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

} // namespace

HFONT sheetFont(const forms::FontSpec& row) {
    static const HFONT defaultFont = messageFont();
    if (!row.family)
        return defaultFont;
    using Key = std::tuple<std::string, double, bool>;
    static std::map<Key, HFONT> fonts;
    const Key key{row.family, row.points, row.italic};
    if (const auto found = fonts.find(key); found != fonts.end())
        return found->second;
    static const int dpi = screenDpi();
    // Negative: the character height (em), as point sizes mean it.
    const int height = -static_cast<int>(std::lround(row.points * dpi / 72.0));
    const HFONT created =
        CreateFontW(height, 0, 0, 0, FW_NORMAL, row.italic ? TRUE : FALSE, FALSE, FALSE,
                    SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH, wide(row.family).c_str());
    fonts.emplace(key, created ? created : defaultFont);
    return created ? created : defaultFont;
}

} // namespace zavo::ui
