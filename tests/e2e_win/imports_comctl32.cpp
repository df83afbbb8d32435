// The counter-example: a window program that imports the common controls the
// usual way (COMCTL32 in its import table), so Windows looks for comctl32.dll
// in the program's folder first.
#include <windows.h>

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"imports_comctl32", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                        100, 300, 120, nullptr, nullptr, instance, nullptr);
    MSG msg;
    while (window && GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
