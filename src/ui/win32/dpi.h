// The display's pixels per inch for a window, and the frame around a client
// area at a given DPI. The per-monitor calls exist from Windows 10 1607 on:
// they are looked up in user32 at run time, so the program still starts on
// older systems, which have one DPI for the whole desktop.
#pragma once

#include "platform/win32/win32_api.h"

namespace zavo::ui {

// The DPI of the monitor `window` is on (96: 100 % scaling).
int windowDpi(HWND window);

// Opens every window from now on as if on a monitor of `dpi`; 0, the
// default, goes back to the monitor's own. Wine gives every window the one
// DPI of its prefix, so only this shows a window at another DPI in-process.
void openWindowsAtDpi(int dpi);

// The DPI of the primary monitor, before a window exists.
int systemDpi();

// The outer rectangle of a window whose client area is `client`, at `dpi`.
RECT outerRectForDpi(RECT client, DWORD style, DWORD exStyle, bool menu, int dpi);

// The system's message font (for rows without a font of their own) at `dpi`.
LOGFONTW messageFontAt(int dpi);

} // namespace zavo::ui
