#include "option_window.h"

#include "forms/frm_option_sheet.h"
#include "text.h"

namespace zavo::ui {
namespace {
using forms::OptionControl;
} // namespace

OptionWindow::OptionWindow(forms::frmOption& form) : FormWindow(form) {
    // Not clipping its children: the group boxes draw only their outline,
    // the dialog paints what lies inside them.
    if (!createForSheet(forms::kOptionWindow, kStyle, 0, nullptr))
        return;
    // A screen smaller than the dialog: at least its title bar stays on it.
    keepOnScreen(hwnd_);

    controls_ = SheetControls(hwnd_, forms::kOptionControls, dpi_);
    controls_.get<DropDown>(OptionControl::Drv_name).onSelectionChanged = [this](int index) {
        forward([this, index] { form_.Drv_name_Change(index); });
    };
    controls_.get<ListBox>(OptionControl::dir_name).onDoubleClick = [this](int row) {
        forward([this, row] { form_.dir_name_Open(row); });
    };
    for (const auto& button : forms::kOptionButtons)
        controls_.get<Button>(button.button).onClick = [this, button] { forward(button); };
    controls_.get<OptionButton>(OptionControl::Option1).setChecked();
    focus_ = firstFocus_ = controls_.get(forms::kOptionFirstFocus).hwnd();
}

void OptionWindow::setLabel(int slot, const std::string& caption) {
    controls_.get(forms::kSlotLabels.at(static_cast<std::size_t>(slot - 1))).setText(caption);
}

bool OptionWindow::optionValue(int slot) {
    return controls_.get<OptionButton>(forms::kSlotOptions.at(static_cast<std::size_t>(slot - 1)))
        .checked();
}

// Filling and choosing by program sends no change notification.
void OptionWindow::setDrives(const std::vector<std::string>& names) {
    controls_.get<DropDown>(OptionControl::Drv_name).setItems(names);
}

void OptionWindow::selectDrive(int index) {
    controls_.get<DropDown>(OptionControl::Drv_name).select(index);
}

void OptionWindow::setFolders(const std::vector<std::string>& names, int openRows) {
    std::vector<std::wstring> rows;
    for (const std::string& name : names) {
        // Open folders are drawn as a path going down; their subfolders
        // stand one step further in.
        const int row = static_cast<int>(rows.size());
        const int depth = row < openRows ? row : openRows;
        rows.push_back(std::wstring(static_cast<std::size_t>(depth), L' ') + wide(name));
    }
    controls_.get<ListBox>(OptionControl::dir_name).setItems(rows, openRows - 1);
}

void OptionWindow::setFiles(const std::vector<std::string>& names) {
    std::vector<std::wstring> rows;
    for (const std::string& name : names)
        rows.push_back(wide(name));
    controls_.get<ListBox>(OptionControl::File_name).setItems(rows, -1);
}

int OptionWindow::selectedFile() {
    return controls_.get<ListBox>(OptionControl::File_name).selected();
}

void OptionWindow::setListName(OptionControl list, const std::string& name) {
    controls_.setAccessibleName(list, name);
}

// Esc presses Cancel_but; Enter presses no default button, only the focused
// control (it opens a folder row).
void OptionWindow::onCommand(int id) {
    if (id == IDCANCEL)
        forward(&forms::frmOption::Cancel_but_Click);
    else
        FormWindow::onCommand(id);
}

} // namespace zavo::ui
