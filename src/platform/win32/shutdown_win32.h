// The system calls behind a shutdown request, replaceable so that a test can
// record them instead of shutting anything down.
#pragma once

#include <functional>

namespace zavo::platform {

struct ShutdownCalls {
    // Enables the shutdown privilege on this process's token; true on success.
    std::function<bool()> enablePrivilege;
    // user32 ExitWindowsEx; true when the system accepted the request.
    std::function<bool(unsigned flags, unsigned reserved)> exitWindowsEx;
};

// The real ones.
ShutdownCalls systemShutdownCalls();
bool enableShutdownPrivilege();

} // namespace zavo::platform
