#include "zavo_launcher.h"

#include "core/module1.h"
#include "core/twips.h"
#include "platform/window_handle.h"
#include "text.h"
#include "zavo_launcher_layout.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

namespace zavo::ui {

using core::kTwipsPerPixel;

ZAVO_launcher::ZAVO_launcher(Forms& forms, core::Module1& module1)
    : Form(forms), module1_(module1) {
    setObjectName(QStringLiteral("ZAVO_launcher"));
    setWindowTitle(QStringLiteral("ZAVO_launcher"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // Shown by the topmost placement without taking the focus from anyone.
    setAttribute(Qt::WA_ShowWithoutActivating);

    designArea_ = new QWidget(this);
    designArea_->setObjectName(QStringLiteral("designArea"));
    designArea_->setFixedSize(kDesignWidth, kDesignHeight);
    setCentralWidget(designArea_);
    buildControls(designArea_, kLauncherControls);
    time_display_ = control<QLabel>(designArea_, "time_display");
    for (int i = 0; i < 9; ++i)
        connect(Command1(i), &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    connect(control<QPushButton>(designArea_, "Command2"), &QPushButton::clicked, this,
            &ZAVO_launcher::Command2_Click);
    buildMenus();

    // The menu bar sits inside the window here, so the window reaches above
    // the design area by the menu bar's height.
    const int menuHeight = menuBar()->sizeHint().height();
    setFixedSize(kDesignWidth, kDesignHeight + menuHeight);
    setGeometry(kDesignLeft, kDesignTop - menuHeight, kDesignWidth, kDesignHeight + menuHeight);

    Timer1_.setObjectName(QStringLiteral("Timer1"));
    Timer1_.setInterval(250);
    connect(&Timer1_, &QTimer::timeout, this, &ZAVO_launcher::Timer1_Timer);
    Timer1_.start(); // runs from load, also while hidden or minimised
}

QPushButton* ZAVO_launcher::Command1(int index) const {
    return control<QPushButton>(designArea_, ("Command1_" + std::to_string(index)).c_str());
}

void ZAVO_launcher::buildMenus() {
    auto action = [this](QMenu* menu, const char* name, const char* caption) {
        QAction* a = menu ? menu->addAction(QString::fromUtf8(caption))
                          : menuBar()->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromUtf8(name));
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("file"));
    QAction* smallization = action(file, "smallization", "最小化(&Z)");
    smallization->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(smallization, &QAction::triggered, this, &ZAVO_launcher::smallization_Click);
    connect(action(file, "exit", "アプリ終了(&E)"), &QAction::triggered, this,
            &ZAVO_launcher::exit_Click);
    connect(action(nullptr, "opt", "オプション(&O)..."), &QAction::triggered, this,
            &ZAVO_launcher::opt_Click);
    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("help"));
    connect(action(help, "about", "バージョン情報(&I)"), &QAction::triggered, this,
            &ZAVO_launcher::about_Click);
}

void ZAVO_launcher::Form_Load() {
    platform::Services& services = module1_.services;

    // 1. A second instance ends at once, silently.
    if (services.anotherInstanceRunning()) {
        forms_.endProgram();
        return;
    }

    // 2. Into the topmost band where the window stands, without activating it.
    const QRect g = geometry();
    const auto px = [](int pixels) { return core::twips_to_pixels(pixels * kTwipsPerPixel); };
    services.setWindowPos(platform::windowHandle(*this), platform::kHwndTopmost, px(g.x()),
                          px(g.y()), px(g.width()), px(g.height()),
                          platform::kSwpShowWindow | platform::kSwpNoActivate);

    // 3. Show.
    show();

    // 4.-6. The registered programs' names on the slot buttons. A file that
    // cannot be opened or read leaves the design captions of unread slots.
    core::SlotFile& settei = module1_.settei;
    if (!settei.open())
        return;
    for (int n = 1; n <= core::kSlotCount; ++n) {
        if (!settei.read_record(n, module1_.slot))
            break;
        if (core::slot_registered(module1_.slot))
            Command1(5 + n)->setText(qstr(core::slot_caption(module1_.slot)));
    }
    settei.close();
}

void ZAVO_launcher::Form_Unload() {
    Timer1_.stop();
    module1_.settei.close();
}

void ZAVO_launcher::Form_KeyDown(int, int) {}

void ZAVO_launcher::opt_Click() {
    forms_.unload(FormId::Launcher);
    forms_.show(FormId::Option);
}

void ZAVO_launcher::smallization_Click() {
    setWindowState(windowState() | Qt::WindowMinimized);
}

void ZAVO_launcher::exit_Click() {
    forms_.unload(FormId::Launcher);
}

void ZAVO_launcher::about_Click() {
    forms_.hide(FormId::Launcher);
    forms_.show(FormId::About);
}

void ZAVO_launcher::closeEvent(QCloseEvent* event) {
    forms_.unload(FormId::Launcher);
    event->accept();
}

void ZAVO_launcher::keyPressEvent(QKeyEvent* event) {
    Form_KeyDown(event->key(), static_cast<int>(event->modifiers()));
    QMainWindow::keyPressEvent(event);
}

} // namespace zavo::ui
