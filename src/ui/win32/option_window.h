// The registration dialog on Win32: draws the design sheet and forwards its
// events to the form.
#pragma once

#include "forms/frm_option.h"
#include "forms/option_view.h"
#include "sheet_controls.h"
#include "window.h"

#include <functional>

namespace zavo::ui {

class OptionWindow final : public Window, public forms::OptionView {
public:
    explicit OptionWindow(forms::frmOption& form);

    // forms::OptionView
    void show() override;
    void hide() override;
    void dispose() override;
    void setLabel(int slot, const std::string& caption) override;
    bool optionValue(int slot) override;
    void setDrives(const std::vector<std::string>& names) override;
    void selectDrive(int index) override;
    void setFolders(const std::vector<std::string>& names, int openRows) override;
    void setFiles(const std::vector<std::string>& names) override;
    int selectedFile() override;

    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

protected:
    LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    ~OptionWindow() override = default;
    void forward(const std::function<void()>& handler);
    void command(HWND control, int code);

    forms::frmOption& form_;
    SheetControls controls_;
    HWND Drv_name_ = nullptr;
    HWND dir_name_ = nullptr;
    HWND File_name_ = nullptr;
    HWND focus_ = nullptr;
    bool disposed_ = false;
};

} // namespace zavo::ui
