// The main window on Qt: draws the design sheet and forwards its events to
// the form, which holds all behaviour.
#pragma once

#include "forms/launcher_view.h"
#include "forms/zavo_launcher.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>

class QLabel;
class QPushButton;

namespace zavo::ui {

class LauncherWindow final : public QMainWindow, public forms::LauncherView {
    Q_OBJECT
public:
    explicit LauncherWindow(forms::ZAVO_launcher& form);

    // forms::LauncherView
    void show() override;
    void hide() override;
    void dispose() override;
    platform::WindowHandle handle() override;
    forms::TwipsRect placement() override;
    void setCommand1Caption(int index, const std::string& caption) override;
    void setTimeDisplay(const std::string& text) override;
    void minimize() override;
    void takeFocus() override;

    QPushButton* Command1(int index) const;
    QLabel* time_display() const { return time_display_; }
    QWidget* designArea() const { return designArea_; }

    // The design area (below the menu bar) is 312 x 182 pixels at (686, 420).
    static constexpr int kDesignLeft = 686;
    static constexpr int kDesignTop = 420;
    static constexpr int kDesignWidth = 312;
    static constexpr int kDesignHeight = 182;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenus();
    void forward(void (forms::ZAVO_launcher::*handler)());

    forms::ZAVO_launcher& form_;
    QWidget* designArea_ = nullptr;
    QLabel* time_display_ = nullptr;
    QTimer Timer1_;
    bool disposed_ = false;
};

} // namespace zavo::ui
