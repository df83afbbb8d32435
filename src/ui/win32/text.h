// Captions cross as UTF-8 and become UTF-16 at the wide Win32 call, through
// the one converter of core.
#pragma once

#include "platform/win32/win32_text.h"

namespace zavo::ui {
using platform::narrowUtf8;
using platform::wide;
} // namespace zavo::ui
