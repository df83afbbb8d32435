// What the main window's handlers need of its window.
#pragma once

#include "core/screen_fit.h"
#include "core/services.h"
#include "form.h"

#include <string>

namespace zavo::forms {

// The window's own Left, Top, Width and Height in twips, as the window
// system places it (the outer window on Windows).
struct TwipsRect {
    int left = 0, top = 0, width = 0, height = 0;
};

class LauncherView : public FormView {
public:
    virtual platform::WindowHandle handle() = 0;
    virtual TwipsRect placement() = 0;
    // Pixels per inch of the window's display, which turns twips into the
    // pixels the window system places it in. Qt places windows in
    // device-independent pixels, 96 to the inch at every scaling.
    virtual int pixelsPerInch() { return 96; }
    // The work area (the screen less task bars and panels) of the monitor
    // that holds a window placed at `window`, in the pixels the placement
    // takes, less what the window system adds around that rectangle (a frame
    // drawn outside it). Empty where it cannot be told.
    virtual core::PixelRect workArea(const core::PixelRect& window) {
        (void)window;
        return {};
    }
    // Caption of Command1(index), UTF-8; the access key is marked with '&'.
    virtual void setCommand1Caption(int index, const std::string& caption) = 0;
    virtual void setTimeDisplay(const std::string& text) = 0;
    virtual void minimize() = 0;
    // Gives the window the input focus (and makes it the active window).
    virtual void takeFocus() = 0;

protected:
    ~LauncherView() = default;
};

} // namespace zavo::forms
