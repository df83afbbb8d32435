#include "launcher_window.h"

#include "core/twips.h"
#include "forms/zavo_launcher_sheet.h"
#include "menu_shortcut.h"
#include "text.h"
#include "vb_input.h"

#include <cmath>
#include <vector>

namespace zavo::ui {
namespace {

using forms::LauncherControl;
using forms::LauncherMenu;

constexpr UINT_PTR kTimer1 = 1;
// Menu command ids: this base plus the item's row in kLauncherMenu.
constexpr int kFirstMenuId = 40000;

std::wstring menuCaption(const forms::MenuSpec& item) {
    std::wstring caption = wide(item.caption);
    if (item.shortcut)
        caption += L"\t" + wide(item.shortcut);
    return caption;
}

HMENU buildMenu() {
    const HMENU bar = CreateMenu();
    std::vector<HMENU> dropDowns(forms::kLauncherMenu.size());
    for (std::size_t i = 0; i < forms::kLauncherMenu.size(); ++i) {
        const forms::MenuSpec& item = forms::kLauncherMenu[i];
        const UINT_PTR id = kFirstMenuId + i;
        if (item.parent != forms::kMenuBar) {
            if (const HMENU dropDown = dropDowns.at(static_cast<std::size_t>(item.parent)))
                AppendMenuW(dropDown, MF_STRING, id, menuCaption(item).c_str());
            continue;
        }
        if (forms::ZAVO_launcher::menuHandler(LauncherMenu(i))) {
            AppendMenuW(bar, MF_STRING, id, menuCaption(item).c_str());
            continue;
        }
        dropDowns[i] = CreatePopupMenu();
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(dropDowns[i]),
                    menuCaption(item).c_str());
    }
    return bar;
}

} // namespace

HACCEL LauncherWindow::createAccelerators() {
    std::vector<ACCEL> table;
    for (std::size_t i = 0; i < forms::kLauncherMenu.size(); ++i)
        if (const char* shortcut = forms::kLauncherMenu[i].shortcut)
            if (ACCEL key{}; parseMenuShortcut(shortcut, key)) {
                key.cmd = static_cast<WORD>(kFirstMenuId + i);
                table.push_back(key);
            }
    return table.empty() ? nullptr
                         : CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

LauncherWindow::LauncherWindow(forms::ZAVO_launcher& form) : FormWindow(form) {
    // Created in the topmost band already. Under Wine start-up's
    // SetWindowPos(HWND_TOPMOST) alone does not get it there: Wine first
    // lifts the window's owned popups (its tooltip, itself topmost) and then
    // puts the window right below them, which keeps it out of the band unless
    // another topmost window happens to lie below. On Windows the call alone
    // would do.
    if (!createForSheet(forms::kLauncherWindow, kStyle | WS_CLIPCHILDREN, WS_EX_TOPMOST,
                        buildMenu()))
        return;

    controls_ = SheetControls(hwnd_, forms::kLauncherControls, dpi_);
    for (const auto& button : forms::kLauncherButtons)
        controls_.get<Button>(button.button).onClick = [this, button] { forward(button); };
    focus_ = firstFocus_ = controls_.get(forms::kLauncherFirstFocus).hwnd();
    // Runs from load, also while hidden or minimised.
    SetTimer(hwnd_, kTimer1, forms::kTimer1Interval, nullptr);
}

void LauncherWindow::dispose() {
    KillTimer(hwnd_, kTimer1);
    FormWindow::dispose();
}

int LauncherWindow::pixelsPerInch() {
    return dpi_;
}

platform::WindowHandle LauncherWindow::handle() {
    return reinterpret_cast<platform::WindowHandle>(hwnd_);
}

forms::TwipsRect LauncherWindow::placement() {
    // The outer window, as SetWindowPos takes it back, in twips at the
    // window's DPI.
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const auto twips = [this](long pixels) {
        return static_cast<int>(std::lround(core::pixels_to_twips(double(pixels), dpi_)));
    };
    return {twips(r.left), twips(r.top), twips(r.right - r.left), twips(r.bottom - r.top)};
}

// The outer window is what SetWindowPos places: no frame to take off.
core::PixelRect LauncherWindow::workArea(const core::PixelRect& window) {
    return workAreaOf({window.left, window.top, window.right(), window.bottom()});
}

void LauncherWindow::setCommand1Caption(int index, const std::string& caption) {
    controls_.get(forms::kCommand1.at(static_cast<std::size_t>(index))).setText(caption);
}

void LauncherWindow::setTimeDisplay(const std::string& text) {
    controls_.get(LauncherControl::time_display).setText(text);
}

void LauncherWindow::minimize() {
    ShowWindow(hwnd_, SW_MINIMIZE);
}

void LauncherWindow::takeFocus() {
    SetForegroundWindow(hwnd_);
    SetFocus(focus_ ? focus_ : hwnd_);
}

void LauncherWindow::onCommand(int id) {
    const int row = id - kFirstMenuId;
    if (row >= 0 && row < static_cast<int>(forms::kLauncherMenu.size())) {
        if (const auto handler = forms::ZAVO_launcher::menuHandler(LauncherMenu(row)))
            forward(handler);
        return;
    }
    FormWindow::onCommand(id);
}

void LauncherWindow::paint(HDC dc) {
    for (const forms::ControlSpec& row : forms::kLauncherControls)
        if (row.kind == forms::Kind::Line)
            drawLine(dc, row, GetSysColor(COLOR_WINDOWTEXT), 1, dpi_);
}

LRESULT LauncherWindow::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        if (wParam == kTimer1)
            forward(&forms::ZAVO_launcher::Timer1_Timer);
        return 0;
    case WM_KEYDOWN: {
        const int key = static_cast<int>(wParam);
        const int shift = vbShift(keyboardModifiers());
        forward([this, key, shift] { form_.Form_KeyDown(key, shift); });
        return 0;
    }
    default:
        return FormWindow::onMessage(msg, wParam, lParam);
    }
}

} // namespace zavo::ui
