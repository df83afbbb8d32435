#include "../window_handle.h"

#include <QWidget>

namespace zavo::platform {

WindowHandle windowHandle(QWidget& window) {
    return static_cast<WindowHandle>(window.winId());
}

} // namespace zavo::platform
