#include "sheet_controls.h"

#include "core/twips.h"
#include "fonts.h"
#include "system_library.h"
#include "text.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace zavo::ui {
namespace {

using core::twips_to_pixels;
using forms::ControlSpec;
using forms::Kind;

// Room for the drop-down list below a drive box, in pixels at 96 DPI.
constexpr int kDropDownHeight = 160;

struct ClassAndStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ClassAndStyle classOf(Kind kind) {
    switch (kind) {
    case Kind::Button:
        // A caption wider than the button wraps onto a second line (Japanese
        // between any two characters) instead of being centred and cut at
        // both ends: a registered name shows from its first character.
        return {L"BUTTON", BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, 0};
    case Kind::Label:
        // One line, cut at the right edge, and no access keys: a label shows
        // a file name or the clock, which may hold '&' or not fit.
        return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case Kind::Frame:
        return {L"BUTTON", BS_GROUPBOX, 0};
    case Kind::Option:
        // A group of option buttons is one tab stop, the checked button (see
        // OptionButton); the arrow keys move inside the group.
        return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
    case Kind::DriveList:
        return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case Kind::DirList:
    case Kind::FileList:
        return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case Kind::Line:
    case Kind::Picture:
        break;
    }
    return {nullptr, 0, 0};
}

std::unique_ptr<Control> controlOf(Kind kind, HWND hwnd) {
    switch (kind) {
    case Kind::Button:
    case Kind::Frame:
        return std::make_unique<Button>(hwnd);
    case Kind::Option:
        return std::make_unique<OptionButton>(hwnd);
    case Kind::DriveList:
        return std::make_unique<DropDown>(hwnd);
    case Kind::DirList:
    case Kind::FileList:
        return std::make_unique<ListBox>(hwnd);
    case Kind::Label:
    case Kind::Line:
    case Kind::Picture:
        break;
    }
    return std::make_unique<Control>(hwnd);
}

// A control's tooltip is made when the pointer first moves over the control:
// only then are the common controls it needs loaded, from the system folder
// (never imported, see system_library.h), so start-up does without them and a
// window that is never pointed at never loads them. Until then the control's
// own window procedure is wrapped by untippedProc.
struct PendingTip {
    HWND parent;
    WNDPROC original;
    std::wstring text;
};

std::map<HWND, PendingTip>& pendingTips() {
    static std::map<HWND, PendingTip> tips;
    return tips;
}

bool loadToolTipClass() {
    static const bool loaded = [] {
        using Init = BOOL WINAPI(const INITCOMMONCONTROLSEX*);
        const auto init = systemFunction<Init>(L"comctl32.dll", "InitCommonControlsEx");
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
        return init && init(&classes);
    }();
    return loaded;
}

// One tooltip window per window, owned by it and destroyed with it.
HWND toolTipsOf(HWND parent) {
    static std::map<HWND, HWND> made;
    HWND& tooltips = made[parent];
    if (tooltips && IsWindow(tooltips) && GetWindow(tooltips, GW_OWNER) == parent)
        return tooltips;
    tooltips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    return tooltips;
}

void makeToolTip(HWND parent, HWND control, std::wstring& text) {
    const HWND tooltips = loadToolTipClass() ? toolTipsOf(parent) : nullptr;
    if (!tooltips)
        return;
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    // The tooltip subclasses the control to see the pointer from now on.
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = parent;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = text.data();
    SendMessageW(tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

LRESULT CALLBACK untippedProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto found = pendingTips().find(control);
    if (found == pendingTips().end())
        return DefWindowProcW(control, msg, wParam, lParam);
    const WNDPROC original = found->second.original;
    if (msg != WM_MOUSEMOVE && msg != WM_NCDESTROY)
        return CallWindowProcW(original, control, msg, wParam, lParam);
    PendingTip tip = std::move(found->second);
    pendingTips().erase(found);
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    if (msg == WM_MOUSEMOVE)
        makeToolTip(tip.parent, control, tip.text);
    // Through the tooltip's subclass, if one was made: this move starts it.
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC));
    return CallWindowProcW(current, control, msg, wParam, lParam);
}

void addToolTip(HWND parent, HWND control, const char* text) {
    const auto original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&untippedProc)));
    if (original)
        pendingTips()[control] = {parent, original, wide(text)};
}

// Where a control's window goes in its parent's client area at `dpi`.
RECT controlRect(std::span<const ControlSpec> rows, const ControlSpec& row, int dpi) {
    RECT r = pixelRect(row, dpi);
    // A control in a frame is placed from the frame's top-left corner.
    if (row.container != forms::kClientArea) {
        const RECT f = pixelRect(rows[static_cast<std::size_t>(row.container)], dpi);
        OffsetRect(&r, f.left, f.top);
    }
    if (row.kind == Kind::DriveList)
        r.bottom += core::scale_pixels(kDropDownHeight, dpi);
    return r;
}

} // namespace

