#include "dpi.h"

namespace zavo::ui {
namespace {

// A function of user32 (loaded with every program) that only newer Windows
// has; nullptr where it is missing.
template <class Function> Function* user32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const FARPROC found = user32 ? GetProcAddress(user32, name) : nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(found));
}

int deviceDpi(HWND window) {
    const HDC dc = GetDC(window);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
    if (dc)
        ReleaseDC(window, dc);
    return dpi > 0 ? dpi : 96;
}

int openingDpi = 0; // 0: the monitor's own

} // namespace

void openWindowsAtDpi(int dpi) {
    openingDpi = dpi;
}

int windowDpi(HWND window) {
    if (openingDpi > 0)
        return openingDpi;
    static const auto forWindow = user32Function<UINT WINAPI(HWND)>("GetDpiForWindow");
    if (forWindow && window)
        if (const UINT dpi = forWindow(window); dpi > 0)
            return static_cast<int>(dpi);
    return deviceDpi(window);
}

int systemDpi() {
    static const auto forSystem = user32Function<UINT WINAPI()>("GetDpiForSystem");
    if (forSystem)
        if (const UINT dpi = forSystem(); dpi > 0)
            return static_cast<int>(dpi);
    return deviceDpi(nullptr);
}

RECT outerRectForDpi(RECT client, DWORD style, DWORD exStyle, bool menu, int dpi) {
    static const auto adjustForDpi =
        user32Function<BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (!adjustForDpi ||
        !adjustForDpi(&client, style, menu ? TRUE : FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&client, style, menu ? TRUE : FALSE, exStyle);
    return client;
}

LOGFONTW messageFontAt(int dpi) {
    static const auto metricsForDpi =
        user32Function<BOOL WINAPI(UINT, UINT, void*, UINT, UINT)>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (metricsForDpi &&
        metricsForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)))
        return metrics.lfMessageFont;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        // Given at the system's DPI.
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi());
        return metrics.lfMessageFont;
    }
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    return font;
}

} // namespace zavo::ui
