// The main window: nine launch buttons, the shutdown button, the clock line
// and the menu bar. It is the start-up window of the program.
#pragma once

#include "form.h"

#include <QMainWindow>
#include <QTimer>

class QAction;
class QLabel;
class QPushButton;

namespace zavo::core {
class Module1;
}

namespace zavo::ui {

class ZAVO_launcher : public QMainWindow, public Form {
    Q_OBJECT
public:
    ZAVO_launcher(Forms& forms, core::Module1& module1);

    QWidget& window() override { return *this; }
    void Form_Load() override;
    void Form_Unload() override;

    // Handlers, named after their control and event.
    void Form_KeyDown(int keyCode, int shift);
    void Command1_Click(int index);
    void Command2_Click();
    void Timer1_Timer();
    void opt_Click();
    void smallization_Click();
    void exit_Click();
    void about_Click();

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
    void launchFailed();

    core::Module1& module1_;
    QWidget* designArea_ = nullptr;
    QLabel* time_display_ = nullptr;
    QTimer Timer1_;
};

} // namespace zavo::ui
