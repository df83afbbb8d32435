// A DLL planted beside a program under a system DLL's name (comctl32.dll,
// uxtheme.dll): if anything loads it, it writes NAME_loaded.txt beside
// itself. It exports what a program that imports the common controls needs to
// start, so that such a program (the test's counter-example) does load it.
#include <windows.h>

#include <string>

extern "C" __declspec(dllexport) void WINAPI InitCommonControls() {}

extern "C" __declspec(dllexport) BOOL WINAPI InitCommonControlsEx(const void*) {
    return TRUE;
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return TRUE;
    // The loader may name it as the import did (COMCTL32.dll): the marker
    // is lower case.
    std::wstring marker(path, n);
    const std::size_t name = marker.find_last_of(L'\\') + 1;
    marker = marker.substr(0, marker.find_last_of(L'.')) + L"_loaded.txt";
    CharLowerBuffW(&marker[name], DWORD(marker.size() - name));
    const HANDLE file =
        CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, "loaded", 6, &written, nullptr);
        CloseHandle(file);
    }
    return TRUE;
}
