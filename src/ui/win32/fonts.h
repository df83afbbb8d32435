// The fonts of the design sheets, created once per DPI and shared by every
// control that names them; they live until the program ends.
#pragma once

#include "forms/design_sheet.h"
#include "platform/win32/win32_api.h"

namespace zavo::ui {

// A sheet font (Shift-JIS character set, normal weight) at `dpi`; a font row
// without a family gives the system's message font.
HFONT sheetFont(const forms::FontSpec& row, int dpi);

} // namespace zavo::ui
