#include "fonts.h"

#include "core/twips.h"
#include "dpi.h"
#include "text.h"

#include <map>
#include <string>
#include <tuple>

namespace zavo::ui {

HFONT sheetFont(const forms::FontSpec& row, int dpi) {
    using Key = std::tuple<std::string, double, bool, int>;
    static std::map<Key, HFONT> fonts;
    const Key key{row.family ? row.family : "", row.points, row.italic, dpi};
    if (const auto found = fonts.find(key); found != fonts.end())
        return found->second;
    HFONT created = nullptr;
    if (row.family) {
        // Negative: the character height (em), as point sizes mean it.
        created = CreateFontW(-core::points_to_pixels(row.points, dpi), 0, 0, 0, FW_NORMAL,
                              row.italic ? TRUE : FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH, wide(row.family).c_str());
    }
    if (!created) {
        const LOGFONTW message = messageFontAt(dpi);
        created = CreateFontIndirectW(&message);
    }
    if (!created)
        created = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts.emplace(key, created);
    return created;
}

} // namespace zavo::ui
