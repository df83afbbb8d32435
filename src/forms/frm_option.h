// The registration dialog: assigns a program to a user slot, or clears them.
#pragma once

#include "form.h"
#include "form_events.h"
#include "option_view.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace zavo::forms {

class frmOption final : public FormWithView<OptionView> {
public:
    frmOption(Forms& forms, ViewFactory& views);

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload() override;

    // Handlers, named after their control and event.
    void Drv_name_Change(int index);
    void dir_name_Change();
    void touroku_Click();
    void reset_Click();
    void Cancel_but_Click();
    // A row of dir_name opened (double click or Enter): the folder moves there.
    void dir_name_Open(int row);
    // The close box: the dialog unloads.
    void Form_QueryClose();

    // The folder dir_name stands on, and the folder File_name lists.
    const std::string& dirPath() const { return dirPath_; }
    const std::string& filePath() const { return filePath_; }

private:
    // Moves dir_name to `folder`; false, with nothing changed, when the
    // folder cannot be listed.
    bool moveFolderList(const std::string& folder);
    // Points File_name at `folder`; false, with nothing changed, when the
    // folder cannot be listed.
    bool pointFileList(const std::string& folder);
    void showDriveOf(const std::string& folder);
    // Records 1 to 3 onto the labels of the registered slots; false when the
    // file could not be opened or read (labels set so far stay).
    bool readSlotLabels();
    void failed(const std::string& message);
    // Why `folder` and the file of row `selected` cannot be stored, as the
    // line shown under the register error; empty when they can.
    std::string refusal(const std::string& folder, int selected) const;

    std::vector<std::string> drives_;
    int drive_ = -1;
    std::vector<std::string> folderRows_; // full path of every dir_name row
    std::vector<std::string> files_;
    std::string dirPath_;
    std::string filePath_;
    // The folder last shown on each drive, as Windows keeps one per drive.
    std::map<std::string, std::string> driveFolder_;
    // Said once the dialog is on screen: a message box before it would
    // stand alone, with no window of ours behind it.
    std::string loadError_;
};

// The dialog's buttons and what a click on each runs.
inline constexpr std::array<ButtonHandler<frmOption, OptionControl>, 3> kOptionButtons{{
    {OptionControl::touroku, &frmOption::touroku_Click},
    {OptionControl::reset, &frmOption::reset_Click},
    {OptionControl::Cancel_but, &frmOption::Cancel_but_Click},
}};

} // namespace zavo::forms
