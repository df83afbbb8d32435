// What an automation tool reads of a running program's window, UTF-8,
// tab-separated, a line break in a text written as \n.
//
//   read_window.exe children TITLE CLASS [FONT [TEXT=FONT | *CLASS=FONT ...]]
//
// finds the top-level window titled TITLE of the window class CLASS ("#32770"
// for a message box, "*" for any) and prints
//   window DPI CLIENT_W CLIENT_H
// and for each child window, in z-order (the tab order):
//   child CLASS TEXT LEFT,TOP,RIGHT,BOTTOM SEEN DEFAULT FOCUS CHECKED TABSTOP
//         TEXT_W TEXT_H ROOM_W CLIENT_H
// with the rectangle on the screen and 1 or 0 for: no sibling covers its
// centre and it is visible; the default push button; the control holding
// its program's focus; a checked button; a tab stop. TEXT_W x TEXT_H is the
// text's extent (access keys not counted) in the font the control shows it
// in; ROOM_W is the width the control leaves its text: a label all of it, a
// push button less its border, an option button less its check mark, a frame
// less its corners. A window of no size shows nothing (a label that only
// names the control after it for Windows' accessibility) and is left out.
// Under Wine a font handle means nothing outside its process (WM_GETFONT
// answers 0 to another process), so the caller names the fonts: FONT for
// every child (the message font when not given), then TEXT=FONT or
// *CLASS=FONT for particular ones. A FONT is "FAMILY,POINTS" with ",i" for
// italic, or "message" for the system's message font; it is made at the
// window's DPI as the program makes it.
//
//   read_window.exe underscore TITLE TEXT FONT
//
// Whether the underscore of a caption reaches the screen. A stand-in font can
// lose it at some pixel sizes: its thin stroke may fall between two rows of
// pixels and be drawn as nothing, or lie below the text cell that a control
// clips its text to. Finds the child of the window titled TITLE that shows
// TEXT, draws TEXT in FONT on white, finds the place where that drawing, the
// underscore's columns left out, best matches the control's pixels on the
// screen, and prints
//   underscore INKED WIDTH MATCHED TOTAL
// WIDTH: the columns of the first underscore (its advance); INKED: how many
// of them hold ink in the control on the screen; MATCHED of TOTAL: the
// drawing's other ink found there (all of it unless the control shows the
// text otherwise: cut, wrapped, in another font). Ink is anything darker than
// three quarters of white: an antialiased stroke counts.
//
// Exit code 1 when the window or the control is not there, 2 on other
// arguments.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace {

std::string utf8(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    std::string escaped;
    for (const char c : out)
        escaped += c == '\n'   ? std::string("\\n")
                   : c == '\r' ? std::string("\\r")
                               : std::string(1, c);
    return escaped;
}

// Prints the fields of one line, tab-separated.
void print(std::initializer_list<std::string> fields) {
    std::string line;
    for (const std::string& field : fields)
        line += (line.empty() ? "" : "\t") + field;
    line += "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
}

std::string number(long long n) {
    return std::to_string(n);
}

// The DPI of the window's screen; of the whole screen for nullptr.
int dpiOf(HWND window) {
    const HDC dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(window, dc);
    return dpi;
}

HFONT makeFont(const std::wstring& description, int dpi) {
    if (description == L"message") {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }
    const std::size_t comma = description.find(L',');
    const double points = _wtof(description.c_str() + comma + 1);
    const bool italic =
        description.size() > 2 && description.compare(description.size() - 2, 2, L",i") == 0;
    return CreateFontW(-static_cast<int>(points * dpi / 72.0 + 0.5), 0, 0, 0, FW_NORMAL, italic,
                       FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH, description.substr(0, comma).c_str());
}

struct Walk {
    HWND top;
    HWND focus;
    std::wstring defaultFont;
    std::map<std::wstring, std::wstring> fonts; // by text, or by "*CLASS"
};

