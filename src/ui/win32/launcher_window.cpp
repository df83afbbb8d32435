#include "launcher_window.h"

#include "core/twips.h"
#include "forms/zavo_launcher_sheet.h"
#include "text.h"

#include <string_view>

namespace zavo::ui {
namespace {

using core::kTwipsPerPixel;
using core::twips_to_pixels;
using forms::kLauncherWindow;

constexpr UINT_PTR kTimer1 = 1;
// Menu command ids: this base plus the item's row in kLauncherMenu.
constexpr int kFirstMenuId = 40000;

using Handler = void (forms::ZAVO_launcher::*)();

std::wstring menuCaption(const forms::MenuSpec& item) {
    std::wstring caption = wide(item.caption);
    if (item.shortcut)
        caption += L"\t" + wide(item.shortcut);
    return caption;
}

} // namespace

int LauncherWindow::minimizeCommand() {
    for (std::size_t i = 0; i < forms::kLauncherMenu.size(); ++i)
        if (std::string_view(forms::kLauncherMenu[i].name) == "smallization")
            return kFirstMenuId + static_cast<int>(i);
    return 0;
}

LauncherWindow::LauncherWindow(forms::ZAVO_launcher& form) : form_(form) {
    // Created in the topmost band already. Under Wine start-up's
    // SetWindowPos(HWND_TOPMOST) alone does not get it there: Wine first
    // lifts the window's owned popups (its tooltip, itself topmost) and then
    // puts the window right below them, which keeps it out of the band unless
    // another topmost window happens to lie below. On Windows the call alone
    // would do.
    constexpr DWORD exStyle = WS_EX_TOPMOST;
    const HMENU menu = buildMenu();
    const RECT outer = outerRect(
        twips_to_pixels(kLauncherWindow.clientLeft), twips_to_pixels(kLauncherWindow.clientTop),
        twips_to_pixels(kLauncherWindow.clientWidth), twips_to_pixels(kLauncherWindow.clientHeight),
        kStyle, exStyle, true);
    create(wide(kLauncherWindow.name).c_str(), exStyle, wide(kLauncherWindow.caption).c_str(),
           kStyle | WS_CLIPCHILDREN, outer.left, outer.top, outer.right - outer.left,
           outer.bottom - outer.top, nullptr, menu);
    if (!hwnd_)
        return;
    // The menu bar may take more or less room than the estimate.
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int wantHeight = twips_to_pixels(kLauncherWindow.clientHeight);
    if (client.bottom != wantHeight)
        SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left,
                     outer.bottom - outer.top + wantHeight - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    placeClientAt(hwnd_, twips_to_pixels(kLauncherWindow.clientLeft),
                  twips_to_pixels(kLauncherWindow.clientTop));

    controls_ = buildControls(hwnd_, forms::kLauncherControls);
    focus_ = GetWindow(hwnd_, GW_CHILD);
    // Runs from load, also while hidden or minimised.
    SetTimer(hwnd_, kTimer1, forms::kTimer1Interval, nullptr);
}

HMENU LauncherWindow::buildMenu() {
    const HMENU bar = CreateMenu();
    std::string_view popupName;
    HMENU popup = nullptr;
    for (std::size_t i = 0; i < forms::kLauncherMenu.size(); ++i) {
        const forms::MenuSpec& item = forms::kLauncherMenu[i];
        const UINT_PTR id = kFirstMenuId + i;
        if (item.parent) {
            if (popup && popupName == item.parent)
                AppendMenuW(popup, MF_STRING, id, menuCaption(item).c_str());
            continue;
        }
        if (forms::ZAVO_launcher::menuHandler(item.name)) {
            AppendMenuW(bar, MF_STRING, id, menuCaption(item).c_str());
            continue;
        }
        popup = CreatePopupMenu();
        popupName = item.name;
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), menuCaption(item).c_str());
    }
    return bar;
}

