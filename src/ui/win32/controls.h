// The controls of a design sheet as objects: each is created from its sheet
// row, handles the notifications its parent's WM_COMMAND reflects to it, and
// reports through one callback member. The HWND belongs to the parent
// window, which destroys it with itself.
#pragma once

#include "platform/win32/win32_api.h"

#include <functional>
#include <string>
#include <vector>

namespace zavo::ui {

class Control {
public:
    explicit Control(HWND hwnd) : hwnd_(hwnd) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND hwnd() const { return hwnd_; }
    void setText(const std::string& utf8) const;

    // A WM_COMMAND notification code this control sent its parent.
    virtual void onCommand(int) {}
    // Enter while the control holds the focus (the dialog keys send IDOK).
    virtual void onEnter() {}

private:
    HWND hwnd_;
};

// A push button or a frame.
class Button final : public Control {
public:
    using Control::Control;
    std::function<void()> onClick;

    void onCommand(int code) override;
    void onEnter() override;
};

// An option button of a group (the consecutive option buttons of a sheet).
// The group is one tab stop, its checked button, as in a dialog: Tab skips
// the others, the arrow keys move the check inside the group.
class OptionButton final : public Control {
public:
    using Control::Control;

    bool checked() const;
    // Checks this button, unchecks the others of its group.
    void setChecked() const;
    void onCommand(int code) override;

private:
    // The tab stop on the checked button of the group only.
    void moveTabStop() const;
};

// A list of rows, one of them chosen; a double click or Enter opens it.
class ListBox final : public Control {
public:
    using Control::Control;
    std::function<void(int row)> onDoubleClick;

    // Fills the list with `rows` and chooses `selected` (-1: none).
    void setItems(const std::vector<std::wstring>& rows, int selected) const;
    int selected() const; // -1: none
    void onCommand(int code) override;
    void onEnter() override;
};

// A drop-down list; choosing by program sends no change.
class DropDown final : public Control {
public:
    using Control::Control;
    std::function<void(int index)> onSelectionChanged;

    void setItems(const std::vector<std::string>& utf8) const;
    void select(int index) const; // -1: none
    void onCommand(int code) override;
};

} // namespace zavo::ui
