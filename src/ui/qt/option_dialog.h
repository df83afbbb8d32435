// The registration dialog on Qt: draws the design sheet and forwards its
// events to the form, which holds all behaviour.
#pragma once

#include "control_builder.h"
#include "form_window.h"
#include "forms/frm_option.h"
#include "forms/frm_option_sheet.h"
#include "forms/option_view.h"

#include <QDialog>
#include <QMargins>

class QComboBox;
class QLabel;
class QListWidget;

namespace zavo::ui {

class OptionDialog final : public FormWindow<QDialog, forms::OptionView, forms::frmOption> {
    Q_OBJECT
public:
    explicit OptionDialog(forms::frmOption& form);

    // forms::OptionView
    void setLabel(int slot, const std::string& caption) override;
    bool optionValue(int slot) override;
    void setDrives(const std::vector<std::string>& names) override;
    void selectDrive(int index) override;
    void setFolders(const std::vector<std::string>& names, int openRows) override;
    void setFiles(const std::vector<std::string>& names) override;
    int selectedFile() override;
    void setListName(forms::OptionControl list, const std::string& name) override;

    const SheetWidgets<forms::OptionControl>& controls() const { return controls_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    // The frame of a window already on screen, the best guess for ours.
    static QMargins lastFrameMargins();
    void centreOnScreen(const QMargins& frame);
    void describeOption(std::size_t slotIndex);
    void describeDrive();

    SheetWidgets<forms::OptionControl> controls_;
    QComboBox* Drv_name_;
    QListWidget* dir_name_;
    QListWidget* File_name_;
    QSize clientSize_;
    QMargins centredFor_;
    bool framed_ = false;
};

} // namespace zavo::ui
