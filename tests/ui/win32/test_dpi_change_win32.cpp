// WM_DPICHANGED in each of the three windows, in this process under Wine:
// a window opened at 96 DPI and moved through a path of DPIs shows, pixel
// for pixel in its client area, what a window opened fresh at the last DPI
// shows, also after the About picture has shaken; and every control's font
// is as high as its points make at the window's DPI, in both.
//
// The windows draw on a Wine desktop of this process's own, on the private X
// display its wrapper (with_x_display.sh) starts: Wine's null driver keeps
// no pixels to read back.
#include "forms/frm_about_sheet.h"
#include "forms/frm_option_sheet.h"
#include "forms/zavo_launcher_sheet.h"
#include "ui/win32/dpi.h"
#include "win32_program.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

using namespace zavo;
using forms::FormId;
using test::Win32Program;

namespace {

// Room for the main window at 192 DPI: its client area ends at (1996, 1204).
constexpr int kDesktopWidth = 2400;
constexpr int kDesktopHeight = 1600;

// Captures are written beside the test program, not in the scratch folder.
const std::filesystem::path kStartFolder = std::filesystem::current_path();

// Moves this thread onto a desktop of its own before it makes any window.
// Wine runs a desktop in the graphics driver of the process that opens it:
// the prefix's default desktop may already be on the null driver of the
// tests beside this one, and a named desktop of a given size is a window of
// that size on our X display.
void useOwnDesktop() {
    const std::wstring name = L"zavo-dpi-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring size =
        std::to_wstring(kDesktopWidth) + L"x" + std::to_wstring(kDesktopHeight);
    HKEY key = nullptr;
    REQUIRE(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS);
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(size.c_str()),
                   DWORD((size.size() + 1) * sizeof(wchar_t)));
    const HDESK desktop = CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    REQUIRE(desktop);
    REQUIRE(SetThreadDesktop(desktop));
    GetDesktopWindow(); // starts it, reading its size
    RegDeleteValueW(key, name.c_str());
    RegCloseKey(key);
    REQUIRE(GetSystemMetrics(SM_CXSCREEN) == kDesktopWidth);
}

// Handles what is queued: paints, moves, the clock.
void settle() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Until the main window's clock shows its first text, which the timer's
// first tick brings (the recording clock reads one time, so every later tick
// draws the same).
void awaitClock(HWND launcher) {
    const HWND clock = GetDlgItem(launcher, ui::kFirstControlId +
                                                forms::row(forms::LauncherControl::time_display));
    REQUIRE(clock);
    for (settle(); GetWindowTextLengthW(clock) == 0; settle())
        MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
}

struct Image {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, top row first
};

// A top-down 32-bit bitmap of the image's size, as captured and as saved.
BITMAPINFOHEADER header(const Image& image) {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = image.width;
    h.biHeight = -image.height;
    h.biPlanes = 1;
    h.biBitCount = 32;
    h.biCompression = BI_RGB;
    return h;
}

// The client area as it stands on the window's surface, children included.
Image capture(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    Image image{client.right, client.bottom, {}};
    const HDC dc = GetDCEx(window, nullptr, DCX_CACHE);
    const HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info{};
    info.bmiHeader = header(image);
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, image.width, image.height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    image.pixels.assign(first, first + std::size_t(image.width) * std::size_t(image.height));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return image;
}

// A BMP of `image`, to look at.
void save(const Image& image, const std::string& name) {
    const BITMAPINFOHEADER info = header(image);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + DWORD(image.pixels.size() * sizeof image.pixels[0]);
    std::ofstream out(kStartFolder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    // Opaque: some viewers read the unused byte as alpha.
    std::vector<std::uint32_t> opaque = image.pixels;
    for (std::uint32_t& p : opaque)
        p |= 0xFF000000u;
    out.write(reinterpret_cast<const char*>(opaque.data()),
              std::streamsize(opaque.size() * sizeof opaque[0]));
}

// "same", or how many pixels differ and where.
std::string difference(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height)
        return std::to_string(a.width) + "x" + std::to_string(a.height) + " against " +
               std::to_string(b.width) + "x" + std::to_string(b.height);
    int count = 0;
    RECT box{a.width, a.height, -1, -1};
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.pixels[std::size_t(y * a.width + x)] != b.pixels[std::size_t(y * a.width + x)]) {
                ++count;
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                       std::max<LONG>(box.right, x), std::max<LONG>(box.bottom, y)};
            }
    if (count == 0)
        return "same";
    char text[128];
    std::snprintf(text, sizeof text, "%d pixels differ in (%ld, %ld)-(%ld, %ld)", count, box.left,
                  box.top, box.right, box.bottom);
    return text;
}

