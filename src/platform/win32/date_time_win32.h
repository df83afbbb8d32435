// The clock's texts in the user's own Windows formats.
#pragma once

#include "core/services.h"

#include <string>

namespace zavo::platform {

// The user's short date and long time format; empty for a reading that is no
// valid date and time. The formats are looked up at each call, so a change
// in the control panel shows at the next tick.
std::string win32DateText(const LocalDateTime& when);
std::string win32TimeText(const LocalDateTime& when);

} // namespace zavo::platform
