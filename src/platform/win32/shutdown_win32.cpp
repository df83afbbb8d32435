#include "win32_api.h"

#include "shutdown_win32.h"

namespace zavo::platform {

bool enableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool enabled =
        LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    // AdjustTokenPrivileges succeeds with ERROR_NOT_ALL_ASSIGNED when the
    // token does not hold the privilege at all.
    enabled = enabled && AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
              GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return enabled;
}

ShutdownCalls systemShutdownCalls() {
    return {enableShutdownPrivilege,
            [](unsigned flags, unsigned reserved) { return ExitWindowsEx(flags, reserved) != 0; }};
}

} // namespace zavo::platform
