#include "window.h"

#include "core/twips.h"
#include "dpi.h"
#include "resource_ids.h"
#include "text.h"

namespace zavo::ui {

bool Window::create(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu, UINT classStyle) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(instance, className, &wc)) {
        wc = {};
        wc.cbSize = sizeof wc;
        wc.style = classStyle;
        wc.lpfnWndProc = &Window::proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = className;
        if (!parent) {
            wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(ZAVO_IDI_APP));
            wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(ZAVO_IDI_APP),
                                                       IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                       GetSystemMetrics(SM_CYSMICON), 0));
        }
        if (!RegisterClassExW(&wc))
            return false;
    }
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu,
                           instance, this) != nullptr;
}

bool Window::createForSheet(const forms::WindowSpec& sheet, DWORD style, DWORD exStyle,
                            HMENU menu) {
    using core::twips_to_pixels;
    sheet_ = &sheet;
    // The window is made at the primary monitor's DPI; once it exists its
    // own monitor's DPI is known and the sizes follow it.
    dpi_ = systemDpi();
    const bool centred = sheet.clientLeft < 0 || sheet.clientTop < 0;
    const int width = twips_to_pixels(sheet.clientWidth, dpi_);
    const int height = twips_to_pixels(sheet.clientHeight, dpi_);
    const int clientX = centred ? 0 : twips_to_pixels(sheet.clientLeft, dpi_);
    const int clientY = centred ? 0 : twips_to_pixels(sheet.clientTop, dpi_);
    RECT outer = outerRectForDpi({clientX, clientY, clientX + width, clientY + height}, style,
                                 exStyle, menu != nullptr, dpi_);
    if (centred)
        OffsetRect(&outer,
                   (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2 - outer.left,
                   (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2 - outer.top);
    if (!create(wide(sheet.name).c_str(), exStyle, wide(sheet.caption).c_str(), style, outer.left,
                outer.top, outer.right - outer.left, outer.bottom - outer.top, nullptr, menu))
        return false;
    dpi_ = windowDpi(hwnd_);
    fitClientToSheet();
    if (!centred)
        placeClientAt(hwnd_, twips_to_pixels(sheet.clientLeft, dpi_),
                      twips_to_pixels(sheet.clientTop, dpi_));
    return hwnd_ != nullptr;
}

void Window::fitClientToSheet() {
    if (!sheet_ || !hwnd_)
        return;
    // The menu bar may take more or less room than the estimate.
    const int width = core::twips_to_pixels(sheet_->clientWidth, dpi_);
    const int height = core::twips_to_pixels(sheet_->clientHeight, dpi_);
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (client.right == width && client.bottom == height)
        return;
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + width - client.right,
                 outer.bottom - outer.top + height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::takeDpi(WPARAM wParam, LPARAM lParam) {
    dpi_ = HIWORD(wParam);
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Window::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return defaultProc(msg, wParam, lParam);
}

LRESULT CALLBACK Window::proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    // The object may be gone once onMessage returns (a handler can unload
    // its own form): nothing here touches it afterwards.
    return self->onMessage(msg, wParam, lParam);
}

void placeClientAt(HWND window, int x, int y) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    RECT outer{};
    GetWindowRect(window, &outer);
    const int dx = x - origin.x;
    const int dy = y - origin.y;
    if (dx != 0 || dy != 0)
        SetWindowPos(window, nullptr, outer.left + dx, outer.top + dy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

core::PixelRect workAreaOf(const RECT& outer) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&outer, MONITOR_DEFAULTTONEAREST), &info))
        return {};
    const RECT& w = info.rcWork;
    return {w.left, w.top, w.right - w.left, w.bottom - w.top};
}

void keepOnScreen(HWND window) {
    RECT outer{};
    if (!GetWindowRect(window, &outer))
        return;
    const core::PixelRect now{outer.left, outer.top, outer.right - outer.left,
                              outer.bottom - outer.top};
    const core::PixelRect placed = core::fit_into(now, workAreaOf(outer));
    if (placed != now)
        SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace zavo::ui
