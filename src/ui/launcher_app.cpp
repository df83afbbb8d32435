#include "launcher_app.h"

#include "frm_about.h"
#include "frm_option.h"
#include "zavo_launcher.h"

namespace zavo::ui {

void registerForms(Forms& forms, core::Module1& module1) {
    forms.setFactory(FormId::Launcher,
                     [&module1](Forms& f) { return new ZAVO_launcher(f, module1); });
    forms.setFactory(FormId::Option, [&module1](Forms& f) { return new frmOption(f, module1); });
    forms.setFactory(FormId::About, [](Forms& f) { return new frmABOUT(f); });
}

} // namespace zavo::ui