BOOL CALLBACK printChild(HWND child, LPARAM param) {
    const Walk& walk = *reinterpret_cast<const Walk*>(param);
    RECT client{};
    if (GetParent(child) != walk.top || !GetClientRect(child, &client) || IsRectEmpty(&client))
        return TRUE;
    wchar_t cls[256] = {};
    wchar_t text[512] = {};
    GetClassNameW(child, cls, 256);
    GetWindowTextW(child, text, 512);
    RECT r{};
    GetWindowRect(child, &r);
    POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(walk.top, &centre);
    const bool seen = IsWindowVisible(child) &&
                      ChildWindowFromPointEx(walk.top, centre, CWP_SKIPINVISIBLE) == child;
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    const bool button = lstrcmpiW(cls, L"Button") == 0;
    const LONG kind = style & BS_TYPEMASK;
    const bool option = button && (kind == BS_AUTORADIOBUTTON || kind == BS_RADIOBUTTON);
    const bool frame = button && kind == BS_GROUPBOX;
    const int dpi = dpiOf(child);

    // The text as the control draws it: one line, '&' marks an access key
    // unless the control says otherwise.
    std::wstring font = walk.defaultFont;
    if (const auto byClass = walk.fonts.find(L"*" + std::wstring(cls)); byClass != walk.fonts.end())
        font = byClass->second;
    if (const auto byText = walk.fonts.find(text); byText != walk.fonts.end())
        font = byText->second;
    const HFONT hfont = makeFont(font, dpi);
    const HDC dc = GetDC(child);
    const HGDIOBJ old = SelectObject(dc, hfont);
    RECT extent{0, 0, 0, 0};
    const UINT prefix = !button && (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    DrawTextW(dc, text, -1, &extent, DT_CALCRECT | DT_SINGLELINE | prefix);
    SelectObject(dc, old);
    ReleaseDC(child, dc);
    DeleteObject(hfont);

    int room = client.right;
    if (option)
        room -= MulDiv(13 + 4, dpi, 96); // the check mark and the gap after it
    else if (frame)
        room -= MulDiv(2 * 8, dpi, 96); // the caption starts one corner in
    else if (button)
        room -= 2 * (GetSystemMetrics(SM_CXEDGE) + 1); // the raised edge, the focus mark
    const bool checked = button && SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED;
    print({"child", utf8(cls), utf8(text),
           number(r.left) + "," + number(r.top) + "," + number(r.right) + "," + number(r.bottom),
           number(seen), number(button && kind == BS_DEFPUSHBUTTON), number(child == walk.focus),
           number(checked), number((style & WS_TABSTOP) != 0), number(extent.right),
           number(extent.bottom), number(room), number(client.bottom)});
    return TRUE;
}

int printChildren(HWND top, int argc, wchar_t** argv) {
    RECT client{};
    GetClientRect(top, &client);
    print({"window", number(dpiOf(top)), number(client.right), number(client.bottom)});
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &gui);
    Walk walk{top, gui.hwndFocus, argc > 0 ? argv[0] : L"message", {}};
    for (int i = 1; i < argc; ++i) {
        const std::wstring pair = argv[i];
        walk.fonts[pair.substr(0, pair.find(L'='))] = pair.substr(pair.find(L'=') + 1);
    }
    EnumChildWindows(top, printChild, reinterpret_cast<LPARAM>(&walk));
    return 0;
}

// Dark pixels of the width x height area at (x, y) of `dc`, row by row.
std::vector<bool> inkOf(HDC dc, int x, int y, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC copy = CreateCompatibleDC(dc);
    const HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width, height, dc, x, y, SRCCOPY);
    GdiFlush();
    std::vector<bool> ink(static_cast<std::size_t>(width) * height);
    const auto* pixel = static_cast<const unsigned char*>(bits);
    for (std::size_t i = 0; i < ink.size(); ++i, pixel += 4)
        ink[i] = pixel[0] * 114 + pixel[1] * 587 + pixel[2] * 299 < 192 * 1000;
    SelectObject(copy, old);
    DeleteDC(copy);
    DeleteObject(bitmap);
    return ink;
}

