// How mouse buttons and the Shift state reach the handlers, whatever the
// window system: the values of the classic event arguments. Each window
// system turns its own flags into these once, in its converter.
#pragma once

namespace zavo::forms {

// The Button argument: the buttons held down.
inline constexpr int vbLeftButton = 1;
inline constexpr int vbRightButton = 2;
inline constexpr int vbMiddleButton = 4;

// The Shift argument: the modifier keys held down.
inline constexpr int vbShiftMask = 1;
inline constexpr int vbCtrlMask = 2;
inline constexpr int vbAltMask = 4;

} // namespace zavo::forms
