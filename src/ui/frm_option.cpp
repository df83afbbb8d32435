#include "frm_option.h"

#include "control_table.h"
#include "core/cp932.h"
#include "core/module1.h"
#include "folder_lists.h"
#include "frm_option_layout.h"
#include "text.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
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
namespace {

constexpr const char* kTitle = "ZAVO_launcher";
constexpr const char* kReadError = "読み取りエラー";
constexpr const char* kRegisterError = "登録エラーです";
constexpr const char* kResetQuestion = "登録状況をリセットしますか？";
constexpr const char* kExePattern = "*.exe";
constexpr int kPathRole = Qt::UserRole;

// A name is stored only when its code page 932 form fits the field whole;
// a cut or altered name could never be started.
bool fitsField(const QString& text, std::size_t bytes) {
    const auto encoded = core::cp932::encode(u16(text));
    return encoded && encoded->size() <= bytes;
}

} // namespace

frmOption::frmOption(Forms& forms, core::Module1& module1)
    : QDialog(nullptr), Form(forms), module1_(module1) {
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(QStringLiteral("登録フォーム"));
    // Without an owner it is a top-level window of its own, shown in the
    // taskbar; title bar hints: a close box, no minimize or maximize button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    buildControls(this, kOptionControls);
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

    // The lists start on the current drive and folder. A folder that cannot
    // be listed leaves them empty; the user can still choose another drive.
    const QString current = QDir::currentPath();
    for (const QString& root : folder_lists::driveRoots())
        Drv_name_->addItem(QDir::toNativeSeparators(root), root);
    selectDrive(folder_lists::driveOf(current));
    if (moveFolderList(current)) {
        driveFolder_.insert(Drv_name_->currentData().toString(), dirPath_);
        pointFileList(current);
    } else
        dirPath_ = filePath_ = current;

    connect(Drv_name_, &QComboBox::currentIndexChanged, this, &frmOption::Drv_name_Change);
    connect(dir_name_, &QListWidget::itemActivated, this, &frmOption::openFolder);
    connect(control<QPushButton>(this, "touroku"), &QPushButton::clicked, this,
            &frmOption::touroku_Click);
    connect(control<QPushButton>(this, "reset"), &QPushButton::clicked, this,
            &frmOption::reset_Click);
    connect(control<QPushButton>(this, "Cancel_but"), &QPushButton::clicked, this,
            &frmOption::Cancel_but_Click);

    // Opened without an owner, so centred on the screen: first as well as
    // the frame can be known before mapping, then once more when the window
    // manager has framed it.
    centreOnScreen(lastFrameMargins());
}

QMargins frmOption::lastFrameMargins() {
    for (const QWindow* w : QGuiApplication::topLevelWindows())
        if (w->isVisible() && !w->frameMargins().isNull())
            return w->frameMargins();
    return {};
}

void frmOption::centreOnScreen(const QMargins& frame) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect outer(QPoint(), QSize(kClientWidth, kClientHeight).grownBy(frame));
    outer.moveCenter(screen->geometry().center());
    setGeometry(QRect(outer.topLeft() + QPoint(frame.left(), frame.top()),
                      QSize(kClientWidth, kClientHeight)));
    centredFor_ = frame;
}

void frmOption::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!framed_ && windowHandle())
        windowHandle()->installEventFilter(this);
}

