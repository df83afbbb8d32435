#pragma once

namespace zavo::ui {
// Keeps malformed D-Bus property calls on the accessibility bus away from Qt's
// AT-SPI bridge where that bridge cannot take them. Call once the application
// object exists.
void guardAccessibilityBridge();
} // namespace zavo::ui
