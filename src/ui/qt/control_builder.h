// Turns the rows of a design sheet into Qt widgets (twips / 15 = pixels).
#pragma once

#include "forms/design_sheet.h"

#include <QWidget>

#include <span>

namespace zavo::ui {

// Creates the controls of `rows` on `clientArea`, in the sheet's order, and
// chains the tab order by tab index.
void buildControls(QWidget* clientArea, std::span<const forms::ControlSpec> rows);

// The widget named `name` under `root`; aborts when it does not exist, since
// that is a fault of the sheet, not of the user.
template <class T> T* control(const QWidget* root, const char* name) {
    T* w = root->findChild<T*>(QString::fromUtf8(name));
    Q_ASSERT_X(w, "control", name);
    return w;
}

// Twips to a pixel rectangle.
QRect twipsRect(int left, int top, int width, int height);

} // namespace zavo::ui
