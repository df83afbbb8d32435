// The main window on Qt: draws the design sheet and forwards its events to
// the form, which holds all behaviour.
#pragma once

#include "control_builder.h"
#include "form_window.h"
#include "forms/launcher_view.h"
#include "forms/zavo_launcher.h"

#include <QMainWindow>
#include <QTimer>

class QLabel;
class QPushButton;

namespace zavo::ui {

class LauncherWindow final
    : public FormWindow<QMainWindow, forms::LauncherView, forms::ZAVO_launcher> {
    Q_OBJECT
public:
    explicit LauncherWindow(forms::ZAVO_launcher& form);

    // forms::LauncherView
    void dispose() override;
    platform::WindowHandle handle() override;
    forms::TwipsRect placement() override;
    core::PixelRect workArea(const core::PixelRect& window) override;
    void setCommand1Caption(int index, const std::string& caption) override;
    void setTimeDisplay(const std::string& text) override;
    void minimize() override;
    void takeFocus() override;

    QPushButton* Command1(int index) const;
    QLabel* time_display() const;
    QWidget* designArea() const { return designArea_; }
    const SheetWidgets<forms::LauncherControl>& controls() const { return controls_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenus();

    // The design area below the menu bar, the sheet's client area.
    QWidget* designArea_;
    SheetWidgets<forms::LauncherControl> controls_;
    QTimer Timer1_;
};

} // namespace zavo::ui
