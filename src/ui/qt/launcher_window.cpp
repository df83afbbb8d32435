#include "launcher_window.h"

#include "control_builder.h"
#include "core/twips.h"
#include "forms/zavo_launcher_sheet.h"
#include "platform/window_handle.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

namespace zavo::ui {

using core::kTwipsPerPixel;

LauncherWindow::LauncherWindow(forms::ZAVO_launcher& form) : form_(form) {
    setObjectName(QString::fromUtf8(forms::kLauncherWindow.name));
    setWindowTitle(QString::fromUtf8(forms::kLauncherWindow.caption));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // Shown by the topmost placement without taking the focus from anyone.
    setAttribute(Qt::WA_ShowWithoutActivating);

    designArea_ = new QWidget(this);
    designArea_->setObjectName(QStringLiteral("designArea"));
    designArea_->setFixedSize(kDesignWidth, kDesignHeight);
    setCentralWidget(designArea_);
    buildControls(designArea_, forms::kLauncherControls);
    time_display_ = control<QLabel>(designArea_, "time_display");
    for (int i = 0; i < 9; ++i)
        connect(Command1(i), &QPushButton::clicked, this, [this, i] {
            if (!disposed_)
                form_.handle([this, i] { form_.Command1_Click(i); });
        });
    connect(control<QPushButton>(designArea_, "Command2"), &QPushButton::clicked, this,
            [this] { forward(&forms::ZAVO_launcher::Command2_Click); });
    buildMenus();

    // The menu bar sits inside the window here, so the window reaches above
    // the design area by the menu bar's height.
    const int menuHeight = menuBar()->sizeHint().height();
    setFixedSize(kDesignWidth, kDesignHeight + menuHeight);
    setGeometry(kDesignLeft, kDesignTop - menuHeight, kDesignWidth, kDesignHeight + menuHeight);

    Timer1_.setObjectName(QStringLiteral("Timer1"));
    Timer1_.setInterval(forms::kTimer1Interval);
    connect(&Timer1_, &QTimer::timeout, this,
            [this] { forward(&forms::ZAVO_launcher::Timer1_Timer); });
    Timer1_.start(); // runs from load, also while hidden or minimised
}

void LauncherWindow::forward(void (forms::ZAVO_launcher::*handler)()) {
    if (disposed_)
        return;
    forms::ZAVO_launcher* form = &form_;
    form_.handle([form, handler] { (form->*handler)(); });
}

QPushButton* LauncherWindow::Command1(int index) const {
    return control<QPushButton>(designArea_, ("Command1_" + std::to_string(index)).c_str());
}

void LauncherWindow::buildMenus() {
    using Handler = void (forms::ZAVO_launcher::*)();
    const auto handlerOf = &forms::ZAVO_launcher::menuHandler;
    for (const forms::MenuSpec& item : forms::kLauncherMenu) {
        const QString caption = QString::fromUtf8(item.caption);
        const QString name = QString::fromUtf8(item.name);
        if (!item.parent && !handlerOf(item.name)) {
            menuBar()->addMenu(caption)->setObjectName(name);
            continue;
        }
        QAction* action =
            item.parent
                ? menuBar()->findChild<QMenu*>(QString::fromUtf8(item.parent))->addAction(caption)
                : menuBar()->addAction(caption);
        action->setObjectName(name);
        if (item.shortcut)
            action->setShortcut(QKeySequence(QString::fromUtf8(item.shortcut)));
        const Handler handler = handlerOf(item.name);
        connect(action, &QAction::triggered, this, [this, handler] { forward(handler); });
    }
}

void LauncherWindow::show() {
    QMainWindow::show();
    raise();
    activateWindow();
}

void LauncherWindow::hide() {
    QMainWindow::hide();
}

void LauncherWindow::dispose() {
    disposed_ = true;
    Timer1_.stop();
    QMainWindow::hide();
    // An event of this window may still be on the stack.
    deleteLater();
}

platform::WindowHandle LauncherWindow::handle() {
    return platform::windowHandle(*this);
}

forms::TwipsRect LauncherWindow::placement() {
    // On X11 Qt places the window by its client rectangle, which holds the
    // menu bar; the frame belongs to the window manager.
    const QRect g = geometry();
    return {g.x() * kTwipsPerPixel, g.y() * kTwipsPerPixel, g.width() * kTwipsPerPixel,
            g.height() * kTwipsPerPixel};
}

void LauncherWindow::setCommand1Caption(int index, const std::string& caption) {
    Command1(index)->setText(QString::fromStdString(caption));
}

void LauncherWindow::setTimeDisplay(const std::string& text) {
    time_display_->setText(QString::fromStdString(text));
}

void LauncherWindow::minimize() {
    setWindowState(windowState() | Qt::WindowMinimized);
}

void LauncherWindow::takeFocus() {
    activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void LauncherWindow::closeEvent(QCloseEvent* event) {
    event->ignore(); // the form decides; unloading hides and frees the window
    forward(&forms::ZAVO_launcher::Form_QueryClose);
}

void LauncherWindow::keyPressEvent(QKeyEvent* event) {
    if (!disposed_)
        form_.handle([this, event] {
            form_.Form_KeyDown(event->key(), static_cast<int>(event->modifiers()));
        });
    QMainWindow::keyPressEvent(event);
}

} // namespace zavo::ui
