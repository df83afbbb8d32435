// Qt's mouse buttons and modifier keys in the values the handlers take.
#pragma once

#include "forms/vb_input.h"

#include <Qt>

namespace zavo::ui {

inline int vbButtons(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? forms::vbLeftButton : 0) |
           (buttons & Qt::RightButton ? forms::vbRightButton : 0) |
           (buttons & Qt::MiddleButton ? forms::vbMiddleButton : 0);
}

inline int vbShift(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? forms::vbShiftMask : 0) |
           (modifiers & Qt::ControlModifier ? forms::vbCtrlMask : 0) |
           (modifiers & Qt::AltModifier ? forms::vbAltMask : 0);
}

} // namespace zavo::ui
