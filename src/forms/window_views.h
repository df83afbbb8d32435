// The view factory of a window system whose windows take their form in
// their constructor; each window frees itself when its form disposes of it.
#pragma once

#include "form.h"

namespace zavo::forms {

template <class LauncherWindow, class OptionWindow, class AboutWindow>
class WindowViews final : public ViewFactory {
public:
    LauncherView& makeView(ZAVO_launcher& form) override { return *new LauncherWindow(form); }
    OptionView& makeView(frmOption& form) override { return *new OptionWindow(form); }
    AboutView& makeView(frmABOUT& form) override { return *new AboutWindow(form); }
};

} // namespace zavo::forms
