// Prints the child windows of the top-level window titled argv[1], one line
// each: class TAB text TAB screen rectangle (left,top,right,bottom) TAB "seen"
// or "hidden", UTF-8, in z-order (the tab order) -- what an automation tool
// sees of a running program. A control is seen when it is visible and no
// sibling covers its centre.
#include <windows.h>

#include <string>

namespace {

std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
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
    const std::string line = utf8(cls) + "\t" + utf8(text) + "\t" + std::to_string(r.left) + "," +
                             std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                             std::to_string(r.bottom) + (seen ? "\tseen\n" : "\thidden\n");
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2)
        return 2;
    const HWND top = FindWindowW(nullptr, argv[1]);
    if (!top)
        return 1;
    EnumChildWindows(top, printChild, reinterpret_cast<LPARAM>(top));
    return 0;
}
