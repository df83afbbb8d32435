// The About window: version text and a picture that shakes under the mouse.
#pragma once

#include "form.h"

#include <QDialog>

namespace zavo::ui {

class frmABOUT : public QDialog, public Form {
    Q_OBJECT
public:
    explicit frmABOUT(Forms& forms);

    QWidget& window() override { return *this; }
    void Form_Unload() override;

    void OK_but_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
};

} // namespace zavo::ui
