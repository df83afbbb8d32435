#include "system_library.h"

#include <string>

namespace zavo::ui {
namespace {

// Whether LoadLibraryExW knows LOAD_LIBRARY_SEARCH_SYSTEM32: it came with
// SetDefaultDllDirectories, and without it is refused as a bad parameter.
bool loaderHasSearchFlags = false;

// The system folder without a final backslash, or empty.
std::wstring systemFolder() {
    wchar_t folder[MAX_PATH];
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(folder, n) : std::wstring();
}

} // namespace

bool restrictDllSearchToSystemFolder() {
    // Looked up, not imported: a Windows 7 without the update would refuse to
    // start a program that imports it.
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    const FARPROC found = kernel32 ? GetProcAddress(kernel32, "SetDefaultDllDirectories") : nullptr;
    return restrictDllSearchToSystemFolder(
        reinterpret_cast<SetDefaultDllDirectoriesCall*>(reinterpret_cast<void (*)()>(found)));
}

bool restrictDllSearchToSystemFolder(SetDefaultDllDirectoriesCall* setDefaultDllDirectories) {
    loaderHasSearchFlags = setDefaultDllDirectories != nullptr;
    if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return true;
    // The system folder in the place of the current one, which no longer is
    // searched. (An empty name does the same on Windows, but Wine takes it
    // for none and keeps the current folder.)
    const std::wstring system = systemFolder();
    if (!system.empty())
        SetDllDirectoryW(system.c_str());
    return false;
}

FARPROC systemFunction(const wchar_t* dll, const char* function) {
    HMODULE module = nullptr;
    if (loaderHasSearchFlags) {
        // The system folder only, whatever the default search path.
        module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    } else {
        // By its full path; the DLLs it needs in turn are searched from its
        // folder first, not from the program's.
        const std::wstring system = systemFolder();
        if (system.empty())
            return nullptr;
        module =
            LoadLibraryExW((system + L'\\' + dll).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    return module ? GetProcAddress(module, function) : nullptr;
}

} // namespace zavo::ui