RECT pixelRect(const ControlSpec& row, int dpi) {
    const auto px = [dpi](int twips) { return twips_to_pixels(twips, dpi); };
    if (row.kind == Kind::Line)
        return {px(row.left), px(row.top), px(row.width), px(row.height)};
    // Both edges from the left and top, so that neighbours stay apart at
    // every DPI as they do at 96.
    const int left = px(row.left);
    const int top = px(row.top);
    return {left, top, left + px(row.width), top + px(row.height)};
}

Control* SheetControls::of(HWND child) const {
    const auto index = static_cast<std::size_t>(GetDlgCtrlID(child) - kFirstControlId);
    if (index < byRow_.size() && byRow_[index] && byRow_[index]->hwnd() == child)
        return byRow_[index].get();
    return nullptr;
}

void SheetControls::setName(std::size_t row, const std::string& name) const {
    if (row < names_.size() && names_[row])
        SetWindowTextW(names_[row], wide(name).c_str());
}

SheetControls::SheetControls(HWND parent, std::span<const ControlSpec> rows, int dpi)
    : rows_(rows), byRow_(rows.size()), names_(rows.size()) {
    // Tab order is creation order; rows outside it come last, as designed.
    std::vector<const ControlSpec*> order;
    for (const ControlSpec& row : rows)
        order.push_back(&row);
    std::stable_sort(order.begin(), order.end(), [](const ControlSpec* a, const ControlSpec* b) {
        const unsigned ta = static_cast<unsigned>(a->tabIndex); // -1 sorts last
        const unsigned tb = static_cast<unsigned>(b->tabIndex);
        return ta < tb;
    });

    std::vector<HWND> frames;
    bool inRadioGroup = false;
    for (const ControlSpec* row : order) {
        ClassAndStyle cls = classOf(row->kind);
        if (!cls.className)
            continue;
        if (!row->tabStop)
            cls.style &= ~DWORD(WS_TABSTOP);
        const RECT r = controlRect(rows, *row, dpi);
        // Consecutive option buttons make one group; every other control
        // starts a group of its own, which ends the one before.
        const bool option = row->kind == Kind::Option;
        const DWORD group = option && inRadioGroup ? 0 : WS_GROUP;
        inRadioGroup = option;
        const auto index = static_cast<std::size_t>(row - rows.data());
        const int id = kFirstControlId + static_cast<int>(index);
        // Made first, it lies just above the control (new children go to
        // the bottom).
        if (row->accessibleName)
            names_[index] =
                CreateWindowExW(0, L"STATIC", wide(row->accessibleName).c_str(),
                                WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, r.left,
                                r.top, 0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
        const HWND control = CreateWindowExW(
            cls.exStyle, cls.className, wide(row->caption ? row->caption : "").c_str(),
            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | cls.style | group, r.left, r.top,
            r.right - r.left, r.bottom - r.top, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        if (!control)
            continue;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(sheetFont(row->font, dpi)),
                     FALSE);
        if (row->kind == Kind::Frame)
            frames.push_back(control);
        if (row->toolTip)
            addToolTip(parent, control, row->toolTip);
        byRow_[index] = controlOf(row->kind, control);
    }
    // A group box only draws its outline: it lies under everything else,
    // also what was created after it (new children go to the bottom).
    for (const HWND frame : frames)
        SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void SheetControls::layout(int dpi) const {
    for (std::size_t i = 0; i < byRow_.size(); ++i) {
        if (!byRow_[i])
            continue;
        const RECT r = controlRect(rows_, rows_[i], dpi);
        SetWindowPos(byRow_[i]->hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(byRow_[i]->hwnd(), WM_SETFONT,
                     reinterpret_cast<WPARAM>(sheetFont(rows_[i].font, dpi)), TRUE);
    }
}

void drawLine(HDC dc, const ControlSpec& row, COLORREF colour, int width, int dpi) {
    const RECT ends = pixelRect(row, dpi);
    const HPEN pen = CreatePen(PS_SOLID, core::scale_pixels(width, dpi), colour);
    const HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, ends.left, ends.top, nullptr);
    LineTo(dc, ends.right, ends.bottom);
    // LineTo leaves out the last point; a line of the sheet includes it.
    LineTo(dc, ends.right + (ends.right == ends.left ? 0 : 1),
           ends.bottom + (ends.bottom == ends.top ? 0 : 1));
    SelectObject(dc, old);
    DeleteObject(pen);
}

} // namespace zavo::ui
