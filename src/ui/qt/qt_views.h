// Builds the Qt window of each form.
#pragma once

#include "about_window.h"
#include "forms/window_views.h"
#include "launcher_window.h"
#include "option_dialog.h"

namespace zavo::ui {
using QtViews = forms::WindowViews<LauncherWindow, OptionDialog, AboutWindow>;
} // namespace zavo::ui
