#include "controls.h"

#include "text.h"

#include <vector>

namespace zavo::ui {
namespace {

// The controls of `control`'s group in z-order: from the last sibling with
// WS_GROUP at or before it up to the next one.
std::vector<HWND> groupOf(HWND control) {
    const auto starts = [](HWND h) { return (GetWindowLongPtrW(h, GWL_STYLE) & WS_GROUP) != 0; };
    HWND first = control;
    while (!starts(first))
        if (const HWND before = GetWindow(first, GW_HWNDPREV))
            first = before;
        else
            break;
    std::vector<HWND> group{first};
    for (HWND h = GetWindow(first, GW_HWNDNEXT); h && !starts(h); h = GetWindow(h, GW_HWNDNEXT))
        group.push_back(h);
    return group;
}

} // namespace

void Control::setText(const std::string& utf8) const {
    SetWindowTextW(hwnd_, wide(utf8).c_str());
}

void Button::onCommand(int code) {
    if (code == BN_CLICKED)
        onEnter();
}

void Button::onEnter() {
    if (onClick)
        onClick();
}

bool OptionButton::checked() const {
    return SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OptionButton::setChecked() const {
    for (const HWND h : groupOf(hwnd()))
        SendMessageW(h, BM_SETCHECK, h == hwnd() ? BST_CHECKED : BST_UNCHECKED, 0);
    moveTabStop();
}

// A click, or an arrow key (the dialog keys click the button they move to),
// has checked this button.
void OptionButton::onCommand(int code) {
    if (code == BN_CLICKED)
        moveTabStop();
}

void OptionButton::moveTabStop() const {
    for (const HWND h : groupOf(hwnd())) {
        const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
        const bool on = SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
        SetWindowLongPtrW(h, GWL_STYLE, on ? style | WS_TABSTOP : style & ~LONG_PTR(WS_TABSTOP));
    }
}

void ListBox::setItems(const std::vector<std::wstring>& rows, int selected) const {
    SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
    for (const std::wstring& row : rows)
        SendMessageW(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

int ListBox::selected() const {
    const LRESULT row = SendMessageW(hwnd(), LB_GETCURSEL, 0, 0);
    return row == LB_ERR ? -1 : static_cast<int>(row);
}

void ListBox::onCommand(int code) {
    if (code == LBN_DBLCLK)
        onEnter();
}

void ListBox::onEnter() {
    if (const int row = selected(); row >= 0 && onDoubleClick)
        onDoubleClick(row);
}

void DropDown::setItems(const std::vector<std::string>& utf8) const {
    SendMessageW(hwnd(), CB_RESETCONTENT, 0, 0);
    for (const std::string& item : utf8)
        SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
    select(-1);
}

void DropDown::select(int index) const {
    SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DropDown::onCommand(int code) {
    if (code == CBN_SELCHANGE && onSelectionChanged)
        onSelectionChanged(static_cast<int>(SendMessageW(hwnd(), CB_GETCURSEL, 0, 0)));
}

} // namespace zavo::ui
