#include "frm_about.h"

#include <QCloseEvent>

namespace zavo::ui {

frmABOUT::frmABOUT(Forms& forms) : QDialog(nullptr), Form(forms) {
    setObjectName(QStringLiteral("frmABOUT"));
    setWindowTitle(QStringLiteral("ZAVO_launcherのバージョン情報"));
}

void frmABOUT::Form_Unload() { forms_.show(FormId::Launcher); }

void frmABOUT::OK_but_Click() {
    forms_.show(FormId::Launcher);
    forms_.unload(FormId::About);
}

void frmABOUT::closeEvent(QCloseEvent* event) {
    forms_.closedByUser(FormId::About);
    event->accept();
}

void frmABOUT::reject() { OK_but_Click(); }

} // namespace zavo::ui
