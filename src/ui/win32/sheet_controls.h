// Builds the child windows of a design sheet: one per row (lines are drawn
// by their window), in tab-index order so that the tab key and the z-order
// follow it.
#pragma once

#include "forms/design_sheet.h"
#include "platform/win32/win32_api.h"

#include <map>
#include <span>
#include <string>

namespace zavo::ui {

// Control ids start here, clear of IDOK and IDCANCEL.
inline constexpr int kFirstControlId = 100;

struct SheetControls {
    std::map<std::string, HWND> byName;
    std::map<int, std::string> nameOfId;
    HWND tooltips = nullptr;

    HWND operator[](const std::string& name) const {
        const auto found = byName.find(name);
        return found == byName.end() ? nullptr : found->second;
    }
};

// Rows of kind Picture are left to the caller, as are lines.
SheetControls buildControls(HWND parent, std::span<const forms::ControlSpec> rows);

// A sheet rectangle in pixels (twips / 15); for a line its two ends.
RECT pixelRect(const forms::ControlSpec& row);

// Draws a line row onto `dc`: `width` pixels in `colour`, both ends included.
void drawLine(HDC dc, const forms::ControlSpec& row, COLORREF colour, int width);

} // namespace zavo::ui
