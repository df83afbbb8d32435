// Builds the child windows of a design sheet: one control object per row
// (lines are drawn by their window, pictures made by it), in tab-index order
// so that the tab key and the z-order follow it.
#pragma once

#include "controls.h"
#include "forms/design_sheet.h"
#include "platform/win32/win32_api.h"

#include <memory>
#include <span>
#include <vector>

namespace zavo::ui {

// Control ids start here, clear of IDOK and IDCANCEL: the id of row n is
// kFirstControlId + n.
inline constexpr int kFirstControlId = 100;

class SheetControls {
public:
    SheetControls() = default;
    // The controls at `dpi`, the parent's.
    SheetControls(HWND parent, std::span<const forms::ControlSpec> rows, int dpi);

    // Places and sizes every control, and sets its font, anew at `dpi`.
    void layout(int dpi) const;

    // The control of row `id`; a row that is missing or of another kind
    // ends the program in every build type.
    template <class T = Control, class Id> T& get(Id id) const {
        const auto index = static_cast<std::size_t>(forms::row(id));
        T* control = index < byRow_.size() ? dynamic_cast<T*>(byRow_[index].get()) : nullptr;
        if (!control)
            forms::missingRow(forms::row(id), "control of that kind");
        return *control;
    }

    // The control behind a child window of ours, or nullptr.
    Control* of(HWND child) const;

    // Renames a control that shows no caption of its own (see names_).
    template <class Id> void setAccessibleName(Id id, const std::string& name) const {
        setName(static_cast<std::size_t>(forms::row(id)), name);
    }

private:
    void setName(std::size_t row, const std::string& name) const;

    std::span<const forms::ControlSpec> rows_;
    std::vector<std::unique_ptr<Control>> byRow_; // empty where a row has no control
    // Windows' accessibility names a list or a box after the label just
    // before it in the z-order: for each row with an accessible name, a
    // label of no size, so that the window looks as designed.
    std::vector<HWND> names_;
};

// A sheet rectangle in pixels at `dpi` (twips x dpi / 1440); for a line its
// two ends.
RECT pixelRect(const forms::ControlSpec& row, int dpi);

// Draws a line row onto `dc` at `dpi`: `width` pixels at 96 DPI (scaled with
// the DPI) in `colour`, both ends included.
void drawLine(HDC dc, const forms::ControlSpec& row, COLORREF colour, int width, int dpi);

} // namespace zavo::ui
