#include "frm_option.h"

#include "core/cp932.h"
#include "core/module1.h"
#include "core/utf.h"
#include "platform/folder_lists.h"

#include <algorithm>

namespace zavo::forms {
namespace lists = platform::folder_lists;
namespace {

constexpr const char* kTitle = "ZAVO_launcher";
constexpr const char* kReadError = "読み取りエラー";
constexpr const char* kRegisterError = "登録エラーです";
constexpr const char* kResetQuestion = "登録状況をリセットしますか？";
constexpr const char* kUnregistered = "未登録";
constexpr const char* kExeExtension = ".exe";

// A name is stored only when its code page 932 form fits the field whole;
// a cut or altered name could never be started.
bool fitsField(const std::string& text, std::size_t bytes) {
    const auto encoded = core::cp932::encode(core::to_utf16(text));
    return encoded && encoded->size() <= bytes;
}

} // namespace

frmOption::frmOption(Forms& forms, ViewFactory& views)
    : FormWithView(forms, FormId::Option, views, *this) {
    // The lists start on the current drive and folder. A folder that cannot
    // be listed leaves them empty; the user can still choose another drive.
    const std::string current = lists::currentFolder();
    drives_ = lists::driveRoots();
    std::vector<std::string> shown;
    for (const std::string& root : drives_)
        shown.push_back(lists::displayName(root));
    view_.setDrives(shown);
    showDriveOf(current);
    if (moveFolderList(current)) {
        if (drive_ >= 0)
            driveFolder_[drives_[std::size_t(drive_)]] = dirPath_;
        pointFileList(current);
    } else {
        dirPath_ = filePath_ = current;
    }
}

void frmOption::failed(const char* message) {
    forms_.module1().services.messageBox(message, platform::vbCritical, kTitle);
}

bool frmOption::readSlotLabels() {
    core::Module1& m = forms_.module1();
    if (!m.settei.open())
        return false;
    for (int n = 1; n <= core::kSlotCount; ++n) {
        if (!m.settei.read_record(n, m.slot)) {
            m.settei.close();
            return false;
        }
        if (core::slot_registered(m.slot))
            view_.setLabel(n, core::to_utf8(core::slot_caption(m.slot)));
    }
    m.settei.close();
    return true;
}

void frmOption::Form_Load() {
    // The file could not be read: say so, and let the user still register
    // or reset (which may well mend it).
    if (!readSlotLabels())
        failed(kRegisterError);
}

void frmOption::showDriveOf(const std::string& folder) {
    const auto it = std::find(drives_.begin(), drives_.end(), lists::driveOf(folder));
    if (it == drives_.end())
        return;
    const int index = int(it - drives_.begin());
    if (index != drive_) {
        drive_ = index;
        view_.selectDrive(index);
    }
}

bool frmOption::moveFolderList(const std::string& folder) {
    const auto names = lists::subfolders(folder);
    if (!names)
        return false;
    std::vector<std::string> rows = lists::chain(folder);
    dirPath_ = rows.back();
    const int openRows = int(rows.size());
    std::vector<std::string> shown;
    for (const std::string& path : rows)
        shown.push_back(lists::displayName(path));
    for (const std::string& name : *names) {
        shown.push_back(name);
        rows.push_back(lists::join(dirPath_, name));
    }
    folderRows_ = std::move(rows);
    view_.setFolders(shown, openRows);
    view_.setListName(OptionControl::dir_name, std::string(kFolderListName) + ' ' + dirPath_);
    return true;
}

bool frmOption::pointFileList(const std::string& folder) {
    auto names = lists::files(folder, kExeExtension);
    if (!names)
        return false;
    filePath_ = folder;
    files_ = std::move(*names);
    view_.setFiles(files_);
    view_.setListName(OptionControl::File_name, files_.empty() ? kNoFilesName : kFileListName);
    return true;
}

void frmOption::dir_name_Open(int row) {
    if (row < 0 || std::size_t(row) >= folderRows_.size())
        return;
    const std::string folder = folderRows_[std::size_t(row)];
    if (folder == dirPath_)
        return;
    if (!moveFolderList(folder)) {
        failed(kReadError);
        return;
    }
    // Volumes nest on Linux: the drive list follows the folder onto the
    // volume that holds it.
    showDriveOf(dirPath_);
    if (drive_ >= 0)
        driveFolder_[drives_[std::size_t(drive_)]] = dirPath_;
    dir_name_Change();
}

void frmOption::Drv_name_Change(int index) {
    if (index < 0 || std::size_t(index) >= drives_.size())
        return;
    // The list shows the drive just chosen, whatever follows.
    drive_ = index;
    const std::string& root = drives_[std::size_t(index)];
    const auto known = driveFolder_.find(root);
    const std::string last = known != driveFolder_.end() ? known->second : root;
    // The folder last shown on the drive may have gone; the root is next.
    if (!moveFolderList(last) && (last == root || !moveFolderList(root))) {
        failed(kReadError);
        return;
    }
    driveFolder_[root] = dirPath_;
    dir_name_Change();
}

void frmOption::dir_name_Change() {
    if (!pointFileList(dirPath_))
        failed(kReadError);
}

void frmOption::touroku_Click() {
    std::string folder = filePath_;
    if (folder.empty() || folder.back() != lists::kPathSeparator)
        folder += lists::kPathSeparator;
    const int selected = view_.selectedFile();
    // Nothing is stored that could not be started again: no file chosen, or
    // a name that its field would cut or alter.
    if (selected < 0 || std::size_t(selected) >= files_.size() ||
        !fitsField(folder, core::kDirPathWidth) ||
        !fitsField(files_[std::size_t(selected)], core::kExeNameWidth)) {
        failed(kRegisterError);
        return;
    }
    core::Module1& m = forms_.module1();
    m.slot.assign_dir_path(core::to_utf16(folder));
    m.slot.assign_exe_name(core::to_utf16(files_[std::size_t(selected)]));

    int slot = 0;
    if (view_.optionValue(1))
        slot = 1;
    if (view_.optionValue(2))
        slot = 2;
    if (view_.optionValue(3))
        slot = 3;

    const bool written = m.settei.open() && m.settei.write_record(slot, m.slot);
    m.settei.close();
    if (!written || !readSlotLabels()) {
        failed(kRegisterError);
        return;
    }
    m.services.beep();
}

void frmOption::reset_Click() {
    core::Module1& m = forms_.module1();
    if (m.services.messageBox(kResetQuestion, platform::vbYesNo, kTitle) != platform::vbYes)
        return;
    m.slot.assign_dir_path(std::u16string(core::kDirPathWidth, u' '));
    m.slot.assign_exe_name(std::u16string(core::kExeNameWidth, u' '));
    bool written = m.settei.open();
    for (int n = 1; written && n <= core::kSlotCount; ++n)
        written = m.settei.write_record(n, m.slot);
    m.settei.close();
    if (!written) {
        failed(kRegisterError);
        return;
    }
    for (int n = 1; n <= core::kSlotCount; ++n)
        view_.setLabel(n, kUnregistered);
    m.services.beep();
}

void frmOption::Form_Unload() {
    forms_.show(FormId::Launcher);
}

void frmOption::Cancel_but_Click() {
    forms_.show(FormId::Launcher);
    forms_.unload(FormId::Option);
}

void frmOption::Form_QueryClose() {
    forms_.unload(FormId::Option);
}

} // namespace zavo::forms
