// The main window on Win32: draws the design sheet and forwards its events
// to the form, which holds all behaviour.
#pragma once

#include "form_window.h"
#include "forms/launcher_view.h"
#include "forms/zavo_launcher.h"

namespace zavo::ui {

class LauncherWindow final : public FormWindow<forms::LauncherView, forms::ZAVO_launcher> {
public:
    explicit LauncherWindow(forms::ZAVO_launcher& form);

    // forms::LauncherView
    void dispose() override;
    platform::WindowHandle handle() override;
    forms::TwipsRect placement() override;
    int pixelsPerInch() override;
    core::PixelRect workArea(const core::PixelRect& window) override;
    void setCommand1Caption(int index, const std::string& caption) override;
    void setTimeDisplay(const std::string& text) override;
    void minimize() override;
    void takeFocus() override;

    // The keyboard shortcuts of the menu sheet; the caller destroys the table.
    static HACCEL createAccelerators();

    // The client area is 312 x 182 pixels at (686, 420) at 96 DPI, scaled
    // with the DPI, below the menu bar.
    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

protected:
    LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void onCommand(int id) override;
    void paint(HDC dc) override;

private:
    ~LauncherWindow() override = default;
};

} // namespace zavo::ui
