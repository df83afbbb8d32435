#pragma once

#include "../window_handle.h"

namespace zavo::platform {
// The widget behind a handle made by windowHandle().
QWidget* widgetOf(WindowHandle handle);
} // namespace zavo::platform
