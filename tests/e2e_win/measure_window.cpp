// Prints what decides whether the window titled argv[1] shows all of itself,
// as an automation tool measures it, UTF-8, tab-separated:
//   window DPI CLIENT_W CLIENT_H FRAME_H
//   child CLASS TEXT TEXT_W TEXT_H ROOM_W CLIENT_H CHECKED TABSTOP FOCUSED
// TEXT_W x TEXT_H is the text's extent (access keys not counted) in the font
// the control shows it in; ROOM_W is the width the control leaves its text:
// a label all of it, a push button less its border, an option button less
// its check mark, a frame less its corners. FRAME_H is the window's height
// less its client area's (caption, borders, menu bar).
//
// Under Wine a font handle means nothing outside its process (WM_GETFONT
// answers 0 to another process), so the caller names the fonts: argv[2] for
// every child, then TEXT=FONT or *CLASS=FONT for particular ones. A FONT is
// "FAMILY,POINTS" with ",i" for italic, or "message" for the system's
// message font; it is made at the window's DPI as the program makes it.
#include <windows.h>

#include <map>
#include <string>

namespace {

std::string utf8(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    return out;
}

void print(const std::string& line) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
}

int dpiOf(HWND window) {
    const HDC dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(window, dc);
    return dpi;
}

std::wstring before(const std::wstring& text, wchar_t stop) {
    return text.substr(0, text.find(stop));
}

HFONT makeFont(const std::wstring& fontDescription, int dpi) {
    if (fontDescription == L"message") {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }
    const std::size_t comma = fontDescription.find(L',');
    const double points = _wtof(fontDescription.c_str() + comma + 1);
    const bool italic = fontDescription.size() > 2 &&
                        fontDescription.compare(fontDescription.size() - 2, 2, L",i") == 0;
    return CreateFontW(-static_cast<int>(points * dpi / 72.0 + 0.5), 0, 0, 0, FW_NORMAL, italic,
                       FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH, fontDescription.substr(0, comma).c_str());
}

struct Walk {
    HWND top;
    HWND focus;
    std::wstring defaultFont;
    std::map<std::wstring, std::wstring> fonts; // by text, or by "*CLASS"
};

BOOL CALLBACK printChild(HWND child, LPARAM param) {
    const Walk& walk = *reinterpret_cast<const Walk*>(param);
    if (GetParent(child) != walk.top)
        return TRUE;
    // A window of no size shows nothing: a label that only names the
    // control after it for Windows' accessibility.
    RECT shown{};
    if (GetClientRect(child, &shown) && IsRectEmpty(&shown))
        return TRUE;
    wchar_t cls[64] = {};
    wchar_t text[512] = {};
    GetClassNameW(child, cls, 64);
    GetWindowTextW(child, text, 512);
    RECT client{};
    GetClientRect(child, &client);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    const bool button = lstrcmpiW(cls, L"Button") == 0;
    const LONG kind = style & BS_TYPEMASK;
    const bool option = button && (kind == BS_AUTORADIOBUTTON || kind == BS_RADIOBUTTON);
    const bool frame = button && kind == BS_GROUPBOX;
    const int dpi = dpiOf(child);

    // The text as the control draws it: one line, '&' marks an access key
    // unless the control says otherwise.
    std::wstring fontDescription = walk.defaultFont;
    if (const auto byClass = walk.fonts.find(L"*" + std::wstring(cls)); byClass != walk.fonts.end())
        fontDescription = byClass->second;
    if (const auto byText = walk.fonts.find(text); byText != walk.fonts.end())
        fontDescription = byText->second;
    const HFONT font = makeFont(fontDescription, dpi);
    const HDC dc = GetDC(child);
    const HGDIOBJ old = SelectObject(dc, font);
    RECT extent{0, 0, 0, 0};
    const UINT prefix = !button && (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    DrawTextW(dc, text, -1, &extent, DT_CALCRECT | DT_SINGLELINE | prefix);
    SelectObject(dc, old);
    ReleaseDC(child, dc);
    DeleteObject(font);

    int room = client.right;
    if (option)
        room -= MulDiv(13 + 4, dpi, 96); // the check mark and the gap after it
    else if (frame)
        room -= MulDiv(2 * 8, dpi, 96); // the caption starts one corner in
    else if (button)
        room -= 2 * (GetSystemMetrics(SM_CXEDGE) + 1); // the raised edge, the focus mark
    const bool checked = button && SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED;
    print("child\t" + utf8(cls) + "\t" + utf8(text) + "\t" + std::to_string(extent.right) + "\t" +
          std::to_string(extent.bottom) + "\t" + std::to_string(room) + "\t" +
          std::to_string(client.bottom) + "\t" + std::to_string(checked) + "\t" +
          std::to_string((style & WS_TABSTOP) != 0) + "\t" + std::to_string(child == walk.focus) +
          "\n");
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    const HWND top = FindWindowW(nullptr, argv[1]);
    if (!top)
        return 1;
    RECT client{};
    RECT outer{};
    GetClientRect(top, &client);
    GetWindowRect(top, &outer);
    print("window\t" + std::to_string(dpiOf(top)) + "\t" + std::to_string(client.right) + "\t" +
          std::to_string(client.bottom) + "\t" +
          std::to_string(outer.bottom - outer.top - client.bottom) + "\n");
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &gui);
    Walk walk{top, gui.hwndFocus, argv[2], {}};
    for (int i = 3; i < argc; ++i) {
        const std::wstring pair = argv[i];
        walk.fonts[before(pair, L'=')] = pair.substr(pair.find(L'=') + 1);
    }
    EnumChildWindows(top, printChild, reinterpret_cast<LPARAM>(&walk));
    return 0;
}
