// The design sheets of the three windows: one row a control, in creation
// order, positions in twips. Both window systems build their controls from
// these rows, so a caption or a place is written once.
#pragma once

namespace zavo::forms {

enum class Kind { Button, Label, Frame, Option, Line, Picture, DriveList, DirList, FileList };

struct FontSpec {
    const char* family = nullptr; // nullptr: the window's default font
    double points = 0;
    bool italic = false;
};

inline constexpr FontSpec kGothic9{"ＭＳ ゴシック", 9};

struct ControlSpec {
    const char* name; // array members as "Command1_6"
    Kind kind;
    const char* container;        // name of the holding frame; nullptr: the client area
    const char* caption;          // UTF-8; may hold an access key ("&W")
    int left, top, width, height; // twips; a line gives X1, Y1, X2, Y2
    int tabIndex = -1;            // -1: takes no part in the tab order
    FontSpec font{};
    const char* toolTip = nullptr;
};

struct WindowSpec {
    const char* name;
    const char* caption;
    int clientWidth, clientHeight; // twips
    // Where the client area's top-left corner stands at start, in twips;
    // negative: centred on the screen.
    int clientLeft, clientTop;
    bool minimizeButton;
};

struct MenuSpec {
    const char* name;
    const char* caption;
    const char* parent;   // nullptr: on the menu bar itself
    const char* shortcut; // "Ctrl+Z", or nullptr
};

} // namespace zavo::forms
