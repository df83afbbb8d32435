#include "qt_views.h"

#include "about_window.h"
#include "launcher_window.h"
#include "option_dialog.h"

namespace zavo::ui {

// Each window frees itself when its form disposes of it.
forms::LauncherView& QtViews::makeView(forms::ZAVO_launcher& form) {
    return *new LauncherWindow(form);
}

forms::OptionView& QtViews::makeView(forms::frmOption& form) {
    return *new OptionDialog(form);
}

forms::AboutView& QtViews::makeView(forms::frmABOUT& form) {
    return *new AboutWindow(form);
}

} // namespace zavo::ui
