#include "window_handle_posix.h"

#include <QWidget>

namespace zavo::platform {

WindowHandle windowHandle(QWidget& window) {
    return reinterpret_cast<WindowHandle>(&window);
}

QWidget* widgetOf(WindowHandle handle) {
    return reinterpret_cast<QWidget*>(handle);
}

} // namespace zavo::platform
