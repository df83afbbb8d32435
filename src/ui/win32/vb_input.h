// Win32 mouse buttons and modifier keys in the values the handlers take.
#pragma once

#include "forms/vb_input.h"
#include "platform/win32/win32_api.h"

namespace zavo::ui {

// The MK_ flags of a mouse message.
inline int vbButtons(WPARAM keys) {
    return (keys & MK_LBUTTON ? forms::vbLeftButton : 0) |
           (keys & MK_RBUTTON ? forms::vbRightButton : 0) |
           (keys & MK_MBUTTON ? forms::vbMiddleButton : 0);
}

// The MK_ flags of a mouse message; Alt is not among them and is read from
// the keyboard state.
inline int vbShift(WPARAM keys) {
    return (keys & MK_SHIFT ? forms::vbShiftMask : 0) |
           (keys & MK_CONTROL ? forms::vbCtrlMask : 0) |
           (GetKeyState(VK_MENU) < 0 ? forms::vbAltMask : 0);
}

// Shift and Ctrl as the keyboard holds them now, as MK_ flags.
inline WPARAM keyboardModifiers() {
    return (GetKeyState(VK_SHIFT) < 0 ? MK_SHIFT : 0) |
           (GetKeyState(VK_CONTROL) < 0 ? MK_CONTROL : 0);
}

} // namespace zavo::ui
