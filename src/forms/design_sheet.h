// The design sheets of the three windows: one row a control, in creation
// order, positions in twips. Both window systems build their controls from
// these rows, so a caption or a place is written once.
//
// Each sheet names its rows with an enum in row order (its values index the
// rows and the views' arrays of widgets), so a view finds a control by its
// identity; the names only become the controls' object names.
#pragma once

#include <array>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>

namespace zavo::forms {

enum class Kind { Button, Label, Frame, Option, Line, Picture, DriveList, DirList, FileList };

struct FontSpec {
    const char* family = nullptr; // nullptr: the window's default font
    double points = 0;
    bool italic = false;
};

inline constexpr FontSpec kGothic9{"ＭＳ ゴシック", 9};
inline constexpr FontSpec kWindowFont{};

inline constexpr int kClientArea = -1;

struct ControlSpec {
    const char* name; // array members as "Command1_6"
    Kind kind;
    int container;                // row of the holding frame; kClientArea: none
    const char* caption;          // UTF-8; may hold an access key ("&W")
    int left, top, width, height; // twips; a line gives X1, Y1, X2, Y2
    int tabIndex = -1;            // -1: takes no part in the tab order
    FontSpec font{};
    const char* toolTip = nullptr;
    // What a screen reader calls a control that shows no caption of its own.
    const char* accessibleName = nullptr;
    // False for a control that the Tab key passes by and that never holds
    // the focus when its window opens: a stray Enter or Space must not run
    // what it does. Its access key, tooltip and the mouse still reach it.
    bool tabStop = true;
};

inline constexpr bool kNoTabStop = false;

// Whether a control of this kind can hold the keyboard focus at all.
constexpr bool takesFocus(Kind kind) {
    switch (kind) {
    case Kind::Button:
    case Kind::Option:
    case Kind::DriveList:
    case Kind::DirList:
    case Kind::FileList:
        return true;
    default:
        return false;
    }
}

// The control that holds the focus when its window opens or comes back:
// the first tab stop of the tab order.
template <class Id, std::size_t N> constexpr Id firstFocus(const std::array<ControlSpec, N>& rows) {
    std::size_t best = N;
    for (std::size_t i = 0; i < N; ++i) {
        const ControlSpec& r = rows[i];
        if (r.tabIndex >= 0 && r.tabStop && takesFocus(r.kind) &&
            (best == N || r.tabIndex < rows[best].tabIndex))
            best = i;
    }
    return static_cast<Id>(best);
}

struct WindowSpec {
    const char* name;
    const char* caption;
    int clientWidth, clientHeight; // twips
    // Where the client area's top-left corner stands at start, in twips;
    // negative: centred on the screen.
    int clientLeft, clientTop;
    bool minimizeButton;
};

// Option buttons that make one group for a screen reader: named by the frame
// they lie over, in slot order, each labelled by the label beside it.
template <class Id, std::size_t N> struct OptionGroupSpec {
    Id frame;
    std::array<Id, N> members;
    std::array<Id, N> labels;
};

inline constexpr int kMenuBar = -1;

struct MenuSpec {
    const char* name;
    const char* caption;
    int parent;           // row of the drop-down holding it; kMenuBar: on the bar itself
    const char* shortcut; // "Ctrl+Z", or nullptr
};

// The row index of a sheet identity.
template <class Id> constexpr int row(Id id) {
    return static_cast<int>(id);
}

// Ends the program: a form or a view asked for a row its sheet does not
// have, or for a control of another kind than the row's. A fault of the
// sheet, so in every build type, rather than hand out what does not exist.
[[noreturn]] inline void missingRow(int row, const char* wanted) {
    std::fprintf(stderr, "design sheet: no %s at row %d\n", wanted, row);
    std::abort();
}

// The row of `id` in `rows`.
template <class Row, class Id> const Row& rowOf(std::span<const Row> rows, Id id) {
    const auto index = static_cast<std::size_t>(row(id));
    if (index >= rows.size())
        missingRow(row(id), "sheet entry");
    return rows[index];
}

// True when every row stands at its identity: rows[i] is named names[i].
// Checked at compile time next to each sheet.
template <class Row, std::size_t N>
constexpr bool rowsNamed(const std::array<Row, N>& rows,
                         const std::array<std::string_view, N>& names) {
    for (std::size_t i = 0; i < N; ++i)
        if (std::string_view(rows[i].name) != names[i])
            return false;
    return true;
}

} // namespace zavo::forms
