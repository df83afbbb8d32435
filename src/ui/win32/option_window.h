// The registration dialog on Win32: draws the design sheet and forwards its
// events to the form.
#pragma once

#include "form_window.h"
#include "forms/frm_option.h"
#include "forms/option_view.h"

namespace zavo::ui {

class OptionWindow final : public FormWindow<forms::OptionView, forms::frmOption> {
public:
    explicit OptionWindow(forms::frmOption& form);

    // forms::OptionView
    void setLabel(int slot, const std::string& caption) override;
    bool optionValue(int slot) override;
    void setDrives(const std::vector<std::string>& names) override;
    void selectDrive(int index) override;
    void setFolders(const std::vector<std::string>& names, int openRows) override;
    void setFiles(const std::vector<std::string>& names) override;
    int selectedFile() override;
    void setListName(forms::OptionControl list, const std::string& name) override;

    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

protected:
    void onCommand(int id) override;

private:
    ~OptionWindow() override = default;
};

} // namespace zavo::ui