// What Windows sends a window dragged onto a monitor of `dpi`: the new DPI
// and a rectangle of the outer size scaled from the old DPI.
void moveToDpi(HWND window, int from, int dpi) {
    RECT outer{};
    GetWindowRect(window, &outer);
    RECT suggested{outer.left, outer.top, outer.left + MulDiv(outer.right - outer.left, dpi, from),
                   outer.top + MulDiv(outer.bottom - outer.top, dpi, from)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

int fontHeight(HWND control) {
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    REQUIRE(GetObjectW(handle, sizeof font, &font) == sizeof font);
    return font.lfHeight;
}

// The system's message font, the font of rows without one, at `dpi`: the
// system gives it at its own DPI.
int messageFontHeight(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    REQUIRE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const HDC screen = GetDC(nullptr);
    const int systemDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi);
}

// Every control's font is the height its row's points make at `dpi`:
// -points x DPI / 72 pixels (the em), the message font's scaled from the
// system's DPI.
void checkFonts(HWND window, std::span<const forms::ControlSpec> rows, int dpi) {
    CAPTURE(dpi);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const HWND control = GetDlgItem(window, ui::kFirstControlId + int(i));
        if (!control || rows[i].kind == forms::Kind::Picture)
            continue;
        const std::string name = rows[i].name;
        CAPTURE(name);
        const forms::FontSpec& font = rows[i].font;
        const int height =
            font.family ? -int(std::lround(font.points * dpi / 72.0)) : messageFontHeight(dpi);
        CHECK(fontHeight(control) == height);
    }
}

struct WindowRow {
    FormId id;
    const char* name;
    std::span<const forms::ControlSpec> rows;
};

// The About picture shakes once (the pointer moves over it).
void shake(HWND about) {
    const HWND picture =
        GetDlgItem(about, ui::kFirstControlId + forms::row(forms::AboutControl::Picture1));
    REQUIRE(picture);
    SendMessageW(picture, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    settle();
}

} // namespace

TEST_CASE("a window moved to another DPI shows what one opened there shows") {
    useOwnDesktop();
    const WindowRow windows[] = {
        {FormId::Launcher, "main", forms::kLauncherControls},
        {FormId::Option, "option", forms::kOptionControls},
        {FormId::About, "about", forms::kAboutControls},
    };
    const std::vector<int> paths[] = {{144, 96}, {192}, {120}};
    for (const WindowRow& w : windows) {
        for (const std::vector<int>& path : paths) {
            std::string steps = "96";
            for (int dpi : path)
                steps += "-" + std::to_string(dpi);
            const std::string row = std::string(w.name) + "-" + steps;
            CAPTURE(row);
            Win32Program p({});
            const auto open = [&](int dpi) {
                ui::openWindowsAtDpi(dpi);
                p.forms.run([&] { p.forms.show(w.id); });
                ui::openWindowsAtDpi(0);
                settle();
                const HWND opened = dynamic_cast<ui::Window&>(p.window(w.id)).hwnd();
                if (w.id == FormId::Launcher)
                    awaitClock(opened);
                return opened;
            };

            // Opened at 96 DPI, then moved along the path.
            HWND window = open(96);
            int from = 96;
            for (int dpi : path) {
                moveToDpi(window, from, dpi);
                settle();
                checkFonts(window, w.rows, dpi);
                from = dpi;
            }
            std::vector<std::pair<std::string, Image>> moved{{"moved", capture(window)}};
            if (w.id == FormId::About) {
                shake(window);
                moved.emplace_back("shaken", capture(window));
            }
            // Gone before the fresh one opens: only one window is active and
            // shows its focus.
            p.forms.run([&] {
                p.forms.unload(w.id);
                for (FormId other : {FormId::Launcher, FormId::Option, FormId::About})
                    p.forms.hide(other);
            });
            settle();

            window = open(path.back());
            checkFonts(window, w.rows, path.back());
            const Image fresh = capture(window);
            // A blank capture would match anything: the window has drawn.
            REQUIRE(std::count(fresh.pixels.begin(), fresh.pixels.end(), fresh.pixels[0]) <
                    std::ptrdiff_t(fresh.pixels.size()));
            for (const auto& [what, image] : moved) {
                CAPTURE(what);
                const std::string diff = difference(image, fresh);
                CHECK(diff == "same");
                if (diff != "same") {
                    save(image, "dpi-" + row + "-" + what + ".bmp");
                    save(fresh, "dpi-" + row + "-fresh.bmp");
                }
            }
            save(moved.back().second, "dpi-" + row + ".bmp");
        }
    }
}
