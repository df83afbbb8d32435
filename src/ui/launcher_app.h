// Wires the three windows into one form lifecycle.
#pragma once

#include "form.h"

namespace zavo::core {
class Module1;
}

namespace zavo::ui {

// Registers the windows' factories on `forms`; the main window is then
// started with forms.show(FormId::Launcher).
void registerForms(Forms& forms, core::Module1& module1);

} // namespace zavo::ui
