// What the end-to-end tests take from the design sheets: the windows'
// titles, by which every test finds its windows, and the places of the
// controls it clicks, so a test never holds a copy of either.
#pragma once

#include "forms/frm_about_sheet.h"
#include "forms/frm_option_sheet.h"
#include "forms/zavo_launcher_sheet.h"

#include <QRect>
#include <QString>

#include <type_traits>

namespace zavo::test {

inline const QString kMainTitle = QString::fromUtf8(forms::kLauncherWindow.caption);
inline const QString kDialogTitle = QString::fromUtf8(forms::kOptionWindow.caption);
inline const QString kAboutTitle = QString::fromUtf8(forms::kAboutWindow.caption);

// Twips at 96 DPI: 15 to the pixel.
constexpr int pixels(int twips) {
    return twips / 15;
}

// A control's rectangle in pixels at 96 DPI, within its window's design area.
template <class Id> QRect designRect(Id id) {
    const forms::ControlSpec* row = nullptr;
    if constexpr (std::is_same_v<Id, forms::LauncherControl>)
        row = &forms::kLauncherControls[std::size_t(id)];
    else if constexpr (std::is_same_v<Id, forms::OptionControl>)
        row = &forms::kOptionControls[std::size_t(id)];
    else
        row = &forms::kAboutControls[std::size_t(id)];
    return QRect(pixels(row->left), pixels(row->top), pixels(row->width), pixels(row->height));
}

// The design area's height in pixels at 96 DPI: the main window's X window
// holds the menu bar above it.
inline const int kMainDesignHeight = pixels(forms::kLauncherWindow.clientHeight);

} // namespace zavo::test
