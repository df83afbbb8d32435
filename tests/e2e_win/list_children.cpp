// Prints the child windows of the top-level window titled argv[1], one line
// each: class TAB text, UTF-8, in z-order (the tab order) -- what an
// automation tool sees of a running program.
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
    const std::string line = utf8(cls) + "\t" + utf8(text) + "\n";
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
