#include "launcher_window.h"

#include "core/twips.h"
#include "forms/zavo_launcher_sheet.h"
#include "platform/linux/window_handle_posix.h"
#include "screen_place.h"
#include "vb_input.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>

#include <array>

namespace zavo::ui {

using core::kTwipsPerPixel;
using forms::LauncherControl;
using forms::LauncherMenu;

namespace {
QWidget* makeDesignArea(QMainWindow* window) {
    auto* area = new QWidget(window);
    area->setObjectName(QStringLiteral("designArea"));
    area->setFixedSize(clientRect(forms::kLauncherWindow).size());
    window->setCentralWidget(area);
    return area;
}
} // namespace

LauncherWindow::LauncherWindow(forms::ZAVO_launcher& form)
    : FormWindow(form, forms::kLauncherWindow), designArea_(makeDesignArea(this)),
      controls_(designArea_, forms::kLauncherControls) {
    // Shown by the topmost placement without taking the focus from anyone.
    setAttribute(Qt::WA_ShowWithoutActivating);
    firstFocus_ = controls_.get(forms::kLauncherFirstFocus);

    for (const auto& button : forms::kLauncherButtons)
        connect(controls_.get<QPushButton>(button.button), &QPushButton::clicked, this,
                [this, button] { forward(button); });
    buildMenus();

    // The menu bar sits inside the window here, so the window reaches above
    // the design area by the menu bar's height.
    const int menuHeight = menuBar()->sizeHint().height();
    const QRect design = clientRect(forms::kLauncherWindow);
    setFixedSize(design.width(), design.height() + menuHeight);
    setGeometry(design.adjusted(0, -menuHeight, 0, 0));

    Timer1_.setObjectName(QStringLiteral("Timer1"));
    Timer1_.setInterval(forms::kTimer1Interval);
    connect(&Timer1_, &QTimer::timeout, this,
            [this] { forward(&forms::ZAVO_launcher::Timer1_Timer); });
    Timer1_.start(); // runs from load, also while hidden or minimised
}

QPushButton* LauncherWindow::Command1(int index) const {
    return controls_.get<QPushButton>(forms::kCommand1.at(static_cast<std::size_t>(index)));
}

QLabel* LauncherWindow::time_display() const {
    return controls_.get<QLabel>(LauncherControl::time_display);
}

void LauncherWindow::buildMenus() {
    std::array<QMenu*, forms::kLauncherMenu.size()> dropDowns{};
    for (std::size_t i = 0; i < forms::kLauncherMenu.size(); ++i) {
        const forms::MenuSpec& item = forms::kLauncherMenu[i];
        const auto handler = forms::ZAVO_launcher::menuHandler(LauncherMenu(i));
        const QString caption = QString::fromUtf8(item.caption);
        const QString name = QString::fromUtf8(item.name);
        if (item.parent == forms::kMenuBar && !handler) {
            dropDowns[i] = menuBar()->addMenu(caption);
            dropDowns[i]->setObjectName(name);
            continue;
        }
        QAction* action =
            item.parent == forms::kMenuBar
                ? menuBar()->addAction(caption)
                : dropDowns.at(static_cast<std::size_t>(item.parent))->addAction(caption);
        action->setObjectName(name);
        if (item.shortcut)
            action->setShortcut(QKeySequence(QString::fromUtf8(item.shortcut)));
        connect(action, &QAction::triggered, this, [this, handler] { forward(handler); });
    }
    // F10 opens the first menu, as it enters the menu bar on Windows.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this,
            [this] { menuBar()->setActiveAction(menuBar()->actions().value(0)); });
}

void LauncherWindow::dispose() {
    Timer1_.stop();
    FormWindow::dispose();
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

core::PixelRect LauncherWindow::workArea(const core::PixelRect& window) {
    return clientWorkArea(QRect(window.left, window.top, window.width, window.height),
                          frameMarginsOf(*this));
}

void LauncherWindow::setCommand1Caption(int index, const std::string& caption) {
    Command1(index)->setText(QString::fromStdString(caption));
}

void LauncherWindow::setTimeDisplay(const std::string& text) {
    time_display()->setText(QString::fromStdString(text));
}

void LauncherWindow::minimize() {
    setWindowState(windowState() | Qt::WindowMinimized);
}

void LauncherWindow::takeFocus() {
    // The control that had the focus gets it back with the window.
    activateWindow();
}

void LauncherWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const int shift = vbShift(event->modifiers());
    forward([this, key, shift] { form_.Form_KeyDown(key, shift); });
    QMainWindow::keyPressEvent(event);
}

} // namespace zavo::ui
