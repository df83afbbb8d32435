// The registration dialog: assigns a program to a user slot, or clears them.
#pragma once

#include "form.h"

#include <QDialog>

namespace zavo::core {
class Module1;
}

namespace zavo::ui {

class frmOption : public QDialog, public Form {
    Q_OBJECT
public:
    frmOption(Forms& forms, core::Module1& module1);

    QWidget& window() override { return *this; }
    void Form_Load() override;
    void Form_Unload() override;

    void Cancel_but_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    core::Module1& module1_;
};

} // namespace zavo::ui
