// Whether the underscore of a caption reaches the screen. A stand-in font
// can lose it at some pixel sizes: its thin stroke may fall between two rows
// of pixels and be drawn as nothing, or lie below the text cell that a
// control clips its text to.
//
//   caption_ink.exe TITLE TEXT FONT
//
// finds the child of the window titled TITLE that shows TEXT, draws TEXT in
// FONT ("FAMILY,POINTS", made at the window's DPI as the program makes it)
// on white, finds the place where that drawing, the underscore's columns left
// out, best matches the control's pixels on the screen, and prints,
// tab-separated:
//   underscore INKED WIDTH MATCHED TOTAL
// WIDTH: the columns of the first underscore (its advance); INKED: how many
// of them hold ink in the control on the screen; MATCHED of TOTAL: the
// drawing's other ink found there (all of it unless the control shows the
// text otherwise: cut, wrapped, in another font). Ink is anything darker
// than three quarters of white: an antialiased stroke counts. Exit code 1
// when the window or the control is not there.
#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Child {
    std::wstring text;
    HWND found = nullptr;
};

BOOL CALLBACK matchText(HWND child, LPARAM param) {
    auto& wanted = *reinterpret_cast<Child*>(param);
    wchar_t text[512] = {};
    GetWindowTextW(child, text, 512);
    if (wanted.text != text)
        return TRUE;
    wanted.found = child;
    return FALSE;
}

// Dark pixels of a width x height area of `dc`, row by row.
std::vector<bool> inkOf(HDC dc, int width, int height) {
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
    BitBlt(copy, 0, 0, width, height, dc, 0, 0, SRCCOPY);
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

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4)
        return 2;
    const HWND top = FindWindowW(nullptr, argv[1]);
    Child child{argv[2]};
    if (top)
        EnumChildWindows(top, matchText, reinterpret_cast<LPARAM>(&child));
    if (!child.found)
        return 1;
    const std::wstring text = argv[2];
    const std::wstring font = argv[3];

    // The control as the screen shows it, less the edge of a push button.
    RECT client{};
    GetClientRect(child.found, &client);
    POINT origin{0, 0};
    ClientToScreen(child.found, &origin);
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    const int width = client.right;
    const int height = client.bottom;
    const HDC shown = CreateCompatibleDC(screen);
    const HBITMAP shownBitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ shownOld = SelectObject(shown, shownBitmap);
    BitBlt(shown, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    std::vector<bool> screenInk = inkOf(shown, width, height);
    SelectObject(shown, shownOld);
    DeleteObject(shownBitmap);
    DeleteDC(shown);
    wchar_t cls[64] = {};
    GetClassNameW(child.found, cls, 64);
    if (lstrcmpiW(cls, L"Button") == 0) {
        const int edge = GetSystemMetrics(SM_CXEDGE) + 1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (x < edge || y < edge || x >= width - edge || y >= height - edge)
                    screenInk[static_cast<std::size_t>(y) * width + x] = false;
    }

    // The text drawn unclipped, with room on every side.
    const std::size_t comma = font.find(L',');
    const HFONT hfont = CreateFontW(
        -static_cast<int>(_wtof(font.c_str() + comma + 1) * dpi / 72.0 + 0.5), 0, 0, 0, FW_NORMAL,
        FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
        DEFAULT_QUALITY, DEFAULT_PITCH, font.substr(0, comma).c_str());
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
    const std::vector<bool> drawnInk = inkOf(drawn, drawnWidth, drawnHeight);
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
    const std::string line = "underscore\t" + std::to_string(inked) + "\t" +
                             std::to_string(until - from) + "\t" + std::to_string(best) + "\t" +
                             std::to_string(rest.size()) + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
    return 0;
}
