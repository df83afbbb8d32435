// Prints the child windows of the top-level window titled argv[1] (of the
// window class argv[2] when given, "#32770" for a message box), one line
// each: class TAB text TAB screen rectangle (left,top,right,bottom) TAB "seen"
// or "hidden" TAB "default" for the default push button, else "-" TAB "focus"
// for the control holding its program's focus, else "-"; UTF-8, a line break
// in a text written as \n, in z-order (the tab order) -- what an automation
// tool sees of a running program. A control is seen when it is visible and no
// sibling covers its centre.
#include <windows.h>

#include <string>

namespace {

// UTF-8, with a line break written as \n and a carriage return as \r.
std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    std::string escaped;
    for (const char c : out)
        escaped += c == '\n'   ? std::string("\\n")
                   : c == '\r' ? std::string("\\r")
                               : std::string(1, c);
    return escaped;
}

// The focus of the program that owns `top`.
HWND focusOf(HWND top) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info) ? info.hwndFocus
                                                                           : nullptr;
}

BOOL CALLBACK printChild(HWND child, LPARAM top) {
    if (GetParent(child) != reinterpret_cast<HWND>(top))
        return TRUE;
    wchar_t cls[256] = {};
    wchar_t text[512] = {};
    GetClassNameW(child, cls, 256);
    GetWindowTextW(child, text, 512);
    RECT r{};
    GetWindowRect(child, &r);
    POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(reinterpret_cast<HWND>(top), &centre);
    const bool seen =
        IsWindowVisible(child) &&
        ChildWindowFromPointEx(reinterpret_cast<HWND>(top), centre, CWP_SKIPINVISIBLE) == child;
    const bool isDefault = lstrcmpiW(cls, L"Button") == 0 &&
                           (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    const bool focused = focusOf(reinterpret_cast<HWND>(top)) == child;
    const std::string line = utf8(cls) + "\t" + utf8(text) + "\t" + std::to_string(r.left) + "," +
                             std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                             std::to_string(r.bottom) + (seen ? "\tseen" : "\thidden") +
                             (isDefault ? "\tdefault" : "\t-") + (focused ? "\tfocus\n" : "\t-\n");
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2 && argc != 3)
        return 2;
    const HWND top = FindWindowW(argc == 3 ? argv[2] : nullptr, argv[1]);
    if (!top)
        return 1;
    EnumChildWindows(top, printChild, reinterpret_cast<LPARAM>(top));
    return 0;
}
