// What the registration dialog's handlers need of its window.
#pragma once

#include "form.h"
#include "frm_option_sheet.h"

#include <string>
#include <vector>

namespace zavo::forms {

class OptionView : public FormView {
public:
    // Label1 to Label3.
    virtual void setLabel(int slot, const std::string& caption) = 0;
    // The value of Option1 to Option3.
    virtual bool optionValue(int slot) = 0;

    // Drv_name: the drives as shown, and the chosen one (no change event).
    virtual void setDrives(const std::vector<std::string>& names) = 0;
    virtual void selectDrive(int index) = 0;
    // dir_name: `openRows` folders from the root down to the current one
    // (shown open), then its subfolders; the current one is the last open row.
    virtual void setFolders(const std::vector<std::string>& names, int openRows) = 0;
    // File_name: its entries, none selected; the selected row or -1.
    virtual void setFiles(const std::vector<std::string>& names) = 0;
    virtual int selectedFile() = 0;
    // The name a screen reader gives dir_name or File_name; it follows what
    // the list shows.
    virtual void setListName(OptionControl list, const std::string& name) = 0;

protected:
    ~OptionView() = default;
};

} // namespace zavo::forms
