// The registration dialog on Qt: draws the design sheet and forwards its
// events to the form, which holds all behaviour.
#pragma once

#include "forms/frm_option.h"
#include "forms/option_view.h"

#include <QDialog>
#include <QMargins>

class QComboBox;
class QLabel;
class QListWidget;

namespace zavo::ui {

class OptionDialog final : public QDialog, public forms::OptionView {
    Q_OBJECT
public:
    explicit OptionDialog(forms::frmOption& form);

    // forms::OptionView
    void show() override;
    void hide() override;
    void dispose() override;
    void setLabel(int slot, const std::string& caption) override;
    bool optionValue(int slot) override;
    void setDrives(const std::vector<std::string>& names) override;
    void selectDrive(int index) override;
    void setFolders(const std::vector<std::string>& names, int openRows) override;
    void setFiles(const std::vector<std::string>& names) override;
    int selectedFile() override;

    static constexpr int kClientWidth = 455;
    static constexpr int kClientHeight = 196;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void forward(const std::function<void()>& handler);
    // The frame of a window already on screen, the best guess for ours.
    static QMargins lastFrameMargins();
    void centreOnScreen(const QMargins& frame);

    forms::frmOption& form_;
    QComboBox* Drv_name_ = nullptr;
    QListWidget* dir_name_ = nullptr;
    QListWidget* File_name_ = nullptr;
    QMargins centredFor_;
    bool framed_ = false;
    bool disposed_ = false;
};

} // namespace zavo::ui
