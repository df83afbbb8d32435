// The main window on Win32: draws the design sheet and forwards its events
// to the form, which holds all behaviour.
#pragma once

#include "forms/launcher_view.h"
#include "forms/zavo_launcher.h"
#include "sheet_controls.h"
#include "window.h"

namespace zavo::ui {

class LauncherWindow final : public Window, public forms::LauncherView {
public:
    explicit LauncherWindow(forms::ZAVO_launcher& form);

    // forms::LauncherView
    void show() override;
    void hide() override;
    void dispose() override;
    platform::WindowHandle handle() override;
    forms::TwipsRect placement() override;
    void setCommand1Caption(int index, const std::string& caption) override;
    void setTimeDisplay(const std::string& text) override;
    void minimize() override;
    void takeFocus() override;

    // Command id of the menu item `smallization`, for the Ctrl+Z accelerator.
    static int minimizeCommand();

    // The client area is 312 x 182 pixels at (686, 420), below the menu bar.
    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

protected:
    LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    ~LauncherWindow() override = default;
    HMENU buildMenu();
    void command(int id);
    void forward(void (forms::ZAVO_launcher::*handler)());

    forms::ZAVO_launcher& form_;
    SheetControls controls_;
    HWND focus_ = nullptr; // the control that had the focus when we lost it
    bool disposed_ = false;
};

} // namespace zavo::ui
