// Builds the Win32 window of each form.
#pragma once

#include "forms/form.h"

namespace zavo::ui {

class Win32Views final : public forms::ViewFactory {
public:
    forms::LauncherView& makeView(forms::ZAVO_launcher& form) override;
    forms::OptionView& makeView(forms::frmOption& form) override;
    forms::AboutView& makeView(forms::frmABOUT& form) override;
};

} // namespace zavo::ui
