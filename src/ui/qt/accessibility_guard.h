#pragma once

namespace zavo::ui {
// Puts a front before Qt's AT-SPI bridge: it serves the relations Qt cannot
// state and keeps malformed D-Bus property calls away from a bridge that
// cannot take them. Call once the application object exists.
void guardAccessibilityBridge();
} // namespace zavo::ui
