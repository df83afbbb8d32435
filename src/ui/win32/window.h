// A top-level or child window that owns its HWND; messages reach the
// object's onMessage. The HWND goes away with DestroyWindow, after which no
// message reaches the object any more.
#pragma once

#include "core/screen_fit.h"
#include "forms/design_sheet.h"
#include "platform/win32/win32_api.h"

namespace zavo::ui {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Pixels per inch of the monitor the window is on.
    int dpi() const { return dpi_; }

protected:
    virtual ~Window() = default;

    // Registers `className` once (the program icon, the dialog face colour,
    // `classStyle`) and creates the window with this object behind it.
    bool create(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style, int x,
                int y, int width, int height, HWND parent, HMENU menu, UINT classStyle = 0);
    // Creates the top-level window of a window sheet: its class and title
    // from the sheet, the client area of the sheet's size at the sheet's
    // place (centred on the screen, frame included, where the sheet gives
    // none), whatever room the frame and the menu bar take; twips become
    // pixels at the window's DPI.
    bool createForSheet(const forms::WindowSpec& sheet, DWORD style, DWORD exStyle, HMENU menu);
    // Sizes the window so that its client area is the sheet's size at the
    // window's DPI, whatever room the frame and the menu bar take now.
    void fitClientToSheet();
    // WM_DPICHANGED: the window moved to a monitor of another scaling. Takes
    // the system's suggested rectangle and the new DPI; the caller lays the
    // contents out again.
    void takeDpi(WPARAM wParam, LPARAM lParam);
    virtual LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT defaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }

    // Shows the window in front of the others, the focus on `focus` if given.
    void showInFront(HWND focus = nullptr) {
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        if (focus)
            SetFocus(focus);
    }

    HWND hwnd_ = nullptr;
    int dpi_ = 96;

private:
    const forms::WindowSpec* sheet_ = nullptr;
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

// Moves a shown or hidden window so that its client area's top-left is at
// (x, y), whatever the frame the system gave it.
void placeClientAt(HWND window, int x, int y);

// The work area (the screen less the task bar) of the monitor that holds
// most of `outer`, or of the nearest monitor.
core::PixelRect workAreaOf(const RECT& outer);

// Moves `window` the least distance that puts it wholly inside its
// monitor's work area; a window already inside does not move.
void keepOnScreen(HWND window);

} // namespace zavo::ui
