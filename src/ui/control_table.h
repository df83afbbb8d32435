// Windows are laid out from tables that follow their design sheets: one row a
// control, positions in twips, turned into widgets by buildControls().
#pragma once

#include <QWidget>

#include <span>

namespace zavo::ui {

enum class Kind { Button, Label, Frame, Option, Line, Picture, DriveList, DirList, FileList };

struct FontSpec {
    const char* family = nullptr; // nullptr: the window's default font
    double points = 0;
    bool italic = false;
};

inline constexpr FontSpec kGothic9{"ＭＳ ゴシック", 9};

struct ControlSpec {
    const char* name; // objectName; array members as "Command1_6"
    Kind kind;
    const char* container;        // objectName of the holding frame; nullptr: the design area
    const char* caption;          // may hold an access key ("&W")
    int left, top, width, height; // twips; a line gives X1, Y1, X2, Y2
    int tabIndex = -1;            // -1: takes no part in the tab order
    FontSpec font{};
    const char* toolTip = nullptr;
};

// Creates the controls of `rows` on `designArea`, in the table's order, and
// chains the tab order by tab index.
void buildControls(QWidget* designArea, std::span<const ControlSpec> rows);

// The widget named `name` under `root`; aborts when it does not exist, since
// that is a fault of the table, not of the user.
template <class T> T* control(const QWidget* root, const char* name) {
    T* w = root->findChild<T*>(QString::fromUtf8(name));
    Q_ASSERT_X(w, "control", name);
    return w;
}

// Twips to a pixel rectangle.
QRect twipsRect(int left, int top, int width, int height);

} // namespace zavo::ui