bool frmOption::eventFilter(QObject* watched, QEvent* event) {
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

QLabel* frmOption::Label(int slot) const {
    return control<QLabel>(this, ("Label" + std::to_string(slot)).c_str());
}

void frmOption::failed(const char* message) {
    module1_.services.messageBox(message, platform::vbCritical, kTitle);
}

bool frmOption::readSlotLabels() {
    core::SlotFile& settei = module1_.settei;
    if (!settei.open())
        return false;
    for (int n = 1; n <= core::kSlotCount; ++n) {
        if (!settei.read_record(n, module1_.slot)) {
            settei.close();
            return false;
        }
        if (core::slot_registered(module1_.slot))
            Label(n)->setText(qstr(core::slot_caption(module1_.slot)));
    }
    settei.close();
    return true;
}

void frmOption::Form_Load() {
    if (!readSlotLabels())
        failed(kRegisterError);
}

void frmOption::selectDrive(const QString& root) {
    const int index = Drv_name_->findData(root);
    if (index < 0 || index == Drv_name_->currentIndex())
        return;
    const QSignalBlocker quiet(Drv_name_);
    Drv_name_->setCurrentIndex(index);
}

bool frmOption::moveFolderList(const QString& folder) {
    const auto names = folder_lists::subfolders(folder);
    if (!names)
        return false;
    const QStringList chain = folder_lists::chain(folder);
    dirPath_ = chain.back();

    dir_name_->clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (const QString& path : chain) {
        auto* item = new QListWidgetItem(open, folder_lists::displayName(path), dir_name_);
        item->setData(kPathRole, path);
    }
    const QDir here(dirPath_);
    for (const QString& name : *names) {
        auto* item = new QListWidgetItem(closed, name, dir_name_);
        item->setData(kPathRole, here.filePath(name));
    }
    dir_name_->setCurrentRow(int(chain.size()) - 1);
    return true;
}

bool frmOption::pointFileList(const QString& folder) {
    const auto names = folder_lists::files(folder, QString::fromLatin1(kExePattern));
    if (!names)
        return false;
    filePath_ = folder;
    File_name_->clear();
    File_name_->addItems(*names);
    File_name_->clearSelection();
    return true;
}

void frmOption::openFolder(QListWidgetItem* item) {
    const QString folder = item->data(kPathRole).toString();
    if (folder == dirPath_)
        return;
    if (!moveFolderList(folder)) {
        failed(kReadError);
        return;
    }
    // Volumes nest on Linux: the drive list follows the folder onto the
    // volume that holds it.
    selectDrive(folder_lists::driveOf(dirPath_));
    driveFolder_.insert(Drv_name_->currentData().toString(), dirPath_);
    dir_name_Change();
}

void frmOption::Drv_name_Change() {
    const QString root = Drv_name_->currentData().toString();
    const QString last = driveFolder_.value(root, root);
    // The folder last shown on the drive may have gone; the root is next.
    if (!moveFolderList(last) && (last == root || !moveFolderList(root))) {
        failed(kReadError);
        return;
    }
    driveFolder_.insert(root, dirPath_);
    dir_name_Change();
}

void frmOption::dir_name_Change() {
    if (!pointFileList(dirPath_))
        failed(kReadError);
}

void frmOption::touroku_Click() {
    QString folder = QDir::toNativeSeparators(filePath_);
    if (!folder.endsWith(QLatin1Char(folder_lists::kPathSeparator)))
        folder += QLatin1Char(folder_lists::kPathSeparator);
    const QList<QListWidgetItem*> selected = File_name_->selectedItems();
    // Nothing is stored that could not be started again: no file chosen, or
    // a name that its field would cut or alter.
    if (selected.isEmpty() || !fitsField(folder, core::kDirPathWidth) ||
        !fitsField(selected.front()->text(), core::kExeNameWidth)) {
        failed(kRegisterError);
        return;
    }
    module1_.slot.assign_dir_path(u16(folder));
    module1_.slot.assign_exe_name(u16(selected.front()->text()));

    int slot = 0;
    if (control<QRadioButton>(this, "Option1")->isChecked())
        slot = 1;
    if (control<QRadioButton>(this, "Option2")->isChecked())
        slot = 2;
    if (control<QRadioButton>(this, "Option3")->isChecked())
        slot = 3;

    core::SlotFile& settei = module1_.settei;
    const bool written = settei.open() && settei.write_record(slot, module1_.slot);
    settei.close();
    if (!written || !readSlotLabels()) {
        failed(kRegisterError);
        return;
    }
    module1_.services.beep();
}

void frmOption::reset_Click() {
    if (module1_.services.messageBox(kResetQuestion, platform::vbYesNo, kTitle) != platform::vbYes)
        return;
    module1_.slot.assign_dir_path(std::u16string(core::kDirPathWidth, u' '));
    module1_.slot.assign_exe_name(std::u16string(core::kExeNameWidth, u' '));
    core::SlotFile& settei = module1_.settei;
    bool written = settei.open();
    for (int n = 1; written && n <= core::kSlotCount; ++n)
        written = settei.write_record(n, module1_.slot);
    settei.close();
    if (!written) {
        failed(kRegisterError);
        return;
    }
    for (int n = 1; n <= core::kSlotCount; ++n)
        Label(n)->setText(QStringLiteral("未登録"));
    module1_.services.beep();
}

void frmOption::Form_Unload() {
    forms_.show(FormId::Launcher);
}

void frmOption::Cancel_but_Click() {
    forms_.show(FormId::Launcher);
    forms_.unload(FormId::Option);
}

void frmOption::closeEvent(QCloseEvent* event) {
    forms_.unload(FormId::Option);
    event->accept();
}

// Esc presses Cancel_but.
void frmOption::reject() {
    Cancel_but_Click();
}

} // namespace zavo::ui
