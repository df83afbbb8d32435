// The desktop's own programs that stand in for three of the fixed Windows
// programs: whatever the freedesktop default-application database names.
#pragma once

#include <string_view>

namespace zavo::platform {

struct Counterpart {
    const char* contentType; // whose default application is started
    bool openHomeFolder;     // handed the home folder (the file manager)
};

// The counterpart of one of the fixed command lines, compared exactly; null
// for any other command (the other fixed programs and the user slots).
const Counterpart* counterpartOf(std::string_view command);

} // namespace zavo::platform
