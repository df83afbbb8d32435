#include "win32_views.h"

#include "about_window.h"
#include "launcher_window.h"
#include "option_window.h"

namespace zavo::ui {

// Each window frees itself when its form disposes of it.
forms::LauncherView& Win32Views::makeView(forms::ZAVO_launcher& form) {
    return *new LauncherWindow(form);
}

forms::OptionView& Win32Views::makeView(forms::frmOption& form) {
    return *new OptionWindow(form);
}

forms::AboutView& Win32Views::makeView(forms::frmABOUT& form) {
    return *new AboutWindow(form);
}

} // namespace zavo::ui
