// Test programs under Windows (Wine): start another program, or this one
// again, and wait for its exit code.
#pragma once

#include <windows.h>

#include <doctest/doctest.h>

#include <filesystem>
#include <string>

namespace zavo::test {

// The path of this program.
inline std::filesystem::path selfPath() {
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    REQUIRE((n > 0 && n < MAX_PATH));
    return std::wstring(self, n);
}

// Runs `exe` with `arguments`, in the current folder `current` when given,
// and waits for it (a minute at the most); its exit code.
inline DWORD runChild(const std::filesystem::path& exe, const std::wstring& arguments,
                      const std::filesystem::path& current = {}) {
    std::wstring command = L"\"" + exe.wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    REQUIRE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           current.empty() ? nullptr : current.c_str(), &startup, &child));
    CloseHandle(child.hThread);
    const DWORD waited = WaitForSingleObject(child.hProcess, 60000);
    DWORD code = 999;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hProcess);
    REQUIRE(waited == WAIT_OBJECT_0);
    return code;
}

} // namespace zavo::test