void LauncherWindow::forward(Handler handler) {
    if (!disposed_)
        form_.handle([this, handler] { (form_.*handler)(); });
}

void LauncherWindow::show() {
    showInFront();
}

void LauncherWindow::hide() {
    ShowWindow(hwnd_, SW_HIDE);
}

void LauncherWindow::dispose() {
    disposed_ = true;
    KillTimer(hwnd_, kTimer1);
    DestroyWindow(hwnd_);
    delete this;
}

platform::WindowHandle LauncherWindow::handle() {
    return reinterpret_cast<platform::WindowHandle>(hwnd_);
}

forms::TwipsRect LauncherWindow::placement() {
    // The outer window, as SetWindowPos takes it back.
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return {r.left * kTwipsPerPixel, r.top * kTwipsPerPixel, (r.right - r.left) * kTwipsPerPixel,
            (r.bottom - r.top) * kTwipsPerPixel};
}

void LauncherWindow::setCommand1Caption(int index, const std::string& caption) {
    SetWindowTextW(controls_["Command1_" + std::to_string(index)], wide(caption).c_str());
}

void LauncherWindow::setTimeDisplay(const std::string& text) {
    SetWindowTextW(controls_["time_display"], wide(text).c_str());
}

void LauncherWindow::minimize() {
    ShowWindow(hwnd_, SW_MINIMIZE);
}

void LauncherWindow::takeFocus() {
    SetForegroundWindow(hwnd_);
    SetFocus(focus_ ? focus_ : hwnd_);
}

void LauncherWindow::command(int id) {
    if (id >= kFirstMenuId && id < kFirstMenuId + static_cast<int>(forms::kLauncherMenu.size())) {
        if (const Handler handler =
                forms::ZAVO_launcher::menuHandler(forms::kLauncherMenu[id - kFirstMenuId].name))
            forward(handler);
        return;
    }
    const auto found = controls_.nameOfId.find(id);
    if (found == controls_.nameOfId.end())
        return;
    const std::string& name = found->second;
    if (name == "Command2")
        return forward(&forms::ZAVO_launcher::Command2_Click);
    if (name.starts_with("Command1_")) {
        const int index = std::stoi(name.substr(9));
        if (!disposed_)
            form_.handle([this, index] { form_.Command1_Click(index); });
    }
}

LRESULT LauncherWindow::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        // Enter, as the dialog keys send it: presses the focused button.
        if (LOWORD(wParam) == IDOK) {
            if (const HWND f = GetFocus(); f && IsChild(hwnd_, f))
                command(GetDlgCtrlID(f));
            return 0;
        }
        // Buttons report BN_CLICKED, menus and accelerators 0 and 1.
        if (HIWORD(wParam) == BN_CLICKED || lParam == 0)
            command(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == kTimer1)
            forward(&forms::ZAVO_launcher::Timer1_Timer);
        return 0;
    case WM_CLOSE:
        // The form decides; unloading destroys the window.
        forward(&forms::ZAVO_launcher::Form_QueryClose);
        return 0;
    case WM_KEYDOWN:
        if (!disposed_) {
            const int shift = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) |
                              (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                              (GetKeyState(VK_MENU) < 0 ? 4 : 0);
            const int key = static_cast<int>(wParam);
            form_.handle([this, key, shift] { form_.Form_KeyDown(key, shift); });
        }
        return 0;
    case WM_ACTIVATE:
        // The focus goes back to the control that had it.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (const HWND f = GetFocus(); f && IsChild(hwnd_, f))
                focus_ = f;
        } else if (focus_ && !HIWORD(wParam)) {
            SetFocus(focus_);
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(hwnd_, &ps);
        for (const forms::ControlSpec& row : forms::kLauncherControls)
            if (row.kind == forms::Kind::Line)
                drawLine(dc, row, GetSysColor(COLOR_WINDOWTEXT), 1);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    default:
        return defaultProc(msg, wParam, lParam);
    }
}

} // namespace zavo::ui
