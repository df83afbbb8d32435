// The window handle the POSIX services take for a Qt top-level widget: the
// widget itself. Asking Qt for the native X11 id before the first show would
// create the X window early and cost the start-up a second round of
// window-manager work. (On Windows the handle is the HWND.)
#pragma once

#include "core/services.h"

class QWidget;

namespace zavo::platform {
WindowHandle windowHandle(QWidget& window);
// The widget behind a handle made by windowHandle().
QWidget* widgetOf(WindowHandle handle);
} // namespace zavo::platform
