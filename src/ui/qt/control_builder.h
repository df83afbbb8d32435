// Turns the rows of a design sheet into Qt widgets (twips / 15 = pixels).
#pragma once

#include "core/twips.h"
#include "forms/design_sheet.h"

#include <QWidget>

#include <span>
#include <vector>

namespace zavo::ui {

// Creates the controls of `rows` on `clientArea`, in the sheet's order, and
// chains the tab order by tab index. The widgets come back by row.
std::vector<QWidget*> buildControls(QWidget* clientArea, std::span<const forms::ControlSpec> rows);

// The widgets of one design sheet, found by the sheet's identities.
template <class Id> class SheetWidgets {
public:
    SheetWidgets(QWidget* clientArea, std::span<const forms::ControlSpec> rows)
        : widgets_(buildControls(clientArea, rows)) {}

    // The control of row `id`; a row that is missing or of another kind
    // ends the program in every build type.
    template <class T = QWidget> T* get(Id id) const {
        const auto index = static_cast<std::size_t>(forms::row(id));
        T* w = index < widgets_.size() ? qobject_cast<T*>(widgets_[index]) : nullptr;
        if (!w)
            forms::missingRow(forms::row(id), T::staticMetaObject.className());
        return w;
    }

private:
    std::vector<QWidget*> widgets_;
};

// Twips to Qt's logical pixels, which are 96 to the inch at every display
// scaling: Qt scales them to the display itself.
inline int logicalPixels(double twips) {
    return core::twips_to_pixels(twips, core::kDesignDpi);
}

// Twips to a pixel rectangle.
QRect twipsRect(int left, int top, int width, int height);

// The client area of a window sheet in pixels, at its place at start.
QRect clientRect(const forms::WindowSpec& window);

} // namespace zavo::ui
