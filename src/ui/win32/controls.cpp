#include "controls.h"

#include "text.h"

namespace zavo::ui {

void Control::setText(const std::string& utf8) const {
    SetWindowTextW(hwnd_, wide(utf8).c_str());
}

bool Button::checked() const {
    return SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Button::setChecked(bool checked) const {
    SendMessageW(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Button::onCommand(int code) {
    if (code == BN_CLICKED)
        onEnter();
}

void Button::onEnter() {
    if (onClick)
        onClick();
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