int printUnderscore(HWND control, const std::wstring& text, const std::wstring& font) {
    // The control as the screen shows it, less the edge of a push button.
    RECT client{};
    GetClientRect(control, &client);
    POINT origin{0, 0};
    ClientToScreen(control, &origin);
    const HDC screen = GetDC(nullptr);
    const int width = client.right;
    const int height = client.bottom;
    std::vector<bool> screenInk = inkOf(screen, origin.x, origin.y, width, height);
    wchar_t cls[64] = {};
    GetClassNameW(control, cls, 64);
    if (lstrcmpiW(cls, L"Button") == 0) {
        const int edge = GetSystemMetrics(SM_CXEDGE) + 1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (x < edge || y < edge || x >= width - edge || y >= height - edge)
                    screenInk[static_cast<std::size_t>(y) * width + x] = false;
    }

    // The text drawn unclipped, with room on every side.
    const HFONT hfont = makeFont(font, dpiOf(nullptr));
    const int pad = height;
    const int drawnWidth = width + 2 * pad;
    const int drawnHeight = 3 * height;
    const HDC drawn = CreateCompatibleDC(screen);
    const HBITMAP drawnBitmap = CreateCompatibleBitmap(screen, drawnWidth, drawnHeight);
    const HGDIOBJ drawnOld = SelectObject(drawn, drawnBitmap);
    const HGDIOBJ fontOld = SelectObject(drawn, hfont);
    PatBlt(drawn, 0, 0, drawnWidth, drawnHeight, WHITENESS);
    SetBkMode(drawn, TRANSPARENT);
    SetTextColor(drawn, RGB(0, 0, 0));
    RECT at{pad, pad, drawnWidth, drawnHeight};
    DrawTextW(drawn, text.c_str(), -1, &at, DT_SINGLELINE | DT_NOCLIP);
    // The columns of the first underscore: the advance of what comes before
    // it (access-key marks are not drawn) up to the advance past it.
    std::wstring before = text.substr(0, text.find(L'_'));
    std::erase(before, L'&');
    SIZE to{};
    SIZE past{};
    GetTextExtentPoint32W(drawn, before.c_str(), static_cast<int>(before.size()), &to);
    GetTextExtentPoint32W(drawn, (before + L"_").c_str(), static_cast<int>(before.size()) + 1,
                          &past);
    const std::vector<bool> drawnInk = inkOf(drawn, 0, 0, drawnWidth, drawnHeight);
    SelectObject(drawn, fontOld);
    SelectObject(drawn, drawnOld);
    DeleteObject(drawnBitmap);
    DeleteDC(drawn);
    DeleteObject(hfont);
    ReleaseDC(nullptr, screen);

    struct Pixel {
        int x, y;
    };
    const int from = pad + to.cx;
    const int until = pad + past.cx;
    std::vector<Pixel> rest;
    for (int y = 0; y < drawnHeight; ++y)
        for (int x = 0; x < drawnWidth; ++x)
            if (drawnInk[static_cast<std::size_t>(y) * drawnWidth + x] && (x < from || x >= until))
                rest.push_back({x, y});
    const auto onScreen = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width && y < height &&
               screenInk[static_cast<std::size_t>(y) * width + x];
    };
    // Every place of the drawing over the control, its text cell inside.
    int best = -1;
    int bestX = 0;
    for (int dy = -pad - height; dy <= -pad + height; ++dy)
        for (int dx = -pad - width; dx <= -pad + width; ++dx) {
            int matched = 0;
            for (const Pixel& p : rest)
                matched += onScreen(p.x + dx, p.y + dy);
            if (matched > best) {
                best = matched;
                bestX = dx;
            }
        }
    // Only the underscore inks its columns: any ink there is its.
    int inked = 0;
    for (int x = from; x < until; ++x) {
        bool any = false;
        for (int y = 0; y < height && !any; ++y)
            any = onScreen(x + bestX, y);
        inked += any;
    }
    print({"underscore", number(inked), number(until - from), number(best), number(rest.size())});
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"children" && argc >= 4) {
        const HWND top = FindWindowW(std::wstring(argv[3]) == L"*" ? nullptr : argv[3], argv[2]);
        return top ? printChildren(top, argc - 4, argv + 4) : 1;
    }
    if (mode == L"underscore" && argc == 5) {
        const HWND top = FindWindowW(nullptr, argv[2]);
        const HWND control = top ? FindWindowExW(top, nullptr, nullptr, argv[3]) : nullptr;
        return control ? printUnderscore(control, argv[3], argv[4]) : 1;
    }
    return 2;
}
