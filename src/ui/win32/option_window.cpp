#include "option_window.h"

#include "core/twips.h"
#include "forms/frm_option_sheet.h"
#include "text.h"

namespace zavo::ui {
namespace {

using core::twips_to_pixels;
using forms::kOptionWindow;

} // namespace

OptionWindow::OptionWindow(forms::frmOption& form) : form_(form) {
    const int width = twips_to_pixels(kOptionWindow.clientWidth);
    const int height = twips_to_pixels(kOptionWindow.clientHeight);
    // Opened without an owner: the whole window, frame included, is centred
    // on the screen.
    const RECT frame = outerRect(0, 0, width, height, kStyle, 0, false);
    const int outerWidth = frame.right - frame.left;
    const int outerHeight = frame.bottom - frame.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - outerWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - outerHeight) / 2;
    // Not clipping its children: the group boxes draw only their outline,
    // the dialog paints what lies inside them.
    create(wide(kOptionWindow.name).c_str(), 0, wide(kOptionWindow.caption).c_str(), kStyle, x, y,
           outerWidth, outerHeight, nullptr, nullptr);
    if (!hwnd_)
        return;

    controls_ = buildControls(hwnd_, forms::kOptionControls);
    Drv_name_ = controls_["Drv_name"];
    dir_name_ = controls_["dir_name"];
    File_name_ = controls_["File_name"];
    SendMessageW(controls_["Option1"], BM_SETCHECK, BST_CHECKED, 0);
    // The first control of the tab order holds the focus when it opens.
    focus_ = controls_["reset"];
}

void OptionWindow::forward(const std::function<void()>& handler) {
    if (!disposed_)
        form_.handle(handler);
}

void OptionWindow::show() {
    showInFront(focus_);
}

void OptionWindow::hide() {
    ShowWindow(hwnd_, SW_HIDE);
}

void OptionWindow::dispose() {
    disposed_ = true;
    DestroyWindow(hwnd_);
    delete this;
}

void OptionWindow::setLabel(int slot, const std::string& caption) {
    SetWindowTextW(controls_["Label" + std::to_string(slot)], wide(caption).c_str());
}

bool OptionWindow::optionValue(int slot) {
    return SendMessageW(controls_["Option" + std::to_string(slot)], BM_GETCHECK, 0, 0) ==
           BST_CHECKED;
}

// Filling and choosing by program sends no change notification.
void OptionWindow::setDrives(const std::vector<std::string>& names) {
    SendMessageW(Drv_name_, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : names)
        SendMessageW(Drv_name_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(name).c_str()));
    SendMessageW(Drv_name_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void OptionWindow::selectDrive(int index) {
    SendMessageW(Drv_name_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void OptionWindow::setFolders(const std::vector<std::string>& names, int openRows) {
    SendMessageW(dir_name_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(dir_name_, LB_RESETCONTENT, 0, 0);
    int row = 0;
    for (const std::string& name : names) {
        // Open folders are drawn as a path going down; their subfolders
        // stand one step further in.
        const int depth = row < openRows ? row : openRows;
        const std::wstring text = std::wstring(static_cast<std::size_t>(depth), L' ') + wide(name);
        SendMessageW(dir_name_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        ++row;
    }
    SendMessageW(dir_name_, LB_SETCURSEL, static_cast<WPARAM>(openRows - 1), 0);
    SendMessageW(dir_name_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(dir_name_, nullptr, TRUE);
}

void OptionWindow::setFiles(const std::vector<std::string>& names) {
    SendMessageW(File_name_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(File_name_, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : names)
        SendMessageW(File_name_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(name).c_str()));
    SendMessageW(File_name_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendMessageW(File_name_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(File_name_, nullptr, TRUE);
}

int OptionWindow::selectedFile() {
    const LRESULT row = SendMessageW(File_name_, LB_GETCURSEL, 0, 0);
    return row == LB_ERR ? -1 : static_cast<int>(row);
}

void OptionWindow::command(HWND control, int code) {
    if (control == Drv_name_) {
        if (code == CBN_SELCHANGE) {
            const int index = static_cast<int>(SendMessageW(Drv_name_, CB_GETCURSEL, 0, 0));
            forward([this, index] { form_.Drv_name_Change(index); });
        }
        return;
    }
    if (control == dir_name_) {
        if (code == LBN_DBLCLK) {
            const int row = static_cast<int>(SendMessageW(dir_name_, LB_GETCURSEL, 0, 0));
            if (row != LB_ERR)
                forward([this, row] { form_.dir_name_Open(row); });
        }
        return;
    }
    if (code != BN_CLICKED)
        return;
    if (control == controls_["touroku"])
        forward([this] { form_.touroku_Click(); });
    else if (control == controls_["reset"])
        forward([this] { form_.reset_Click(); });
    else if (control == controls_["Cancel_but"])
        forward([this] { form_.Cancel_but_Click(); });
}

LRESULT OptionWindow::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == IDCANCEL) { // Esc
            forward([this] { form_.Cancel_but_Click(); });
            return 0;
        }
        if (id == IDOK) { // Enter: no default button; opens a folder row
            const HWND f = GetFocus();
            if (f == dir_name_)
                command(dir_name_, LBN_DBLCLK);
            else if (f && IsChild(hwnd_, f) &&
                     (SendMessageW(f, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON))
                command(f, BN_CLICKED);
            return 0;
        }
        command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    }
    case WM_CLOSE:
        forward([this] { form_.Form_QueryClose(); });
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (const HWND f = GetFocus(); f && IsChild(hwnd_, f))
                focus_ = f;
        } else if (focus_ && !HIWORD(wParam)) {
            SetFocus(focus_);
        }
        return 0;
    default:
        return defaultProc(msg, wParam, lParam);
    }
}

} // namespace zavo::ui
