#include "option_dialog.h"

#include "control_builder.h"
#include "forms/frm_option_sheet.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QWindow>

namespace zavo::ui {

OptionDialog::OptionDialog(forms::frmOption& form) : QDialog(nullptr), form_(form) {
    setObjectName(QString::fromUtf8(forms::kOptionWindow.name));
    setWindowTitle(QString::fromUtf8(forms::kOptionWindow.caption));
    // Without an owner it is a top-level window of its own, shown in the
    // taskbar; title bar hints: a close box, no minimize or maximize button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    buildControls(this, forms::kOptionControls);
    // Created before the frames, these lie over them.
    for (const char* name : {"Option3", "Option2", "Option1", "reset"})
        control<QWidget>(this, name)->raise();
    control<QRadioButton>(this, "Option1")->setChecked(true);
    // The first control of the tab order holds the focus when the dialog opens.
    control<QPushButton>(this, "reset")->setFocus();
    // No default button: Enter presses nothing by itself.
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    Drv_name_ = control<QComboBox>(this, "Drv_name");
    dir_name_ = control<QListWidget>(this, "dir_name");
    File_name_ = control<QListWidget>(this, "File_name");
    dir_name_->setSelectionMode(QAbstractItemView::SingleSelection);
    File_name_->setSelectionMode(QAbstractItemView::SingleSelection);

    connect(Drv_name_, &QComboBox::currentIndexChanged, this,
            [this](int index) { forward([this, index] { form_.Drv_name_Change(index); }); });
    connect(dir_name_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int row = dir_name_->row(item);
        forward([this, row] { form_.dir_name_Open(row); });
    });
    connect(control<QPushButton>(this, "touroku"), &QPushButton::clicked, this,
            [this] { forward([this] { form_.touroku_Click(); }); });
    connect(control<QPushButton>(this, "reset"), &QPushButton::clicked, this,
            [this] { forward([this] { form_.reset_Click(); }); });
    connect(control<QPushButton>(this, "Cancel_but"), &QPushButton::clicked, this,
            [this] { forward([this] { form_.Cancel_but_Click(); }); });

    // Opened without an owner, so centred on the screen: first as well as
    // the frame can be known before mapping, then once more when the window
    // manager has framed it.
    centreOnScreen(lastFrameMargins());
}

void OptionDialog::forward(const std::function<void()>& handler) {
    if (!disposed_)
        form_.handle(handler);
}

void OptionDialog::show() {
    QDialog::show();
    raise();
    activateWindow();
}

void OptionDialog::hide() {
    QDialog::hide();
}

void OptionDialog::dispose() {
    disposed_ = true;
    QDialog::hide();
    deleteLater(); // an event of this window may still be on the stack
}

void OptionDialog::setLabel(int slot, const std::string& caption) {
    control<QLabel>(this, ("Label" + std::to_string(slot)).c_str())
        ->setText(QString::fromStdString(caption));
}

bool OptionDialog::optionValue(int slot) {
    return control<QRadioButton>(this, ("Option" + std::to_string(slot)).c_str())->isChecked();
}

void OptionDialog::setDrives(const std::vector<std::string>& names) {
    const QSignalBlocker quiet(Drv_name_);
    Drv_name_->clear();
    for (const std::string& name : names)
        Drv_name_->addItem(QString::fromStdString(name));
    Drv_name_->setCurrentIndex(-1);
}

void OptionDialog::selectDrive(int index) {
    const QSignalBlocker quiet(Drv_name_);
    Drv_name_->setCurrentIndex(index);
}

void OptionDialog::setFolders(const std::vector<std::string>& names, int openRows) {
    dir_name_->clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    int row = 0;
    for (const std::string& name : names)
        new QListWidgetItem(row++ < openRows ? open : closed, QString::fromStdString(name),
                            dir_name_);
    dir_name_->setCurrentRow(openRows - 1);
}

void OptionDialog::setFiles(const std::vector<std::string>& names) {
    File_name_->clear();
    for (const std::string& name : names)
        File_name_->addItem(QString::fromStdString(name));
    File_name_->clearSelection();
}

int OptionDialog::selectedFile() {
    const QList<QListWidgetItem*> selected = File_name_->selectedItems();
    return selected.isEmpty() ? -1 : File_name_->row(selected.front());
}

QMargins OptionDialog::lastFrameMargins() {
    for (const QWindow* w : QGuiApplication::topLevelWindows())
        if (w->isVisible() && !w->frameMargins().isNull())
            return w->frameMargins();
    return {};
}

void OptionDialog::centreOnScreen(const QMargins& frame) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect outer(QPoint(), QSize(kClientWidth, kClientHeight).grownBy(frame));
    outer.moveCenter(screen->geometry().center());
    setGeometry(QRect(outer.topLeft() + QPoint(frame.left(), frame.top()),
                      QSize(kClientWidth, kClientHeight)));
    centredFor_ = frame;
}

void OptionDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!framed_ && windowHandle())
        windowHandle()->installEventFilter(this);
}

bool OptionDialog::eventFilter(QObject* watched, QEvent* event) {
    // The frame is known once the window manager has put it around us, by
    // the time the window is first exposed.
    if (!framed_ && watched == windowHandle() && event->type() == QEvent::Expose &&
        windowHandle()->isExposed()) {
        framed_ = true;
        windowHandle()->removeEventFilter(this);
        if (windowHandle()->frameMargins() != centredFor_)
            centreOnScreen(windowHandle()->frameMargins());
    }
    return QDialog::eventFilter(watched, event);
}

void OptionDialog::closeEvent(QCloseEvent* event) {
    event->ignore(); // the form decides; unloading hides and frees the window
    forward([this] { form_.Form_QueryClose(); });
}

// Esc presses Cancel_but.
void OptionDialog::reject() {
    forward([this] { form_.Cancel_but_Click(); });
}

} // namespace zavo::ui
