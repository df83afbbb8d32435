// The window handle the services take for a top-level widget.
#pragma once

#include "services.h"

class QWidget;

namespace zavo::platform {

// On Windows the native HWND. On X11 the widget itself: asking Qt for the
// native id before the first show would create the X window early and cost
// the start-up a second round of window-manager work.
WindowHandle windowHandle(QWidget& window);

} // namespace zavo::platform
