// A small Windows program that the Win32 backend tests copy into their
// temporary folders and start there.
//   no argument (as the launch service starts it): writes "started F S" into
//     started.txt beside itself, F 1 when its start-up information carries a
//     show command (STARTF_USESHOWWINDOW), S that show command;
//   "instance": asks the single-instance question; exit code 1 when another
//     instance runs, 0 when none.
#include "platform/win32/win32_services.h"

#include <windows.h>

#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "instance") == 0) {
        zavo::platform::Win32Services services;
        return services.anotherInstanceRunning() ? 1 : 0;
    }
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (n == 0 || n == MAX_PATH)
        return 2;
    std::wstring stamp(self, n);
    stamp.replace(stamp.find_last_of(L'\\') + 1, std::wstring::npos, L"started.txt");
    HANDLE file = CreateFileW(stamp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const std::string text = "started " +
                             std::to_string((startup.dwFlags & STARTF_USESHOWWINDOW) != 0) + " " +
                             std::to_string(startup.wShowWindow);
    const DWORD size = static_cast<DWORD>(text.size());
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), size, &written, nullptr) && written == size;
    CloseHandle(file);
    return ok ? 0 : 4;
}
