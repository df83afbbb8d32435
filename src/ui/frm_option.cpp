#include "frm_option.h"

#include "core/module1.h"

#include <QCloseEvent>

namespace zavo::ui {

frmOption::frmOption(Forms& forms, core::Module1& module1)
    : QDialog(nullptr), Form(forms), module1_(module1) {
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(QStringLiteral("登録フォーム"));
}

void frmOption::Form_Load() {}

void frmOption::Form_Unload() { forms_.show(FormId::Launcher); }

void frmOption::Cancel_but_Click() {
    forms_.show(FormId::Launcher);
    forms_.unload(FormId::Option);
}

void frmOption::closeEvent(QCloseEvent* event) {
    forms_.closedByUser(FormId::Option);
    event->accept();
}

void frmOption::reject() { Cancel_but_Click(); }

} // namespace zavo::ui
