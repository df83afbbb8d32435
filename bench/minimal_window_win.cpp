// The reference for the Windows start-up benchmark: a plain Win32 window of
// the launcher's layout (menu bar with three entries, nine buttons and one
// more, a label, the same fonts, sizes and place, topmost, a 250 ms timer),
// with none of the launcher's own logic. Built statically with MinGW, like the
// launcher, and ended from outside.
#include <windows.h>

namespace {

struct Row {
    const wchar_t* caption;
    int left, top, width, height; // twips
};

constexpr Row kButtons[] = {
    {L"M_Player(&M)", 240, 120, 1335, 495},    {L"IE (&I)", 1680, 120, 1335, 495},
    {L"BookShelf (&S)", 3120, 120, 1335, 495}, {L"乗換案内(&N)", 240, 720, 1335, 495},
    {L"AlpsMap (&A)", 1680, 720, 1335, 495},   {L"Explorer(&E)", 3120, 720, 1335, 495},
    {L"１：未登録", 240, 1320, 1335, 495},     {L"２：未登録", 1680, 1320, 1335, 495},
    {L"３：未登録", 3120, 1320, 1335, 495},    {L"win終了 (&W)", 3240, 2040, 1215, 495},
};

int px(int twips) {
    return twips / 15;
}

HFONT font(const wchar_t* family, int pixels, bool italic) {
    return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, italic, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                       family);
}

LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(hwnd, &ps);
        MoveToEx(dc, px(120), px(1920), nullptr);
        LineTo(dc, px(4440) + 1, px(1920));
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_TIMER:
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

HMENU menuBar() {
    const HMENU bar = CreateMenu();
    const HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 1, L"最小化(&Z)\tCtrl+Z");
    AppendMenuW(file, MF_STRING, 2, L"アプリ終了(&E)");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"ファイル(&F)");
    AppendMenuW(bar, MF_STRING, 3, L"オプション(&O)...");
    const HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, 4, L"バージョン情報(&I)");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"ヘルプ(&H)");
    return bar;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"minimal_window";
    RegisterClassExW(&wc);

    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT r{686, 420, 686 + 312, 420 + 182};
    AdjustWindowRectEx(&r, style, TRUE, WS_EX_TOPMOST);
    const HWND window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"minimal_window",
                                        style | WS_CLIPCHILDREN, r.left, r.top, r.right - r.left,
                                        r.bottom - r.top, nullptr, menuBar(), instance, nullptr);
    const HFONT gothic = font(L"ＭＳ ゴシック", 12, false);
    for (const Row& b : kButtons) {
        const HWND button = CreateWindowExW(
            0, L"BUTTON", b.caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, px(b.left),
            px(b.top), px(b.width), px(b.height), window, nullptr, instance, nullptr);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(gothic), FALSE);
    }
    const HWND label =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, px(240),
                        px(2040), px(2895), px(375), window, nullptr, instance, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font(L"ＭＳ Ｐ明朝", 15, true)),
                 FALSE);
    SetTimer(window, 1, 250, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
