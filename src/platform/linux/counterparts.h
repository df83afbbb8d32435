// The desktop's own programs that stand in for three of the fixed Windows
// programs: whatever the freedesktop default-application database names.
#pragma once

#include <string_view>

namespace zavo::platform {

struct Counterpart {
    const char* contentType; // whose default application is started
    bool openHomeFolder;     // handed the home folder (the file manager)
};

// The counterpart standing in for a fixed command line (the launch table
// says which kind of default program does its job), null for any other.
const Counterpart* counterpartOf(std::string_view command);

} // namespace zavo::platform
