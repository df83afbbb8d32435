// Builds the Win32 window of each form.
#pragma once

#include "about_window.h"
#include "forms/window_views.h"
#include "launcher_window.h"
#include "option_window.h"

namespace zavo::ui {
using Win32Views = forms::WindowViews<LauncherWindow, OptionWindow, AboutWindow>;
} // namespace zavo::ui
