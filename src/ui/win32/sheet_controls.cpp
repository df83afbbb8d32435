#include "sheet_controls.h"

#include "core/twips.h"
#include "fonts.h"
#include "text.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace zavo::ui {
namespace {

using core::twips_to_pixels;
using forms::ControlSpec;
using forms::Kind;

// Room for the drop-down list below a drive box.
constexpr int kDropDownHeight = 160;

struct ClassAndStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ClassAndStyle classOf(Kind kind) {
    switch (kind) {
    case Kind::Button:
        return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case Kind::Label:
        // One line, cut at the right edge, and no access keys: a label shows
        // a file name or the clock, which may hold '&' or not fit.
        return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case Kind::Frame:
        return {L"BUTTON", BS_GROUPBOX, 0};
    case Kind::Option:
        return {L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 0};
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

const ControlSpec* rowNamed(std::span<const ControlSpec> rows, const char* name) {
    for (const ControlSpec& row : rows)
        if (std::string_view(row.name) == name)
            return &row;
    return nullptr;
}

void addToolTip(SheetControls& controls, HWND parent, HWND control, const char* text) {
    if (!controls.tooltips)
        controls.tooltips =
            CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!controls.tooltips)
        return;
    std::wstring tip = wide(text);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = parent;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = tip.data();
    SendMessageW(controls.tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

} // namespace

RECT pixelRect(const ControlSpec& row) {
    if (row.kind == Kind::Line)
        return {twips_to_pixels(row.left), twips_to_pixels(row.top), twips_to_pixels(row.width),
                twips_to_pixels(row.height)};
    const int left = twips_to_pixels(row.left);
    const int top = twips_to_pixels(row.top);
    return {left, top, left + twips_to_pixels(row.width), top + twips_to_pixels(row.height)};
}

SheetControls buildControls(HWND parent, std::span<const ControlSpec> rows) {
    // Tab order is creation order; rows outside it come last, as designed.
    std::vector<const ControlSpec*> order;
    for (const ControlSpec& row : rows)
        order.push_back(&row);
    std::stable_sort(order.begin(), order.end(), [](const ControlSpec* a, const ControlSpec* b) {
        const unsigned ta = static_cast<unsigned>(a->tabIndex); // -1 sorts last
        const unsigned tb = static_cast<unsigned>(b->tabIndex);
        return ta < tb;
    });

    SheetControls controls;
    std::vector<HWND> frames;
    bool inRadioGroup = false;
    for (const ControlSpec* row : order) {
        const ClassAndStyle cls = classOf(row->kind);
        if (!cls.className)
            continue;
        RECT r = pixelRect(*row);
        // A control in a frame is placed from the frame's top-left corner.
        if (row->container)
            if (const ControlSpec* frame = rowNamed(rows, row->container)) {
                const RECT f = pixelRect(*frame);
                OffsetRect(&r, f.left, f.top);
            }
        if (row->kind == Kind::DriveList)
            r.bottom += kDropDownHeight;
        // Consecutive option buttons make one group; every other control
        // starts a group of its own, which ends the one before.
        const bool option = row->kind == Kind::Option;
        const DWORD group = option && inRadioGroup ? 0 : WS_GROUP;
        inRadioGroup = option;
        const int id = kFirstControlId + static_cast<int>(row - rows.data());
        const HWND control = CreateWindowExW(
            cls.exStyle, cls.className, wide(row->caption ? row->caption : "").c_str(),
            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | cls.style | group, r.left, r.top,
            r.right - r.left, r.bottom - r.top, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        if (!control)
            continue;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(sheetFont(row->font)), FALSE);
        if (row->kind == Kind::Frame)
            frames.push_back(control);
        if (row->toolTip)
            addToolTip(controls, parent, control, row->toolTip);
        controls.byName.emplace(row->name, control);
        controls.nameOfId.emplace(id, row->name);
    }
    // A group box only draws its outline: it lies under everything else,
    // also what was created after it (new children go to the bottom).
    for (const HWND frame : frames)
        SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return controls;
}

void drawLine(HDC dc, const ControlSpec& row, COLORREF colour, int width) {
    const RECT ends = pixelRect(row);
    const HPEN pen = CreatePen(PS_SOLID, width, colour);
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
