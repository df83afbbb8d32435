#include "system_library.h"

namespace zavo::ui {

void restrictDllSearchToSystemFolder() {
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

FARPROC systemFunction(const wchar_t* dll, const char* function) {
    // The system folder only, whatever the default search path.
    const HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? GetProcAddress(module, function) : nullptr;
}

} // namespace zavo::ui
