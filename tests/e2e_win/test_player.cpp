// A stand-in for a program the launcher starts (the media player, a slot's
// program): writes started.txt beside itself at once, so the test knows it
// ran from the folder it was copied to; shows its window after the
// milliseconds in delay.txt beside itself (500 without the file; never when
// negative) and appends each key it gets to keys.txt beside itself, as
// "^p <ms since 1970>" ("^" while Ctrl is down).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring besideSelf(const wchar_t* name) {
    wchar_t self[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, n);
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

long long msSince1970() {
    FILETIME ft{};
    GetSystemTimeAsFileTime(&ft);
    const long long ticks = (static_cast<long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (ticks - 116444736000000000LL) / 10000;
}

void record(WPARAM vk) {
    if (vk == VK_CONTROL || vk == VK_SHIFT || vk == VK_MENU)
        return;
    const char key = vk >= 'A' && vk <= 'Z' ? static_cast<char>(vk - 'A' + 'a') : '?';
    if (FILE* file = _wfopen(besideSelf(L"keys.txt").c_str(), L"ab")) {
        std::fprintf(file, "%s%c %lld\r\n", GetKeyState(VK_CONTROL) < 0 ? "^" : "", key,
                     msSince1970());
        std::fclose(file);
    }
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // Without a focus window the active one gets its keys as system keys.
    if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN)
        record(wp);
    if (msg == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int delayMs() {
    int delay = 500;
    if (FILE* file = _wfopen(besideSelf(L"delay.txt").c_str(), L"r")) {
        if (std::fscanf(file, "%d", &delay) != 1)
            delay = 0;
        std::fclose(file);
    }
    return delay;
}

// Longer than any activation seen, shorter than the launcher's 5 s wait.
constexpr ULONGLONG kActivationBoundMs = 4000;

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    if (FILE* started = _wfopen(besideSelf(L"started.txt").c_str(), L"w"))
        std::fclose(started);
    const int delay = delayMs();
    // Never a window, nor a message loop: never ready for input.
    if (delay < 0)
        Sleep(INFINITE);
    Sleep(static_cast<DWORD>(delay));
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"ZavoTestPlayer";
    RegisterClassW(&wc);
    const HWND hwnd = CreateWindowW(wc.lpszClassName, L"zavo test player", WS_OVERLAPPEDWINDOW, 100,
                                    100, 240, 120, nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd, show);
    // Ready for input only once the window is in front, as a real player
    // that builds its window before it first waits for input: Windows makes
    // the first window of a program the foreground program started the
    // foreground one at once, Wine when the window manager's focus event
    // arrives. PeekMessage handles that event without counting as idle
    // (WaitForInputIdle ends when the thread waits on its queue).
    const ULONGLONG activationDeadline = GetTickCount64() + kActivationBoundMs;
    MSG msg;
    while (GetForegroundWindow() != hwnd && GetTickCount64() < activationDeadline) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
