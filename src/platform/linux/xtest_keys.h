#pragma once

#include <string_view>

namespace zavo::platform {
// Sends keys in the classic notation ("^p": Ctrl+P; "+" Shift, "%" Alt) to
// the focused window through XTest. With `wait`, the X server has processed
// them before this returns. False where no X11 display is available.
bool xtestSendKeys(std::string_view keys, bool wait);
} // namespace zavo::platform
